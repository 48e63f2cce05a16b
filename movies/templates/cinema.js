// Cinema: wide screen, the photo filling the whole stage, a thin progress line
// and the slide number in the corner.
startMovie({
    name: 'cinema',
    width: 1280,
    height: 720,
    stageColour: '#000',
    photoBackground: '#000',
    transitionTime: 1.2,
    layout: function (w, h) {
        return { photo: { x: 0, y: 0, w: w, h: h }, thumbs: null };
    },
    drawOverlay: function (ctx, w, h, info) {
        if (info.mode !== 'album' || info.count < 1 || info.current < 0)
            return;
        ctx.fillStyle = 'rgba(255,255,255,0.25)';
        ctx.fillRect(40, h - 34, w - 80, 2);
        ctx.fillStyle = 'rgba(255,255,255,0.9)';
        ctx.fillRect(40, h - 34, (w - 80) * (info.current + 1) / info.count, 2);
        ctx.font = '600 14px sans-serif';
        ctx.textAlign = 'right';
        ctx.textBaseline = 'bottom';
        ctx.fillText(String(info.current + 1).padStart(2, '0') + ' / ' + String(info.count).padStart(2, '0'), w - 40, h - 42);
    },
});
