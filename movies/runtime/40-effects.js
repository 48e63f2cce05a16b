// The transitions, by effect id. An effect draws one frame of the change from
// picture A to picture B into the photo area, whose top-left corner is the
// context's origin:
//
//   draw(ctx, p, io)   p: progress 0..1
//   io.w, io.h         size of the photo area
//   io.drawA(c, smooth), io.drawB(c, smooth)   draw the whole picture A or B
//                      into (0, 0, w, h) of context c under c's current
//                      transform; filtered only with `smooth` (for reduced
//                      buffers: filtering a stage-sized draw is slow in software)
//   io.fill(c, colour) fill (0, 0, w, h)
//   io.buffer(name, w, h)      a reusable off-screen canvas of at least w x h
//
// Effects work with transforms, clips and alpha on the stage itself, drawing
// over what is there (source-over): a software renderer composites other
// modes much more slowly, a scaled picture drawn behind the stage's content
// (destination-over) taking it up to several frames. The few per-pixel ones
// (dissolve, pixelate, blur) draw into reduced buffers or use precomputed
// masks; none reads pixels back from a canvas.
//
// `mid` (optional) is the progress at which the effect's picture is taken when
// its exact middle shows a plain colour. `prepare(io)` (optional) makes what
// the effect needs ahead of time, a little per call, while the slide before
// it is shown; it returns true when everything is made.

const EFFECTS = Object.create(null);
const DEFAULT_EFFECT = 'fade';

function defineEffect(id, draw, mid, prepare) {
    EFFECTS[id] = { id: id, draw: draw, mid: mid === undefined ? 0.5 : mid, prepare: prepare || null };
}

function effectFor(id) {
    return EFFECTS[id] || EFFECTS[DEFAULT_EFFECT];
}

function clipped(ctx, path, draw) {
    ctx.save();
    ctx.beginPath();
    path(ctx);
    ctx.clip();
    draw();
    ctx.restore();
}

// --- Fades -------------------------------------------------------------------

defineEffect('fade', function (ctx, p, io) {
    io.drawA(ctx);
    ctx.globalAlpha = smooth(p);
    io.drawB(ctx);
    ctx.globalAlpha = 1;
});

function fadeThrough(colour) {
    return function (ctx, p, io) {
        if (p < 0.5) {
            io.drawA(ctx);
            ctx.globalAlpha = smooth(p / 0.5);
        } else {
            io.drawB(ctx);
            ctx.globalAlpha = 1 - smooth((p - 0.5) / 0.5);
        }
        io.fill(ctx, colour);
        ctx.globalAlpha = 1;
    };
}

// --- Wipes ---------------------------------------------------------------------

function wipe(dx, dy) {
    return function (ctx, p, io) {
        const e = easeInOut(p), w = io.w, h = io.h;
        io.drawA(ctx);
        clipped(ctx, function (c) {
            if (dx < 0) c.rect(w * (1 - e), 0, w * e, h);      // edge moves left
            else if (dx > 0) c.rect(0, 0, w * e, h);           // edge moves right
            else if (dy < 0) c.rect(0, h * (1 - e), w, h * e); // edge moves up
            else c.rect(0, 0, w, h * e);                       // edge moves down
        }, function () { io.drawB(ctx); });
    };
}

// --- Pushes, covers and uncovers ----------------------------------------------

// (dx, dy): the direction of motion.
function moveBoth(dx, dy, moveA, moveB) {
    return function (ctx, p, io) {
        const e = easeInOut(p), w = io.w, h = io.h;
        const under = moveA && !moveB ? 'B' : 'A';
        const drawMoved = function (which, offset) {
            ctx.save();
            ctx.translate(dx * w * offset, dy * h * offset);
            if (which === 'A') io.drawA(ctx); else io.drawB(ctx);
            ctx.restore();
        };
        // A leaves in the direction of motion; B comes in from the opposite side.
        if (under === 'A') {
            if (moveA) drawMoved('A', e); else io.drawA(ctx);
            drawMoved('B', e - 1);
        } else {
            io.drawB(ctx);
            drawMoved('A', e);
        }
    };
}

// --- Shapes opening from the centre ---------------------------------------------

