// node chromium-bench.mjs PAGE.html TRANSITIONS WIDTH HEIGHT
// Opens the page in headless Chromium in real time (no virtual time), driven
// over the DevTools protocol on a pipe, waits until the movie has begun
// TRANSITIONS + 1 transitions and prints the movie's state as JSON.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [page, transitions, width, height] = process.argv.slice(2);
const profile = mkdtempSync(join(tmpdir(), 'bench-chromium-'));
const browser = spawn(process.env.CHROMIUM || 'chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--autoplay-policy=no-user-gesture-required', '--hide-scrollbars',
    `--window-size=${width},${height}`, `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank',
], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });

const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];
let nextId = 1, buffer = '';
const waiting = new Map();
fromBrowser.on('data', (chunk) => {
    buffer += chunk.toString('utf8');
    let end;
    while ((end = buffer.indexOf('\0')) >= 0) {
        const message = JSON.parse(buffer.slice(0, end));
        buffer = buffer.slice(end + 1);
        if (message.id && waiting.has(message.id)) {
            waiting.get(message.id)(message);
            waiting.delete(message.id);
        }
    }
});
function send(method, params = {}, sessionId) {
    const id = nextId++;
    toBrowser.write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => waiting.set(id, (m) => (m.error ? reject(new Error(m.error.message)) : resolve(m.result))));
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

try {
    const { targetId } = await send('Target.createTarget', { url: pathToFileURL(page).href });
    const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
    let state = null;
    for (let waited = 0; waited < 600000; waited += 1000) {
        await sleep(1000);
        const { result } = await send('Runtime.evaluate', { expression: 'window.kelvanaState ? kelvanaState.transitions.length : 0', returnByValue: true }, sessionId);
        if (result.value > +transitions)
            break;
    }
    const { result } = await send('Runtime.evaluate', { expression: 'JSON.stringify(window.kelvanaState || null)', returnByValue: true }, sessionId);
    state = JSON.parse(result.value);
    console.log(JSON.stringify(state));
} finally {
    const exited = new Promise((resolve) => browser.once('exit', resolve));
    browser.kill();
    await exited;
    try {
        rmSync(profile, { recursive: true, force: true });
    } catch (e) { /* the browser's last writes; the folder is temporary */ }
}
