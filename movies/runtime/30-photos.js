// Photos and thumbnails: loaded in the background, decoded off the drawing
// path and scaled once, with good filtering, to the size they are drawn at, so
// that frames draw them unscaled or nearly so.

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

    keyOf(img) {
        return img.dataset.key;
    }

    async load(e) {
        const img = new Image();
        img.dataset.key = e.key;
        img.decoding = 'async';
        let picture = null;
        try {
            await new Promise(function (resolve, reject) {
                img.onload = resolve;
                img.onerror = reject;
                img.src = e.url;
            });
            if (!img.naturalWidth || !img.naturalHeight)
                throw new Error('empty picture');
            // Decoding ahead keeps it off the first frame that draws the picture.
            // Pages that are not shown may refuse or defer it, which is no failure.
            if (!document.hidden) {
                await Promise.race([img.decode().catch(function () {}),
                    new Promise(function (resolve) { setTimeout(resolve, 500); })]);
            }
            picture = await this.scaled(img);
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

    async scaled(img) {
        const bound = this.bound(this.keyOf(img));
        const w = img.naturalWidth, h = img.naturalHeight;
        const k = Math.min(bound.width / w, bound.height / h);
        if (Math.abs(k - 1) < 0.002 || typeof createImageBitmap !== 'function')
            return img;
        try {
            return await createImageBitmap(img, {
                resizeWidth: Math.max(1, Math.round(w * k)),
                resizeHeight: Math.max(1, Math.round(h * k)),
                resizeQuality: 'high',
            });
        } catch (e) {
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
