// The show: builds the stage in the host page, reads the configuration, runs
// the timeline, draws every frame and answers the page interface (toAs, frame
// counter, go-to-frame, state for hosts and tests).

const PREVIEW_HOLD_A = 0.6;    // transition preview: seconds on the first picture,
const PREVIEW_TRANSITION = 1.2; // the transition,
const PREVIEW_HOLD_B = 0.9;    // and seconds on the second picture
const HISTORY_LIMIT = 200;

// Pan and zoom patterns: zoom from z0 to z1 while the visible part moves from
// (ax0, ay0) to (ax1, ay1) (0 = left/top edge, 1 = right/bottom edge).
const PAN_ZOOM_MAX = 1.14;
const PAN_PATTERNS = [
    { z0: 1.0, z1: 1.12, ax0: 0.5, ax1: 0.3, ay0: 0.5, ay1: 0.4 },
    { z0: 1.12, z1: 1.0, ax0: 0.2, ax1: 0.6, ay0: 0.5, ay1: 0.5 },
    { z0: 1.02, z1: 1.14, ax0: 0.7, ax1: 0.5, ay0: 0.3, ay1: 0.6 },
    { z0: 1.1, z1: 1.1, ax0: 0.0, ax1: 1.0, ay0: 0.6, ay1: 0.4 },
];

function defaultDrawIdle(ctx, w, h, text, colour) {
    if (!text)
        return;
    ctx.fillStyle = colour || 'rgba(255,255,255,0.7)';
    ctx.font = Math.max(12, Math.round(h / 22)) + 'px sans-serif';
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillText(text, w / 2, h / 2);
}

function drawPlayButton(ctx, w, h) {
    const r = Math.max(18, Math.min(w, h) * 0.09);
    ctx.save();
    ctx.fillStyle = 'rgba(0,0,0,0.45)';
    ctx.fillRect(0, 0, w, h);
    ctx.beginPath();
    ctx.arc(w / 2, h / 2, r, 0, Math.PI * 2);
    ctx.fillStyle = 'rgba(255,255,255,0.9)';
    ctx.fill();
    ctx.beginPath();
    ctx.moveTo(w / 2 - r * 0.3, h / 2 - r * 0.45);
    ctx.lineTo(w / 2 + r * 0.5, h / 2);
    ctx.lineTo(w / 2 - r * 0.3, h / 2 + r * 0.45);
    ctx.closePath();
    ctx.fillStyle = '#222';
    ctx.fill();
    ctx.restore();
}

// The part of a picture shown in its fitted rectangle at pan/zoom position u.
function panView(pattern, u) {
    u = clamp(u, 0, 1);
    return {
        zoom: lerp(pattern.z0, pattern.z1, u),
        ax: lerp(pattern.ax0, pattern.ax1, u),
        ay: lerp(pattern.ay0, pattern.ay1, u),
    };
}

// Draws a picture fitted (letterboxed) into (0, 0, w, h); bars in `bg`.
// Without `smooth` the picture is scaled without filtering: a scaled, filtered
// draw of a stage-sized picture costs a software renderer most of a frame, so
// moving pictures (transitions) are drawn unfiltered, still ones filtered.
function drawFitted(c, entry, pan, w, h, bg, smooth) {
    c.fillStyle = bg;
    if (!entry || entry.state !== 'ready') {
        c.fillRect(0, 0, w, h);
        return;
    }
    const iw = entry.width, ih = entry.height;
    const k = Math.min(w / iw, h / ih);
    const fw = iw * k, fh = ih * k, fx = (w - fw) / 2, fy = (h - fh) / 2;
    if (fx > 0.5) {
        c.fillRect(0, 0, Math.ceil(fx), h);
        c.fillRect(Math.floor(fx + fw), 0, w - Math.floor(fx + fw), h);
    }
    if (fy > 0.5) {
        c.fillRect(0, 0, w, Math.ceil(fy));
        c.fillRect(0, Math.floor(fy + fh), w, h - Math.floor(fy + fh));
    }
    let sx = 0, sy = 0, sw = iw, sh = ih;
    if (pan && pan.zoom > 1.0001) {
        sw = iw / pan.zoom;
        sh = ih / pan.zoom;
        sx = (iw - sw) * pan.ax;
        sy = (ih - sh) * pan.ay;
    }
    if (!smooth)
        c.imageSmoothingEnabled = false;
    c.drawImage(entry.image, sx, sy, sw, sh, fx, fy, fw, fh);
    c.imageSmoothingEnabled = true;
}

