// Photos and thumbnails: loaded in the background, decoded off the drawing
// path and scaled once, with good filtering, to the size they are drawn at, so
// that frames draw them unscaled or nearly so.

// `source` scaled to `size` with good filtering. Some engines (Qt WebEngine
// 6.4) give a photo that its EXIF orientation turns a quarter the size asked
// for with width and height exchanged, the picture upright but squashed:
// asked again the other way round, they make it right.
async function scaledPicture(source, size) {
    const scale = function (w, h) {
        return createImageBitmap(source, { resizeWidth: w, resizeHeight: h, resizeQuality: 'high' });
    };
    let picture = await scale(size.width, size.height);
    if (picture.width !== size.width && picture.width === size.height && picture.height === size.width) {
        picture.close();
        picture = await scale(size.height, size.width);
    }
    return picture;
}

// Decoding and scaling a picture takes a tenth of a second or more, which on
// the page's main thread is a visible stop of a moving photo; createImageBitmap
// scales on the thread that asks for it. So the page reads the file's bytes
// and a worker decodes and scales them and hands the finished bitmap over.
// Pages that may not read files (pages opened from disk in a browser) or start
// workers decode and scale on the main thread instead, while the photo before
// stays on screen.
const PICTURE_WORKER_SOURCE = `'use strict';
${scaledPicture.toString()}
onmessage = async function (ev) {
    const job = ev.data;
    let picture = null;
    try {
        const decoded = await createImageBitmap(job.bytes);
        picture = decoded;
        if (decoded.width !== job.natural.width || decoded.height !== job.natural.height) {
            // Not the picture the page sees (turned otherwise): the page makes it.
            decoded.close();
            picture = null;
        } else if (job.size) {
            picture = await scaledPicture(decoded, job.size);
            decoded.close();
        }
    } catch (err) {
        picture = null;
    }
    postMessage({ id: job.id, picture: picture }, picture ? [picture] : []);
};`;

class PictureWorker {
    constructor() {
        this.worker = null;
        this.broken = false;
        this.nextId = 1;
        this.waiting = new Map();
    }

    // The picture in `bytes` (a blob), whose size the page sees as `natural`,
    // decoded and scaled to `size` (kept at its own size when null), or null
    // when the worker could not make it.
    make(bytes, natural, size) {
        if (!this.start())
            return Promise.resolve(null);
        const id = this.nextId++;
        return new Promise((resolve) => {
            this.waiting.set(id, resolve);
            this.worker.postMessage({ id: id, bytes: bytes, natural: natural, size: size });
        });
    }

    usable() {
        return !this.broken && typeof Worker === 'function' && typeof createImageBitmap === 'function';
    }

    start() {
        if (this.worker || this.broken)
            return !!this.worker;
        try {
            const source = URL.createObjectURL(new Blob([PICTURE_WORKER_SOURCE], { type: 'text/javascript' }));
            this.worker = new Worker(source);
            this.worker.onmessage = (ev) => {
                const resolve = this.waiting.get(ev.data.id);
                this.waiting.delete(ev.data.id);
                if (resolve)
                    resolve(ev.data.picture);
                else if (ev.data.picture)
                    ev.data.picture.close();
            };
            this.worker.onerror = () => this.fail();
        } catch (err) {
            this.fail();
        }
        return !!this.worker;
    }

    fail() {
        this.broken = true;
        if (this.worker)
            this.worker.terminate();
        this.worker = null;
        for (const resolve of this.waiting.values())
            resolve(null);
        this.waiting.clear();
    }
}

const pictureWorker = new PictureWorker();

function sameOrigin(url) {
    try {
        const u = new URL(url), page = new URL(document.baseURI);
        return u.protocol === page.protocol && u.host === page.host;
    } catch (err) {
        return false;
    }
}

class PictureStore {
    // `bound(key)` gives the box a picture is fitted into (up or down);
    // `changed(key, entry)` is called when a picture has loaded or failed.
    constructor(bound, changed) {
        this.bound = bound;
        this.changed = changed;
        this.entries = new Map();
    }