function shapeReveal(path) {
    return function (ctx, p, io) {
        const e = easeInOut(p);
        io.drawA(ctx);
        clipped(ctx, function (c) { path(c, e, io.w, io.h); }, function () { io.drawB(ctx); });
    };
}

function circlePath(c, e, w, h) {
    const r = e * Math.hypot(w, h) / 2;
    c.arc(w / 2, h / 2, Math.max(0.01, r), 0, Math.PI * 2);
}

function sectorPath(cx, cy, a0, a1, radius) {
    return function (c) {
        c.moveTo(cx, cy);
        c.arc(cx, cy, radius, a0, a1, false);
        c.closePath();
    };
}

// --- Strips and grids -------------------------------------------------------------

function blinds(horizontal, count) {
    return function (ctx, p, io) {
        const e = easeInOut(p), w = io.w, h = io.h;
        io.drawA(ctx);
        clipped(ctx, function (c) {
            const size = (horizontal ? h : w) / count;
            for (let i = 0; i < count; ++i) {
                if (horizontal) c.rect(0, i * size, w, size * e + 0.5);
                else c.rect(i * size, 0, size * e + 0.5, h);
            }
        }, function () { io.drawB(ctx); });
    };
}

function randomOrder(count, seed) {
    const random = seededRandom(seed);
    const order = Array.from({ length: count }, (_, i) => i);
    for (let i = count - 1; i > 0; --i) {
        const j = Math.floor(random() * (i + 1));
        const t = order[i]; order[i] = order[j]; order[j] = t;
    }
    return order;
}

const BAR_ORDER = randomOrder(120, 7);

// --- Per-pixel effects on reduced buffers -------------------------------------------

const DISSOLVE_CELL = 4;    // stage pixels per noise cell
const DISSOLVE_LEVELS = 32; // masks made once per stage size, one per step of the dissolve
const dissolveMasks = { w: 0, h: 0, noise: null, levels: [], making: [] };

// The masks of the dissolve steps: opaque where the fixed noise is below the
// step's threshold, at the reduced size. They are made ahead (prepare, during
// the stay before the dissolve) as image bitmaps, finished pictures that cost
// nothing extra on their first draw; one asked for before it is made is made
// at once as a canvas.
function dissolveMasksFor(w, h) {
    if (dissolveMasks.w !== w || dissolveMasks.h !== h) {
        for (const mask of dissolveMasks.levels) {
            if (mask && mask.close)
                mask.close();
        }
        const random = seededRandom(1234);
        dissolveMasks.w = w;
        dissolveMasks.h = h;
        dissolveMasks.noise = new Uint8Array(w * h);
        for (let i = 0; i < w * h; ++i)
            dissolveMasks.noise[i] = Math.floor(random() * 255);
        dissolveMasks.levels = [];
        dissolveMasks.making = [];
    }
    return dissolveMasks;
}

function maskImage(masks, level) {
    const threshold = level / DISSOLVE_LEVELS * 256;
    const image = new ImageData(masks.w, masks.h);
    const data = image.data, noise = masks.noise;
    for (let i = 0, n = masks.w * masks.h; i < n; ++i)
        data[i * 4 + 3] = noise[i] < threshold ? 255 : 0;
    return image;
}

function dissolveMask(w, h, level) {
    const masks = dissolveMasksFor(w, h);
    let mask = masks.levels[level];
    if (!mask) {
        mask = createCanvas(w, h);
        mask.getContext('2d').putImageData(maskImage(masks, level), 0, 0);
        masks.levels[level] = mask;
    }
    return mask;
}

// Starts making the bitmap of one mask; false when bitmaps cannot be made here.
function makeMaskBitmap(masks, level) {
    if (typeof createImageBitmap !== 'function')
        return false;
    masks.making[level] = true;
    const noise = masks.noise;
    createImageBitmap(maskImage(masks, level)).then(function (bitmap) {
        if (dissolveMasks.noise !== noise || masks.levels[level]) // stage resized, or made meanwhile
            bitmap.close();
        else
            masks.levels[level] = bitmap;
    }, function () {
        if (dissolveMasks.noise === noise)
            dissolveMask(masks.w, masks.h, level);
    });
    return true;
}