// Draws a picture covering the cell (cropped to its aspect), for thumbnails.
function drawCovering(c, entry, x, y, w, h) {
    const iw = entry.width, ih = entry.height;
    const k = Math.max(w / iw, h / ih);
    const sw = w / k, sh = h / k;
    c.drawImage(entry.image, (iw - sw) / 2, (ih - sh) / 2, sw, sh, x, y, w, h);
}

class Show {
    constructor(tpl, movieUrl, xmlUrl) {
        this.tpl = tpl;
        this.movieUrl = movieUrl;
        this.xmlUrl = xmlUrl;
        this.W = tpl.width;
        this.H = tpl.height;
        this.slides = [];
        this.autoPlay = false;
        this.mode = 'album';
        this.playing = false;
        this.waitingForPlay = false;
        this.clock = 0;
        this.phase = 'none'; // none | enter | stay | hold | empty
        this.phaseStart = 0;
        this.cur = -1;
        this.prev = -1;
        this.holdFor = -1;
        this.jumpTarget = -1;
        this.upcoming = null;
        this.upcomingReady = true;
        this.dIn = 1;
        this.effect = effectFor(DEFAULT_EFFECT);
        this.curLife = null;
        this.prevLife = null;
        this.failed = new Set();
        this.buffers = Object.create(null);
        this.chromeDirty = true;
        this.needsDraw = true;
        this.lastTick = 0;
        this.lastRender = 0;
        this.lastRenderPhase = '';
        this.playStartReal = 0;
        this.currentRecord = null;
        this.preview = null;
        this.audio = null;
        this.mirrorDue = 0;
        this.canvas = null;
        this.state = {
            ready: false,
            configSource: '',
            playing: false,
            waitingForPlay: false,
            slideCount: 0,
            currentSlide: -1,
            shownSlides: [],
            transitions: [],
            framesDrawn: 0,
            slowestFrameMs: 0,
            frame: 0,
            musicStarted: false,
            music: null,
            skipped: [],
            pending: 0,
            toAs: null,
        };
        this.pictures = new PictureStore((key) => this.pictureBound(key), (key, e) => this.pictureSettled(key, e));
        this.thumbs = new PictureStore(() => this.thumbBound(), () => { this.chromeDirty = true; this.needsDraw = true; });
        this.layout = this.tpl.layout(this.W, this.H);
    }

    // --- Stage ------------------------------------------------------------------

    mount() {
        const host = document.getElementById('stage') || document.body || document.documentElement;
        this.host = host;
        const container = document.createElement('div');
        container.className = 'kelvana-movie';
        container.style.cssText = 'position:absolute;left:0;top:0;right:0;bottom:0;overflow:hidden;background:'
            + (this.tpl.stageColour || '#000');
        if (host === document.body || host === document.documentElement) {
            container.style.position = 'fixed';
        } else {
            if (getComputedStyle(host).position === 'static')
                host.style.position = 'relative';
            if (!host.clientWidth || !host.clientHeight) {
                host.style.width = this.W + 'px';
                host.style.height = this.H + 'px';
            }
        }
        const canvas = document.createElement('canvas');
        canvas.style.cssText = 'position:absolute;display:block';
        container.appendChild(canvas);
        host.appendChild(container);
        this.container = container;
        this.canvas = canvas;
        this.ctx = canvas.getContext('2d');
        const output = document.createElement('output');
        output.id = 'kelvana-state';
        output.hidden = true;
        (document.body || document.documentElement).appendChild(output);
        this.stateOutput = output;
        canvas.addEventListener('click', (ev) => this.onClick(ev));
        canvas.addEventListener('mousemove', (ev) => this.onMove(ev));
        window.addEventListener('resize', () => this.fit());
        this.resize(this.W, this.H);
        this.loop();
    }

    resize(w, h) {
        this.W = w;
        this.H = h;
        this.layout = this.tpl.layout(w, h);
        if (this.canvas) {
            this.canvas.width = w;
            this.canvas.height = h;
            this.background = null;
            this.fit();
        }
        this.chromeDirty = true;
        this.needsDraw = true;
    }

    // Scales the design into the stage's box, keeping its aspect, centred.
    fit() {
        const box = this.container;
        const bw = box.clientWidth || window.innerWidth || this.W;
        const bh = box.clientHeight || window.innerHeight || this.H;
        const k = Math.min(bw / this.W, bh / this.H);
        const cw = Math.max(1, Math.round(this.W * k)), ch = Math.max(1, Math.round(this.H * k));
        const style = this.canvas.style;
        style.width = cw + 'px';
        style.height = ch + 'px';
        style.left = Math.round((bw - cw) / 2) + 'px';
        style.top = Math.round((bh - ch) / 2) + 'px';
        this.scale = k;
    }

