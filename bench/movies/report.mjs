// node report.mjs QT.json CHROMIUM.json: per effect, median and slowest time
// between transition frames and the median drawing time, for both engines,
// then the slowest five effects (by slowest frame in either engine).
import { readFileSync } from 'node:fs';

const median = (xs) => {
    if (!xs.length) return NaN;
    const s = [...xs].sort((a, b) => a - b);
    return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const stats = (file) => {
    const state = JSON.parse(readFileSync(file, 'utf8'));
    const byEffect = new Map();
    // The first transition is the opening slide's, inside the first second;
    // the closing slide's only ends the run.
    for (const t of state.transitions.slice(1)) {
        if (t.requested === 'closing' || byEffect.has(t.effect) || !t.intervals.length) continue;
        byEffect.set(t.effect, { median: median(t.intervals), max: Math.max(...t.intervals), draw: median(t.drawMs), frames: t.intervals.length });
    }
    return byEffect;
};
const [qt, chromium] = process.argv.slice(2).map(stats);
const f = (v) => (Number.isFinite(v) ? v.toFixed(1).padStart(6) : '     -');
console.log('effect               | Qt WebEngine: median  slowest  draw | Chromium: median  slowest  draw   (ms)');
const rows = [];
for (const id of new Set([...qt.keys(), ...chromium.keys()])) {
    const a = qt.get(id) || {}, b = chromium.get(id) || {};
    rows.push({ id, worst: Math.max(a.max || 0, b.max || 0), a, b });
    console.log(`${id.padEnd(20)} |        ${f(a.median)}  ${f(a.max)} ${f(a.draw)} |    ${f(b.median)}  ${f(b.max)} ${f(b.draw)}`);
}
const all = (m, k) => [...m.values()].map((s) => s[k]);
console.log(`all effects: Qt median of medians ${f(median(all(qt, 'median')))}, slowest ${f(Math.max(...all(qt, 'max')))};`
    + ` Chromium median of medians ${f(median(all(chromium, 'median')))}, slowest ${f(Math.max(...all(chromium, 'max')))}`);
console.log(`effects over 50 ms: ${rows.filter((r) => r.worst > 50).map((r) => r.id).join(', ') || 'none'};`
    + ` effects with a median over 16.7 ms + 10%: ${rows.filter((r) => Math.max(r.a.median || 0, r.b.median || 0) > 18.4).map((r) => r.id).join(', ') || 'none'}`);
console.log('slowest five (by slowest frame in either engine):');
rows.sort((x, y) => y.worst - x.worst).slice(0, 5).forEach((r) =>
    console.log(`  ${r.id.padEnd(18)} Qt median ${f(r.a.median)} slowest ${f(r.a.max)} draw ${f(r.a.draw)} | Chromium median ${f(r.b.median)} slowest ${f(r.b.max)} draw ${f(r.b.draw)}`));
// Where the long frames fall: the frame's place in its transition (0 = the
// first frame after the transition's start) and the time its drawing took,
// to tell work of the movie (long drawing, first frames) from a busy machine.
for (const [name, file] of [['Qt', process.argv[2]], ['Chromium', process.argv[3]]]) {
    const long = [];
    for (const t of JSON.parse(readFileSync(file, "utf8")).transitions.slice(1).filter((t) => t.requested !== "closing")) {
        t.intervals.forEach((dt, i) => { if (dt > 33.4) long.push(`${t.effect}#${i} ${dt} (draw ${t.drawMs[i]})`); });
    }
    console.log(`${name} frames over 33.4 ms: ${long.join(', ') || 'none'}`);
}
// The stays between the transitions (photos that pan and zoom), where the next
// photo is loaded: their slowest frames.
for (const [name, file] of [['Qt', process.argv[2]], ['Chromium', process.argv[3]]]) {
    const stays = JSON.parse(readFileSync(file, 'utf8')).transitions.slice(1, -1).map((t) => t.staySlowestMs || 0);
    const sorted = [...stays].sort((a, b) => a - b);
    console.log(`${name} stays: median of slowest frames ${f(median(stays))}, slowest ${f(sorted[sorted.length - 1])},`
        + ` stays with a frame over 50 ms: ${stays.filter((v) => v > 50).length} of ${stays.length}`);
}
// The trivial page next to the movie's transitions: long frames per 1000
// frames. Where the movie has hardly more than the trivial page, they come
// from the machine, not from the movie's drawing.
if (process.argv[4] && process.argv[5]) {
    const frames = (file, skipClosing) => JSON.parse(readFileSync(file, 'utf8')).transitions.slice(1)
        .filter((t) => t.requested !== 'closing' || !skipClosing).flatMap((t) => t.intervals);
    const line = (xs) => `median ${f(median(xs))}, slowest ${f(Math.max(...xs))}, over 33.4 ms ${f(xs.filter((v) => v > 33.4).length * 1000 / xs.length)}`
        + ` and over 50 ms ${f(xs.filter((v) => v > 50).length * 1000 / xs.length)} per 1000 frames (${xs.length} frames)`;
    for (const [name, movie, trivial] of [['Qt', process.argv[2], process.argv[4]], ['Chromium', process.argv[3], process.argv[5]]]) {
        console.log(`${name} trivial page: ${line(frames(trivial, true))}`);
        console.log(`${name} movie transitions: ${line(frames(movie, true))}`);
    }
}