defineEffect('dissolve', function (ctx, p, io) {
    const w = io.w, h = io.h;
    const level = Math.round(smooth(p) * DISSOLVE_LEVELS);
    if (level <= 0) { io.drawA(ctx); return; }
    if (level >= DISSOLVE_LEVELS) { io.drawB(ctx); return; }
    const nw = Math.ceil(w / DISSOLVE_CELL), nh = Math.ceil(h / DISSOLVE_CELL);
    const mask = dissolveMask(nw, nh, level);
    // B on the stage; A with holes punched where the mask is opaque, made in
    // a layer and drawn over it. Only plain drawing touches the stage: a
    // scaled picture drawn behind the stage's content (destination-over)
    // takes a software renderer up to several frames.
    const layer = io.buffer('dissolve', w, h), lc = layer.getContext('2d');
    io.drawA(lc);
    lc.globalCompositeOperation = 'destination-out';
    lc.imageSmoothingEnabled = false;
    lc.drawImage(mask, 0, 0, nw, nh, 0, 0, nw * DISSOLVE_CELL, nh * DISSOLVE_CELL);
    lc.imageSmoothingEnabled = true;
    lc.globalCompositeOperation = 'source-over';
    io.drawB(ctx);
    ctx.drawImage(layer, 0, 0, w, h, 0, 0, w, h);
}, 0.5, function (io) {
    const nw = Math.ceil(io.w / DISSOLVE_CELL), nh = Math.ceil(io.h / DISSOLVE_CELL);
    const masks = dissolveMasksFor(nw, nh);
    // The layer's memory is taken now, not on the dissolve's first frame.
    io.buffer('dissolve', io.w, io.h).getContext('2d').fillRect(0, 0, 1, 1);
    let started = 0, done = true;
    for (let level = 1; level < DISSOLVE_LEVELS; ++level) {
        if (masks.levels[level])
            continue;
        done = false;
        if (masks.making[level] || started >= 4)
            continue;
        ++started;
        if (!makeMaskBitmap(masks, level))
            dissolveMask(nw, nh, level);
    }
    return done;
});

// The buffer `name` of sw x sh with A and B mixed into it by `mix`, the whole
// stage scaled down to fit.
function mixInto(io, name, sw, sh, mix) {
    const small = io.buffer(name, sw, sh);
    const sc = small.getContext('2d');
    sc.setTransform(sw / io.w, 0, 0, sh / io.h, 0, 0);
    if (mix < 1) io.drawA(sc, true);
    if (mix > 0) {
        sc.globalAlpha = mix;
        io.drawB(sc, true);
        sc.globalAlpha = 1;
    }
    return small;
}

// Draws A and B mixed into a buffer reduced by `factor`, then scales it up.
function reducedMix(ctx, io, factor, mix, smoothUp, name) {
    const w = io.w, h = io.h;
    const sw = Math.max(1, Math.ceil(w / factor)), sh = Math.max(1, Math.ceil(h / factor));
    const small = mixInto(io, name, sw, sh, mix);
    ctx.imageSmoothingEnabled = smoothUp;
    ctx.drawImage(small, 0, 0, sw, sh, 0, 0, w, h);
    ctx.imageSmoothingEnabled = true;
}

defineEffect('pixelate', function (ctx, p, io) {
    const peak = Math.sin(Math.PI * p);
    const block = Math.max(1, Math.round(1 + 47 * peak * peak));
    const mix = smooth((p - 0.35) / 0.3);
    if (block <= 1) {
        if (mix < 1) io.drawA(ctx); else io.drawB(ctx);
        return;
    }
    reducedMix(ctx, io, block, mix, false, 'pixelate');
}, 0.5, function (io) {
    io.buffer('pixelate', Math.ceil(io.w / 2), Math.ceil(io.h / 2));
    return true;
});