    // Pictures are kept at the size they are drawn at: the photo area, enlarged
    // by the largest pan-and-zoom factor for slides that move.
    pictureBound(key) {
        const r = this.layout.photo;
        let zoom = 1;
        if (key && key.startsWith('slide:')) {
            const slide = this.slides[parseInt(key.slice(6), 10)];
            if (slide && slide.panzoom)
                zoom = PAN_ZOOM_MAX;
        }
        return { width: Math.round(r.w * zoom), height: Math.round(r.h * zoom) };
    }

    thumbBound() {
        const t = this.layout.thumbs;
        const size = t ? t.cell : { w: 160, h: 120 };
        return { width: size.w, height: size.h };
    }

    buffer(name, w, h) {
        let c = this.buffers[name];
        if (!c || c.width < w || c.height < h) {
            c = createCanvas(Math.max(w, c ? c.width : 0), Math.max(h, c ? c.height : 0));
            this.buffers[name] = c;
        }
        return c;
    }

    // --- Configuration ------------------------------------------------------------

    async start() {
        const read = await readConfiguration(this.xmlUrl);
        const config = parseConfiguration(read.text, { width: this.tpl.width, height: this.tpl.height });
        this.state.configSource = read.source;
        await new Promise(onDomReady);
        if (!this.canvas)
            this.mount();
        if (config.width !== this.W || config.height !== this.H)
            this.resize(config.width, config.height);
        this.slides = config.slides.map((s, i) => Object.assign({ index: i }, s));
        this.state.slideCount = this.slides.length;
        this.autoPlay = config.autoPlay;
        if (config.musicPath)
            this.setupMusic(pathToUrl(config.musicPath, this.movieUrl));
        this.chromeDirty = true;
        this.needsDraw = true;
        if (this.mode !== 'album') // a preview request came first
            return;
        if (!this.slides.length) {
            this.phase = 'empty';
            this.state.ready = true;
            return;
        }
        // The first picture is wanted at once, for the still picture or the show.
        this.pictures.request(this.key(0), this.photoUrl(0));
        if (this.autoPlay)
            this.play();
        else
            this.waitForPlay();
    }

    key(i) { return 'slide:' + i; }
    photoUrl(i) { return pathToUrl(this.slides[i].photo, this.movieUrl); }
    entry(i) { return i >= 0 ? this.pictures.get(this.key(i)) : null; }

    setupMusic(url) {
        this.state.music = { url: url, requested: false, error: null };
        const audio = new Audio();
        audio.loop = true;
        audio.preload = 'auto';
        audio.src = url;
        const started = () => {
            if (!this.state.musicStarted && !audio.paused) {
                this.state.musicStarted = true;
                this.mirror(true);
            }
        };
        audio.addEventListener('playing', started);
        audio.addEventListener('error', () => {
            this.state.music.error = audio.error ? audio.error.code : -1;
            this.mirror(true);
        });
        audio.addEventListener('timeupdate', () => { if (audio.currentTime > 0) started(); });
        this.audio = audio;
    }

    startMusic() {
        const audio = this.audio;
        if (!audio || this.mode !== 'album')
            return;
        this.state.music.requested = true;
        const attempt = audio.play();
        if (attempt && attempt.catch) {
            attempt.catch(() => {
                // Browsers may want a gesture first: try again on the first one.
                const retry = () => {
                    window.removeEventListener('pointerdown', retry, true);
                    window.removeEventListener('keydown', retry, true);
                    if (this.mode === 'album' && this.playing)
                        audio.play().catch(() => {});
                };
                window.addEventListener('pointerdown', retry, true);
                window.addEventListener('keydown', retry, true);
            });
        }
    }

    // --- Timeline --------------------------------------------------------------------

    waitForPlay() {
        this.waitingForPlay = true;
        this.playing = false;
        this.cur = 0;
        this.phase = 'stay';
        this.needsDraw = true;
        this.syncFlags();
    }

    syncFlags() {
        this.state.playing = this.playing;
        this.state.waitingForPlay = this.waitingForPlay;
    }

    play() {
        if (this.playing || this.mode !== 'album' || !this.slides.length)
            return;
        this.waitingForPlay = false;
        this.playing = true;
        this.playStartReal = performance.now();
        this.cur = -1;
        this.prev = -1;
        this.clock = 0;
        this.holdFor = -1;
        this.phase = 'stay';
        this.phaseStart = 0;
        this.syncFlags();
        this.tryStartNext(true);
        this.startMusic();
        this.needsDraw = true;
    }

