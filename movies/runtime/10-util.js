// Small helpers shared by the runtime. The runtime files are concatenated into
// one function scope per movie, so these names stay private to the movie.

const FRAME_RATE = 25; // frames of show time per second (frame counter unit)

function clamp(v, lo, hi) { return v < lo ? lo : v > hi ? hi : v; }
function lerp(a, b, t) { return a + (b - a) * t; }
function easeInOut(t) { t = clamp(t, 0, 1); return t < 0.5 ? 4 * t * t * t : 1 - Math.pow(-2 * t + 2, 3) / 2; }
function easeOut(t) { t = clamp(t, 0, 1); return 1 - Math.pow(1 - t, 3); }
function smooth(t) { t = clamp(t, 0, 1); return t * t * (3 - 2 * t); }

// Deterministic pseudo-random numbers (mulberry32), so that noise masks and
// random orders are the same in every run and in the effect pictures.
function seededRandom(seed) {
    let a = seed >>> 0;
    return function () {
        a = (a + 0x6D2B79F5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

// Turns a path from the configuration (or a preview request) into a URL.
// Addresses with a scheme stay as they are; "/..." is a local absolute path;
// anything else is relative to `base` (the movie's folder). Each path segment
// is percent-encoded, so names with "#", "?", "%", "&" or "<" keep working.
function pathToUrl(path, base) {
    if (typeof path !== 'string')
        return '';
    const p = path.trim().replace(/\\/g, '/');
    if (!p)
        return '';
    if (/^[a-z][a-z0-9+.-]+:/i.test(p)) // a scheme of two letters or more (not a drive letter)
        return p;
    const encoded = p.split('/').map(function (segment) {
        return segment === '.' || segment === '..' ? segment : encodeURIComponent(segment);
    }).join('/');
    if (/^[a-z]:\//i.test(p))
        return 'file:///' + p.charAt(0) + ':' + encoded.slice(encoded.indexOf('/'));
    if (p.charAt(0) === '/') {
        let origin = 'file://';
        try {
            const b = new URL(base);
            if (b.protocol !== 'file:')
                origin = b.protocol + '//' + b.host;
        } catch (e) { /* keep file:// */ }
        return origin + encoded;
    }
    try {
        return new URL(encoded, base).href;
    } catch (e) {
        return encoded;
    }
}

// Click-through links: only web and mail addresses are opened.
function safeLink(url) {
    if (typeof url !== 'string')
        return '';
    const u = url.trim();
    return /^(https?:\/\/|mailto:)/i.test(u) ? u : '';
}

function createCanvas(w, h) {
    const c = document.createElement('canvas');
    c.width = Math.max(1, Math.round(w));
    c.height = Math.max(1, Math.round(h));
    return c;
}

function onDomReady(fn) {
    if (document.readyState === 'loading')
        document.addEventListener('DOMContentLoaded', fn, { once: true });
    else
        fn();
}