defineEffect('blur', function (ctx, p, io) {
    const peak = Math.sin(Math.PI * p);
    const factor = 1 + 15 * peak;
    const mix = smooth((p - 0.3) / 0.4);
    if (factor < 1.15) {
        if (mix < 0.5) io.drawA(ctx); else io.drawB(ctx);
        return;
    }
    // The mix is drawn small, then enlarged in filtered steps of at most three
    // times up to half the stage size, and doubled onto the stage unfiltered
    // (a filtered stage-sized enlargement is slow in software; on a picture this
    // soft, the last doubling shows no steps).
    const w = io.w, h = io.h;
    const hw = Math.ceil(w / 2), hh = Math.ceil(h / 2);
    let sw = Math.max(1, Math.ceil(w / factor)), sh = Math.max(1, Math.ceil(h / factor));
    let source = mixInto(io, 'blur0', sw, sh, mix);
    for (let step = 1; sw < hw && step < 6; ++step) {
        const nw = Math.min(hw, sw * 3), nh = Math.min(hh, sh * 3);
        const next = io.buffer('blur' + step, nw, nh);
        next.getContext('2d').drawImage(source, 0, 0, sw, sh, 0, 0, nw, nh);
        source = next;
        sw = nw;
        sh = nh;
    }
    ctx.imageSmoothingEnabled = sw >= hw ? false : true;
    ctx.drawImage(source, 0, 0, sw, sh, 0, 0, w, h);
    ctx.imageSmoothingEnabled = true;
}, 0.5, function (io) {
    let sw = Math.ceil(io.w / 1.15), sh = Math.ceil(io.h / 1.15);
    io.buffer('blur0', sw, sh);
    for (let step = 1; step < 6; ++step)
        io.buffer('blur' + step, Math.ceil(io.w / 2), Math.ceil(io.h / 2));
    return true;
});

// --- The catalogue -------------------------------------------------------------------

defineEffect('wipeLeft', wipe(-1, 0));
defineEffect('iris', shapeReveal(circlePath));
defineEffect('wipeRight', wipe(1, 0));
defineEffect('wipeUp', wipe(0, -1));
defineEffect('wipeDown', wipe(0, 1));
defineEffect('pushLeft', moveBoth(-1, 0, true, true));
defineEffect('pushRight', moveBoth(1, 0, true, true));
defineEffect('pushUp', moveBoth(0, -1, true, true));
defineEffect('pushDown', moveBoth(0, 1, true, true));
defineEffect('coverLeft', moveBoth(-1, 0, false, true));
defineEffect('coverDown', moveBoth(0, 1, false, true));
defineEffect('uncoverRight', moveBoth(1, 0, true, false));
defineEffect('uncoverUp', moveBoth(0, -1, true, false));
defineEffect('fadeBlack', fadeThrough('#000'), 0.3);
defineEffect('fadeWhite', fadeThrough('#fff'), 0.3);

defineEffect('irisClose', function (ctx, p, io) {
    const e = easeInOut(p), w = io.w, h = io.h;
    io.drawB(ctx);
    clipped(ctx, function (c) { circlePath(c, 1 - e, w, h); }, function () { io.drawA(ctx); });
});

defineEffect('diamond', shapeReveal(function (c, e, w, h) {
    const rx = e * w, ry = e * h;
    c.moveTo(w / 2, h / 2 - ry);
    c.lineTo(w / 2 + rx, h / 2);
    c.lineTo(w / 2, h / 2 + ry);
    c.lineTo(w / 2 - rx, h / 2);
    c.closePath();
}));

defineEffect('boxIn', shapeReveal(function (c, e, w, h) {
    c.rect(w / 2 * (1 - e), h / 2 * (1 - e), w * e, h * e);
}));

defineEffect('clock', function (ctx, p, io) {
    const e = easeInOut(p), w = io.w, h = io.h;
    io.drawA(ctx);
    if (e <= 0) return;
    clipped(ctx, sectorPath(w / 2, h / 2, -Math.PI / 2, -Math.PI / 2 + e * Math.PI * 2, Math.hypot(w, h)),
        function () { io.drawB(ctx); });
}, 0.35); // half way round it would look like a wipe

defineEffect('fan', function (ctx, p, io) {
    const e = easeInOut(p), w = io.w, h = io.h;
    io.drawA(ctx);
    if (e <= 0) return;
    clipped(ctx, sectorPath(w / 2, h, -Math.PI / 2 - e * Math.PI / 2 - 0.001, -Math.PI / 2 + e * Math.PI / 2 + 0.001,
        Math.hypot(w, h)), function () { io.drawB(ctx); });
});