    transitionTime(i) {
        const t = this.tpl.transitionTime || 1;
        return Math.min(t, Math.max(0.25, this.slides[i].phototime));
    }

    nextPlayable(from) {
        const n = this.slides.length;
        for (let k = 1; k <= n; ++k) {
            const j = ((from < 0 ? -1 : from) + k) % n;
            if (!this.failed.has(j))
                return j;
        }
        return -1;
    }

    // At the end of a stay (or at the start): goes on with the next playable
    // slide when its picture is there, holds while it is loading.
    tryStartNext(fromStart) {
        for (;;) {
            const jump = this.jumpTarget;
            const next = jump >= 0 && !this.failed.has(jump) ? jump : this.nextPlayable(fromStart ? -1 : this.cur);
            if (next < 0) {
                this.phase = 'empty';
                this.cur = -1;
                this.needsDraw = true;
                this.state.ready = true;
                return;
            }
            const e = this.pictures.request(this.key(next), this.photoUrl(next));
            if (e.state === 'ready') {
                this.startTransition(next);
                return;
            }
            if (e.state === 'failed') {
                this.markFailed(next);
                continue;
            }
            this.phase = 'hold';
            this.holdFor = next;
            return;
        }
    }

    markFailed(i) {
        if (this.failed.has(i))
            return;
        this.failed.add(i);
        this.state.skipped.push(i);
        this.mirror(true);
    }

    startTransition(next) {
        const slide = this.slides[next];
        this.prev = this.cur;
        this.prevLife = this.curLife;
        this.cur = next;
        this.holdFor = -1;
        this.jumpTarget = -1;
        this.dIn = this.transitionTime(next);
        this.phase = 'enter';
        this.phaseStart = this.clock;
        const following = this.nextPlayable(next);
        const out = following >= 0 ? this.transitionTime(following) : 1;
        this.curLife = { start: this.clock, length: this.dIn + slide.phototime + out, pattern: PAN_PATTERNS[next % PAN_PATTERNS.length] };
        const requested = slide.transition;
        this.effect = effectFor(requested);
        this.currentRecord = { to: next, requested: requested, effect: this.effect.id, frame: this.frameNum(), intervals: [], drawMs: [] };
        this.pushLimited(this.state.transitions, this.currentRecord);
        this.pushLimited(this.state.shownSlides, next);
        this.state.currentSlide = next;
        this.state.ready = true;
        this.chromeDirty = true;
        this.needsDraw = true;
        // The next photo is loaded once this transition is over, so that its
        // decoding and scaling do not take time from the transition's frames.
    }

    pushLimited(list, item) {
        list.push(item);
        if (list.length > HISTORY_LIMIT)
            list.shift();
    }

    preload() {
        const keep = new Set();
        for (const i of [this.prev, this.cur]) {
            if (i >= 0)
                keep.add(this.key(i));
        }
        const next = this.nextPlayable(this.cur);
        if (next >= 0) {
            keep.add(this.key(next));
            this.pictures.request(this.key(next), this.photoUrl(next));
            this.upcoming = effectFor(this.slides[next].transition);
            this.upcomingReady = !this.upcoming.prepare;
        }
        this.pictures.keepOnly(keep);
    }

    // Lets the next transition make its masks and buffers during the stay.
    prepareUpcoming() {
        if (this.upcoming && !this.upcomingReady && this.canvas) {
            const r = this.layout.photo;
            this.upcomingReady = this.upcoming.prepare(this.effectIo(null, null, null, null, r.w, r.h, '#000')) !== false;
        }
    }

    pictureSettled(key, e) {
        this.needsDraw = true;
        if (this.mode === 'preview' && this.state.toAs) {
            if (key === 'toA')
                this.state.toAs.firstLoaded = e.state === 'ready';
            else if (key === 'toB')
                this.state.toAs.secondLoaded = e.state === 'ready';
            this.mirror(true);
        }
        if (this.mode !== 'album' || !key.startsWith('slide:'))
            return;
        const i = parseInt(key.slice(6), 10);
        if (e.state === 'failed') {
            this.markFailed(i);
            if (this.phase === 'hold')
                this.tryStartNext(this.cur < 0);
            else if (this.playing)
                this.preload(); // look one further ahead
        }
        if (!this.playing && i === 0)
            this.state.ready = true; // the still picture behind the play button
    }

