// Film strip: the photo above a strip of film whose frames hold the album's
// thumbnails; the current one is lit, and a click on a frame jumps to it.
startMovie({
    name: 'filmstrip',
    width: 960,
    height: 720,
    stageColour: '#151515',
    photoBackground: '#0b0b0b',
    highlight: '#ffcc55',
    layout: function (w, h) {
        const stripH = Math.round(h * 0.17);
        const m = Math.round(w * 0.03);
        const stripY = h - stripH - Math.round(h * 0.025);
        const cellH = Math.round(stripH * 0.62);
        return {
            photo: { x: m, y: m, w: w - 2 * m, h: stripY - 2 * m + Math.round(m / 2) },
            thumbs: { x: 0, y: stripY, w: w, h: stripH, cell: { w: Math.round(cellH * 4 / 3), h: cellH }, gap: 14 },
        };
    },
    drawBackground: function (ctx, w, h, layout) {
        const g = ctx.createLinearGradient(0, 0, 0, h);
        g.addColorStop(0, '#262626');
        g.addColorStop(1, '#0e0e0e');
        ctx.fillStyle = g;
        ctx.fillRect(0, 0, w, h);
        const r = layout.photo;
        ctx.fillStyle = '#000';
        ctx.fillRect(r.x - 4, r.y - 4, r.w + 8, r.h + 8);
        const t = layout.thumbs;
        ctx.fillStyle = '#050505';
        ctx.fillRect(t.x, t.y, t.w, t.h);
        // Sprocket holes along both edges of the strip.
        const holeW = 10, holeH = 7, band = (t.h - t.cell.h) / 2;
        ctx.fillStyle = '#d8d2c4';
        for (let x = 6; x < w; x += 22) {
            ctx.fillRect(x, t.y + (band - holeH) / 2, holeW, holeH);
            ctx.fillRect(x, t.y + t.h - band + (band - holeH) / 2, holeW, holeH);
        }
    },
    drawThumb: function (ctx, cell, picture, current, drawCovering) {
        ctx.fillStyle = '#2a2a2a';
        ctx.fillRect(cell.x, cell.y, cell.w, cell.h);
        if (picture) {
            ctx.globalAlpha = current ? 1 : 0.55;
            drawCovering(ctx, picture, cell.x, cell.y, cell.w, cell.h);
            ctx.globalAlpha = 1;
        }
        if (current) {
            ctx.strokeStyle = '#ffcc55';
            ctx.lineWidth = 3;
            ctx.strokeRect(cell.x - 1.5, cell.y - 1.5, cell.w + 3, cell.h + 3);
        }
    },
});
