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
    // The first transition is the opening slide's, inside the first second.
    for (const t of state.transitions.slice(1)) {
        if (byEffect.has(t.effect) || !t.intervals.length) continue;
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