    advance(dt) {
        if (this.mode === 'preview') {
            this.clock += dt;
            return;
        }
        if (!this.playing)
            return;
        if (this.phase === 'hold') {
            this.tryStartNext(this.cur < 0);
            if (this.phase === 'hold')
                return;
        }
        if (this.phase !== 'enter' && this.phase !== 'stay')
            return;
        this.clock += dt;
        for (let guard = 0; guard < 16; ++guard) {
            if (this.phase === 'enter' && this.clock - this.phaseStart >= this.dIn) {
                this.phaseStart += this.dIn;
                this.phase = 'stay';
                this.needsDraw = true;
                this.preload();
            } else if (this.phase === 'stay' && this.cur >= 0 && this.clock - this.phaseStart >= this.slides[this.cur].phototime) {
                const end = this.phaseStart + this.slides[this.cur].phototime;
                const over = this.clock - end;
                this.clock = end;
                this.tryStartNext(false);
                if (this.phase !== 'enter')
                    return;
                this.clock += over;
            } else {
                break;
            }
        }
    }

    frameNum() {
        return Math.floor(this.clock * FRAME_RATE + 1e-6);
    }

    // Moves the show to frame n: the slide sequence of the playable slides,
    // starting from the empty stage, then looping.
    gotoFrame(n) {
        n = Math.max(0, Math.floor(Number(n) || 0));
        const T = n / FRAME_RATE;
        this.clock = T;
        this.needsDraw = true;
        if (this.mode === 'preview')
            return;
        const list = [];
        for (let i = 0; i < this.slides.length; ++i) {
            if (!this.failed.has(i))
                list.push(i);
        }
        if (!list.length)
            return;
        const dur = list.map((i) => this.transitionTime(i) + this.slides[i].phototime);
        const cycle = dur.reduce((a, b) => a + b, 0);
        let t = T;
        let looped = false;
        if (t >= cycle) {
            t = t % cycle;
            looped = true;
        }
        let k = 0, start = 0;
        while (k < list.length - 1 && t >= start + dur[k]) {
            start += dur[k];
            ++k;
        }
        const cur = list[k];
        const prevK = k > 0 ? k - 1 : (looped ? list.length - 1 : -1);
        this.cur = cur;
        this.prev = prevK >= 0 ? list[prevK] : -1;
        this.dIn = this.transitionTime(cur);
        const lifeStart = T - (t - start);
        this.curLife = { start: lifeStart, length: dur[k] + this.transitionTime(list[(k + 1) % list.length]), pattern: PAN_PATTERNS[cur % PAN_PATTERNS.length] };
        this.prevLife = this.prev >= 0 ? { start: lifeStart - dur[prevK], length: dur[prevK] + this.dIn, pattern: PAN_PATTERNS[this.prev % PAN_PATTERNS.length] } : null;
        this.effect = effectFor(this.slides[cur].transition);
        if (t - start < this.dIn) {
            this.phase = 'enter';
            this.phaseStart = lifeStart;
        } else {
            this.phase = 'stay';
            this.phaseStart = lifeStart + this.dIn;
        }
        this.holdFor = -1;
        this.state.currentSlide = cur;
        this.chromeDirty = true;
        for (const i of [this.prev, this.cur]) {
            if (i >= 0)
                this.pictures.request(this.key(i), this.photoUrl(i));
        }
        this.preload();
        this.render(performance.now());
    }

    // --- Transition preview ------------------------------------------------------------

    toAs(first, second, effectId) {
        first = String(first === undefined || first === null ? '' : first);
        second = String(second === undefined || second === null ? '' : second);
        effectId = String(effectId === undefined || effectId === null ? '' : effectId);
        this.mode = 'preview';
        this.playing = false;
        this.waitingForPlay = false;
        this.syncFlags();
        if (this.audio)
            this.audio.pause();
        this.pictures.keepOnly(new Set());
        this.pictures.request('toA', pathToUrl(first, this.movieUrl));
        this.pictures.request('toB', pathToUrl(second, this.movieUrl));
        this.effect = effectFor(effectId);
        this.upcoming = this.effect;
        this.upcomingReady = !this.effect.prepare;
        this.prepareUpcoming();
        this.preview = { start: this.clock, runs: 0, lastCycle: -1 };
        this.state.toAs = { first: first, second: second, requested: effectId, effect: this.effect.id, runs: 0, firstLoaded: false, secondLoaded: false };
        this.state.ready = true;
        this.chromeDirty = true;
        this.needsDraw = true;
        this.mirror(true);
    }