defineEffect('blindsHorizontal', blinds(true, 10));
defineEffect('blindsVertical', blinds(false, 12));

defineEffect('checkerboard', function (ctx, p, io) {
    const e = easeInOut(p), w = io.w, h = io.h;
    const cols = 8, rows = 6, cw = w / cols, ch = h / rows;
    io.drawA(ctx);
    clipped(ctx, function (c) {
        for (let j = 0; j < rows; ++j) {
            for (let i = 0; i < cols; ++i) {
                const q = clamp(e * 2 - ((i + j) % 2), 0, 1);
                if (q > 0) c.rect(i * cw, j * ch, cw * q + 0.5, ch + 0.5);
            }
        }
    }, function () { io.drawB(ctx); });
});

defineEffect('barnDoorsOpen', shapeReveal(function (c, e, w, h) {
    c.rect(w / 2 * (1 - e), 0, w * e, h);
}));

defineEffect('barnDoorsClose', shapeReveal(function (c, e, w, h) {
    c.rect(0, 0, w / 2 * e, h);
    c.rect(w - w / 2 * e, 0, w / 2 * e, h);
}));

defineEffect('splitHorizontal', shapeReveal(function (c, e, w, h) {
    c.rect(0, h / 2 * (1 - e), w, h * e);
}));

// Draws a picture over the stage scaled by `s` about the stage's centre, with
// the given opacity.
function drawScaledFromCentre(ctx, io, draw, s, alpha) {
    const w = io.w, h = io.h;
    ctx.save();
    ctx.globalAlpha = alpha;
    ctx.translate(w / 2, h / 2);
    ctx.scale(s, s);
    ctx.translate(-w / 2, -h / 2);
    draw(ctx);
    ctx.restore();
}

defineEffect('zoomIn', function (ctx, p, io) {
    io.drawA(ctx);
    drawScaledFromCentre(ctx, io, io.drawB, lerp(0.2, 1, easeOut(p)), smooth(p * 1.6));
});

defineEffect('zoomOut', function (ctx, p, io) {
    io.drawB(ctx);
    drawScaledFromCentre(ctx, io, io.drawA, lerp(1, 2.2, easeInOut(p)), 1 - smooth(p));
});

defineEffect('randomBars', function (ctx, p, io) {
    const w = io.w, h = io.h, n = BAR_ORDER.length, size = h / n;
    const shown = Math.floor(smooth(p) * n);
    io.drawA(ctx);
    if (shown <= 0) return;
    const on = new Uint8Array(n);
    for (let i = 0; i < shown; ++i) on[BAR_ORDER[i]] = 1;
    clipped(ctx, function (c) {
        // Neighbouring bars join into one rectangle.
        for (let i = 0; i < n;) {
            if (!on[i]) { ++i; continue; }
            let j = i;
            while (j < n && on[j]) ++j;
            c.rect(0, i * size, w, (j - i) * size + 0.5);
            i = j;
        }
    }, function () { io.drawB(ctx); });
});

defineEffect('diagonal', shapeReveal(function (c, e, w, h) {
    // The edge runs from bottom-left to top-right and sweeps from the top-left corner.
    const d = e * (w + h);
    c.moveTo(0, 0);
    c.lineTo(d, 0);
    c.lineTo(d - h, h);
    c.lineTo(0, h);
    c.closePath();
}));

defineEffect('flip', function (ctx, p, io) {
    const w = io.w, h = io.h;
    io.fill(ctx, '#000');
    const first = p < 0.5;
    const s = Math.max(0.001, Math.abs(Math.cos(Math.PI * easeInOut(p))));
    ctx.save();
    ctx.translate(w / 2, h / 2);
    ctx.scale(s, 1 - 0.08 * (1 - s));
    ctx.translate(-w / 2, -h / 2);
    if (first) io.drawA(ctx); else io.drawB(ctx);
    ctx.restore();
}, 0.3);

