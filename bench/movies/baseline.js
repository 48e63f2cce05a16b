// The benchmark's trivial page: a stage-sized canvas of which each frame
// changes only a small square, so that its frame times show what the machine
// and the engine give any page (other work on the machine, the compositor),
// apart from the movie's own drawing. It fills kelvanaState.transitions like a
// movie: RECORDS records of 72 frame intervals each (a transition's worth).
(function () {
    'use strict';
    const RECORDS = 25, FRAMES = 72;
    const state = { ready: true, transitions: [{ effect: 'warm-up', intervals: [], drawMs: [] }] };
    window.kelvanaState = state;
    const canvas = document.createElement('canvas');
    canvas.width = 1280;
    canvas.height = 720;
    canvas.style.cssText = 'position:absolute;left:0;top:0';
    (document.getElementById('stage') || document.body).appendChild(canvas);
    const ctx = canvas.getContext('2d');
    ctx.fillStyle = '#203040';
    ctx.fillRect(0, 0, 1280, 720);
    let last = 0, record = null, records = 0;
    const step = function (now) {
        ctx.fillStyle = 'hsl(' + Math.round(now / 10) % 360 + ',60%,50%)';
        ctx.fillRect(600, 320, 80, 80);
        // The first second is left out, as the movie does.
        if (last && now > 1000) {
            if (!record || record.intervals.length >= FRAMES) {
                if (records === RECORDS) {
                    state.transitions.push({ effect: 'end', requested: 'closing', intervals: [], drawMs: [] });
                    return;
                }
                record = { effect: 'baseline', requested: 'baseline', intervals: [], drawMs: [] };
                state.transitions.push(record);
                ++records;
            }
            record.intervals.push(Math.round((now - last) * 10) / 10);
            record.drawMs.push(0);
        }
        last = now;
        requestAnimationFrame(step);
    };
    requestAnimationFrame(step);
})();