    // --- Drawing --------------------------------------------------------------------------

    drawChrome() {
        const ctx = this.ctx;
        if (!this.background) {
            this.background = createCanvas(this.W, this.H);
            const bc = this.background.getContext('2d');
            bc.fillStyle = this.tpl.stageColour || '#000';
            bc.fillRect(0, 0, this.W, this.H);
            if (this.tpl.drawBackground)
                this.tpl.drawBackground(bc, this.W, this.H, this.layout);
            ctx.drawImage(this.background, 0, 0);
        }
        const t = this.layout.thumbs;
        if (t && this.mode === 'album') {
            ctx.drawImage(this.background, t.x, t.y, t.w, t.h, t.x, t.y, t.w, t.h);
            this.drawThumbs(ctx, t);
        }
        this.chromeDirty = false;
    }

    thumbCells(t) {
        const n = this.slides.length;
        const cw = t.cell.w, ch = t.cell.h, gap = t.gap;
        const vertical = !!t.vertical;
        const along = vertical ? t.h : t.w;
        const step = (vertical ? ch : cw) + gap;
        const total = n * step - gap;
        const current = Math.max(0, this.state.currentSlide);
        let offset = 0;
        if (total > along)
            offset = clamp(current * step + (step - gap) / 2 - along / 2, 0, total - along);
        else
            offset = -(along - total) / 2;
        const cells = [];
        for (let i = 0; i < n; ++i) {
            const a = i * step - offset;
            if (a + step < 0 || a > along)
                continue;
            cells.push(vertical
                ? { i: i, x: t.x + (t.w - cw) / 2, y: t.y + a, w: cw, h: ch }
                : { i: i, x: t.x + a, y: t.y + (t.h - ch) / 2, w: cw, h: ch });
        }
        return cells;
    }

    drawThumbs(ctx, t) {
        ctx.save();
        ctx.beginPath();
        ctx.rect(t.x, t.y, t.w, t.h);
        ctx.clip();
        for (const cell of this.thumbCells(t)) {
            const slide = this.slides[cell.i];
            const current = cell.i === this.state.currentSlide;
            const e = slide.thumb ? this.thumbs.request('thumb:' + cell.i, pathToUrl(slide.thumb, this.movieUrl)) : null;
            if (this.tpl.drawThumb) {
                this.tpl.drawThumb(ctx, cell, e && e.state === 'ready' ? e : null, current, drawCovering);
                continue;
            }
            ctx.fillStyle = '#333';
            ctx.fillRect(cell.x, cell.y, cell.w, cell.h);
            if (e && e.state === 'ready') {
                ctx.globalAlpha = current ? 1 : 0.6;
                drawCovering(ctx, e, cell.x, cell.y, cell.w, cell.h);
                ctx.globalAlpha = 1;
            }
            if (current) {
                ctx.strokeStyle = this.tpl.highlight || '#fff';
                ctx.lineWidth = 2;
                ctx.strokeRect(cell.x - 1, cell.y - 1, cell.w + 2, cell.h + 2);
            }
        }
        ctx.restore();
    }

    panFor(life) {
        if (!life || !life.pattern)
            return null;
        return panView(life.pattern, (this.clock - life.start) / life.length);
    }