defineEffect('comb', function (ctx, p, io) {
    // Alternate teeth of B come in from the right and from the left: each
    // half is one clip of all its teeth and one draw.
    const e = easeInOut(p), w = io.w, h = io.h, teeth = 12, size = h / teeth;
    io.drawA(ctx);
    for (let first = 0; first < 2; ++first) {
        const dir = first ? 1 : -1;
        clipped(ctx, function (c) {
            for (let i = first; i < teeth; i += 2)
                c.rect(0, i * size, w, size + 0.5);
        }, function () {
            ctx.translate(dir * w * (1 - e), 0);
            io.drawB(ctx);
        });
    }
});

defineEffect('circles', shapeReveal(function (c, e, w, h) {
    const cols = 8, cell = w / cols, rows = Math.ceil(h / cell);
    const full = cell * 0.75;
    const far = Math.hypot(w, h) / 2;
    for (let j = 0; j < rows; ++j) {
        for (let i = 0; i < cols; ++i) {
            const x = (i + 0.5) * cell, y = (j + 0.5) * cell;
            const delay = Math.hypot(x - w / 2, y - h / 2) / far * 0.5;
            const r = clamp((e - delay) / 0.5, 0, 1) * full;
            if (r > 0.2) {
                c.moveTo(x + r, y);
                c.arc(x, y, r, 0, Math.PI * 2);
            }
        }
    }
}));

defineEffect('spinIn', function (ctx, p, io) {
    // B turns half round while it grows. Turned pictures are slow to draw in
    // software, so while it turns it is drawn into a buffer of half the size,
    // and only the part of the buffer it covers is enlarged onto the stage (a
    // filtered enlargement of the whole buffer takes most of a frame).
    const e = easeOut(p), w = io.w, h = io.h;
    const turn = Math.max(0, 1 - e / 0.8);
    const s = lerp(0.05, 1, e);
    const angle = turn * turn * -Math.PI;
    io.drawA(ctx);
    const place = function (c, k) {
        c.translate(w * k / 2, h * k / 2);
        c.rotate(angle);
        c.scale(s * k, s * k);
        c.translate(-w / 2, -h / 2);
    };
    ctx.save();
    ctx.globalAlpha = smooth(p * 2);
    if (turn <= 0) {
        place(ctx, 1);
        io.drawB(ctx);
    } else {
        const bw = Math.ceil(w / 2), bh = Math.ceil(h / 2);
        const buffer = io.buffer('spin', bw, bh);
        const bc = buffer.getContext('2d');
        bc.setTransform(1, 0, 0, 1, 0, 0);
        bc.clearRect(0, 0, bw, bh);
        place(bc, 0.5);
        io.drawB(bc);
        // The turned picture's bounding box in the buffer, with a margin for
        // the filter.
        const cos = Math.abs(Math.cos(angle)), sin = Math.abs(Math.sin(angle));
        const ex = s * (cos * w + sin * h) / 4 + 2, ey = s * (sin * w + cos * h) / 4 + 2;
        const x0 = Math.max(0, Math.floor(w / 4 - ex)), x1 = Math.min(bw, Math.ceil(w / 4 + ex));
        const y0 = Math.max(0, Math.floor(h / 4 - ey)), y1 = Math.min(bh, Math.ceil(h / 4 + ey));
        ctx.drawImage(buffer, x0, y0, x1 - x0, y1 - y0, x0 * 2, y0 * 2, (x1 - x0) * 2, (y1 - y0) * 2);
    }
    ctx.restore();
}, 0.2, function (io) { // its picture is taken while it still turns
    io.buffer('spin', Math.ceil(io.w / 2), Math.ceil(io.h / 2));
    return true;
});

defineEffect('slideStrips', function (ctx, p, io) {
    // Vertical strips drop in one after another from the top.
    const w = io.w, h = io.h, strips = 8, size = w / strips;
    io.drawA(ctx);
    for (let i = 0; i < strips; ++i) {
        const q = easeOut(clamp((p - i * 0.06) / (1 - 0.06 * (strips - 1)), 0, 1));
        if (q <= 0) continue;
        clipped(ctx, function (c) { c.rect(i * size, 0, size + 0.5, h); }, function () {
            ctx.save();
            ctx.translate(0, -h * (1 - q));
            io.drawB(ctx);
            ctx.restore();
        });
    }
});