    get(key) {
        return this.entries.get(key) || null;
    }

    isSettled(key) {
        const e = this.entries.get(key);
        return !!e && e.state !== 'loading';
    }

    // Starts loading `url` under `key` unless it is known already.
    request(key, url) {
        let e = this.entries.get(key);
        if (e && e.url === url)
            return e;
        if (e)
            this.release(key);
        e = { key: key, url: url, state: 'loading', image: null, width: 0, height: 0 };
        this.entries.set(key, e);
        if (!url) {
            e.state = 'failed';
            Promise.resolve().then(() => this.changed(key, e));
            return e;
        }
        this.load(e);
        return e;
    }

    // The element tells the picture's size (its header is enough) and
    // whether it can be shown at all; the worker makes the picture from the
    // file's bytes when the page may read them, the element otherwise.
    async load(e) {
        const img = new Image();
        img.decoding = 'async';
        let picture = null;
        try {
            const bytes = this.fetchBytes(e.url);
            await new Promise(function (resolve, reject) {
                img.onload = resolve;
                img.onerror = reject;
                img.src = e.url;
            });
            if (!img.naturalWidth || !img.naturalHeight)
                throw new Error('empty picture');
            const size = this.scaledSize(e.key, img.naturalWidth, img.naturalHeight);
            const blob = await bytes;
            if (blob)
                picture = await pictureWorker.make(blob, { width: img.naturalWidth, height: img.naturalHeight }, size);
            if (!picture) {
                // Decoding ahead keeps it off the first frame that draws the picture.
                // Pages that are not shown may refuse or defer it, which is no failure.
                if (!document.hidden) {
                    await Promise.race([img.decode().catch(function () {}),
                        new Promise(function (resolve) { setTimeout(resolve, 500); })]);
                }
                picture = await this.fromElement(img, size);
            }
        } catch (err) {
            picture = null;
        }
        if (this.entries.get(e.key) !== e) { // released or replaced meanwhile
            if (picture && picture.close)
                picture.close();
            return;
        }
        if (picture) {
            e.image = picture;
            e.width = picture.width;
            e.height = picture.height;
            e.state = 'ready';
        } else {
            e.state = 'failed';
        }
        this.changed(e.key, e);
    }

    // The file's bytes as a blob, or null when the page may not read them.
    // Only for pictures of the page's own origin, read from the cache or the
    // disk: one from elsewhere would be asked for a second time, only to be
    // refused.
    async fetchBytes(url) {
        if (!pictureWorker.usable() || typeof fetch !== 'function' || !sameOrigin(url))
            return null;
        try {
            const response = await fetch(url);
            // file:// answers with status 0 when it found the file.
            return response.ok || response.status === 0 ? await response.blob() : null;
        } catch (err) {
            return null; // pages from disk in a browser may not fetch files
        }
    }

    // The size a picture is kept at, fitted into its bound; null when that is
    // its own size.
    scaledSize(key, w, h) {
        const bound = this.bound(key);
        const k = Math.min(bound.width / w, bound.height / h);
        if (Math.abs(k - 1) < 0.002)
            return null;
        return { width: Math.max(1, Math.round(w * k)), height: Math.max(1, Math.round(h * k)) };
    }

    async fromElement(img, size) {
        if (!size || typeof createImageBitmap !== 'function')
            return img;
        try {
            return await scaledPicture(img, size);
        } catch (err) {
            return img;
        }
    }

    release(key) {
        const e = this.entries.get(key);
        if (!e)
            return;
        if (e.image && e.image.close)
            e.image.close();
        this.entries.delete(key);
    }

    // Frees every picture whose key is not in `keep` (keeps failed marks).
    keepOnly(keep) {
        for (const [key, e] of Array.from(this.entries)) {
            if (!keep.has(key) && e.state !== 'failed')
                this.release(key);
        }
    }
}