    render(now) {
        if (!this.canvas)
            return;
        const began = performance.now();
        const ctx = this.ctx;
        if (this.chromeDirty)
            this.drawChrome();
        const r = this.layout.photo;
        const bg = this.tpl.photoBackground || '#000';
        ctx.save();
        ctx.beginPath();
        ctx.rect(r.x, r.y, r.w, r.h);
        ctx.clip();
        ctx.translate(r.x, r.y);
        let pending = 0;
        const need = (e) => { if (e && e.state === 'loading') ++pending; return e; };
        if (this.mode === 'preview') {
            const a = need(this.pictures.get('toA')), b = need(this.pictures.get('toB'));
            const cycle = PREVIEW_HOLD_A + PREVIEW_TRANSITION + PREVIEW_HOLD_B;
            const since = Math.max(0, this.clock - this.preview.start);
            const t = since % cycle;
            const run = Math.floor(since / cycle);
            if (t >= PREVIEW_HOLD_A && run !== this.preview.lastCycle && a && b && a.state !== 'loading' && b.state !== 'loading') {
                this.preview.lastCycle = run;
                this.state.toAs.runs += 1;
            }
            const io = this.effectIo(a, null, b, null, r.w, r.h, bg);
            if (t < PREVIEW_HOLD_A)
                io.drawA(ctx);
            else if (t < PREVIEW_HOLD_A + PREVIEW_TRANSITION)
                this.effect.draw(ctx, (t - PREVIEW_HOLD_A) / PREVIEW_TRANSITION, io);
            else
                io.drawB(ctx);
        } else if (this.phase === 'empty' || (!this.slides.length && this.state.configSource)) {
            ctx.fillStyle = bg;
            ctx.fillRect(0, 0, r.w, r.h);
            const text = this.state.configSource === 'none' && this.tpl.noConfigText !== undefined ? this.tpl.noConfigText
                : this.slides.length ? (this.tpl.failedText !== undefined ? this.tpl.failedText : 'The photos of this album cannot be shown')
                    : (this.tpl.emptyText !== undefined ? this.tpl.emptyText : 'This album has no photos');
            (this.tpl.drawIdle || defaultDrawIdle)(ctx, r.w, r.h, text);
        } else if (this.phase === 'enter' && this.cur >= 0) {
            const a = need(this.entry(this.prev)), b = need(this.entry(this.cur));
            const p = clamp((this.clock - this.phaseStart) / this.dIn, 0, 1);
            this.effect.draw(ctx, p, this.effectIo(a, this.panned(this.prev, this.prevLife), b, this.panned(this.cur, this.curLife), r.w, r.h, bg));
        } else if (this.cur >= 0) {
            const e = need(this.entry(this.cur));
            drawFitted(ctx, e, this.waitingForPlay ? null : this.panned(this.cur, this.curLife), r.w, r.h, bg, true);
        } else {
            ctx.fillStyle = bg;
            ctx.fillRect(0, 0, r.w, r.h);
        }
        if (this.tpl.drawOverlay)
            this.tpl.drawOverlay(ctx, r.w, r.h, this.overlayInfo());
        if (this.waitingForPlay)
            drawPlayButton(ctx, r.w, r.h);
        ctx.restore();
        this.state.pending = pending;
        this.state.framesDrawn += 1;
        this.measure(now, performance.now() - began);
        this.needsDraw = false;
    }

    panned(i, life) {
        return i >= 0 && this.slides[i] && this.slides[i].panzoom ? this.panFor(life) : null;
    }

    overlayInfo() {
        return { current: this.state.currentSlide, count: this.slides.length, mode: this.mode };
    }

    effectIo(a, panA, b, panB, w, h, bg, smoothAll) {
        return {
            w: w,
            h: h,
            drawA: (c, smooth) => drawFitted(c, a, panA, w, h, bg, smooth || smoothAll),
            drawB: (c, smooth) => drawFitted(c, b, panB, w, h, bg, smooth || smoothAll),
            fill: (c, colour) => { c.fillStyle = colour; c.fillRect(0, 0, w, h); },
            buffer: (name, bw, bh) => this.buffer(name, bw, bh),
        };
    }

    // Frame times during transitions, leaving out the first second of playback:
    // the time between two drawn frames, and the time the drawing itself took.
    measure(now, drawMs) {
        const inTransition = this.mode === 'album' ? this.phase === 'enter' : true;
        if (inTransition && this.lastRenderPhase === 'transition' && now - this.playStartReal > 1000) {
            const dt = now - this.lastRender;
            if (dt > this.state.slowestFrameMs)
                this.state.slowestFrameMs = Math.round(dt * 10) / 10;
            if (this.currentRecord && this.mode === 'album') {
                this.currentRecord.intervals.push(Math.round(dt * 10) / 10);
                this.currentRecord.drawMs.push(Math.round(drawMs * 100) / 100);
            }
        }
        this.lastRender = now;
        this.lastRenderPhase = inTransition ? 'transition' : 'still';
    }

    // --- Loop ---------------------------------------------------------------------------------

    loop() {
        // Timer and frame callbacks are timed with the same clock.
        const step = () => {
            this.tick(performance.now());
            requestAnimationFrame(step);
        };
        requestAnimationFrame(step);
        // Animation frames stop in hidden pages and under virtual time; timers
        // keep the show going there.
        setInterval(() => {
            const now = performance.now();
            if (now - this.lastTick > 100)
                this.tick(now);
        }, 50);
    }

    tick(now) {
        const dt = this.lastTick ? clamp((now - this.lastTick) / 1000, 0, 0.5) : 0;
        this.lastTick = now;
        const before = this.clock;
        this.advance(dt);
        const moving = this.clock !== before && (this.mode === 'preview' || this.phase === 'enter'
            || (this.cur >= 0 && this.slides[this.cur] && this.slides[this.cur].panzoom));
        if (moving || this.needsDraw || this.chromeDirty)
            this.render(now);
        if (this.phase === 'stay' || this.phase === 'hold' || this.mode === 'preview')
            this.prepareUpcoming();
        this.syncFlags();
        this.state.frame = this.frameNum();
        this.mirror(false);
    }

    mirror(force) {
        const now = performance.now();
        if (!this.stateOutput || (!force && now < this.mirrorDue))
            return;
        this.mirrorDue = now + 100;
        this.stateOutput.textContent = JSON.stringify(this.state);
    }

    // --- Input -----------------------------------------------------------------------------------

    designPoint(ev) {
        const rect = this.canvas.getBoundingClientRect();
        return {
            x: (ev.clientX - rect.left) / rect.width * this.W,
            y: (ev.clientY - rect.top) / rect.height * this.H,
        };
    }

    hit(pt) {
        const inside = (r) => r && pt.x >= r.x && pt.x < r.x + r.w && pt.y >= r.y && pt.y < r.y + r.h;
        const t = this.layout.thumbs;
        if (this.mode === 'album' && inside(t)) {
            for (const cell of this.thumbCells(t)) {
                if (inside(cell))
                    return { thumb: cell.i };
            }
            return {};
        }
        if (inside(this.layout.photo))
            return { photo: true };
        return {};
    }

    onClick(ev) {
        if (this.waitingForPlay) {
            this.play();
            return;
        }
        const h = this.hit(this.designPoint(ev));
        if (h.thumb !== undefined) {
            this.jumpTo(h.thumb);
        } else if (h.photo && this.mode === 'album' && this.cur >= 0) {
            const url = this.slides[this.cur].url;
            if (url)
                window.open(url, '_blank', 'noopener');
        }
    }

    onMove(ev) {
        const h = this.hit(this.designPoint(ev));
        const link = h.photo && this.mode === 'album' && this.cur >= 0 && this.slides[this.cur].url;
        this.canvas.style.cursor = this.waitingForPlay || h.thumb !== undefined || link ? 'pointer' : 'default';
    }

    // A thumbnail click: the chosen slide comes on next, with its own transition.
    jumpTo(i) {
        if (!this.playing || i === this.cur || this.failed.has(i))
            return;
        const e = this.pictures.request(this.key(i), this.photoUrl(i));
        if (e.state === 'ready') {
            this.startTransition(i);
        } else if (e.state === 'loading') {
            this.phase = 'hold';
            this.holdFor = i;
            this.jumpTarget = i;
        }
    }
}

// Entry point of every movie file: `tpl` describes the template's design.
function startMovie(tpl) {
    const script = document.currentScript;
    const movieUrl = script && script.src ? script.src : document.baseURI;
    let xmlUrl = '';
    if (script && script.src) {
        try {
            const u = new URL(script.src);
            u.pathname = u.pathname.replace(/\.js$/i, '') + '.xml';
            u.search = '';
            u.hash = '';
            xmlUrl = u.href;
        } catch (e) {
            xmlUrl = '';
        }
    }
    const show = new Show(tpl, movieUrl, xmlUrl);
    window.kelvanaState = show.state;
    window.toAs = function (first, second, effectId) { show.toAs(first, second, effectId); };
    window.frameNum = function () { return show.frameNum(); };
    window.gotoFrame = function (n) { show.gotoFrame(n); };
    window.kelvanaPlay = function () { show.play(); };
    window.kelvanaSnapshot = function () {
        if (!show.canvas)
            return '';
        show.render(performance.now());
        try {
            return show.canvas.toDataURL('image/png');
        } catch (e) {
            return ''; // pictures from other origins make the canvas unreadable
        }
    };
    window.kelvanaEffects = Object.keys(EFFECTS);
    // Draws one frame of an effect between two loaded pictures (images or
    // canvases) into (0, 0, w, h) of ctx; without a progress, at the effect's
    // middle. Used to make the effect pictures of the catalogue.
    window.kelvanaEffectFrame = function (ctx, id, p, a, b, w, h) {
        const effect = effectFor(id);
        const entry = (img) => img ? { state: 'ready', image: img, width: img.naturalWidth || img.width, height: img.naturalHeight || img.height } : null;
        effect.draw(ctx, p === undefined || p === null ? effect.mid : p, show.effectIo(entry(a), null, entry(b), null, w, h, '#000', true));
        return effect.id;
    };
    onDomReady(() => { if (!show.canvas) show.mount(); });
    show.start();
    return show;
}
