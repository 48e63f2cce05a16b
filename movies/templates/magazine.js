// Magazine: white page, the photo on the left, a title column on the right
// with the number of the current photo.
startMovie({
    name: 'magazine',
    width: 640,
    height: 480,
    stageColour: '#ffffff',
    photoBackground: '#f2f2ef',
    emptyText: 'No photos yet',
    drawIdle: function (ctx, w, h, text) { defaultDrawIdle(ctx, w, h, text, '#888'); },
    layout: function (w, h) {
        const m = Math.round(w * 0.045);
        const col = Math.round(w * 0.27);
        return {
            photo: { x: m, y: m, w: w - col - 2 * m, h: h - 2 * m },
            thumbs: null,
            column: { x: w - col, y: m, w: col - m, h: h - 2 * m },
        };
    },
    drawBackground: function (ctx, w, h, layout) {
        const c = layout.column;
        ctx.fillStyle = '#111';
        ctx.fillRect(c.x, c.y, 3, c.h);
        ctx.textAlign = 'left';
        ctx.textBaseline = 'top';
        ctx.fillStyle = '#111';
        ctx.font = 'bold ' + Math.round(h * 0.075) + 'px serif';
        ctx.fillText('Album', c.x + 14, c.y + 4);
        ctx.font = Math.round(h * 0.03) + 'px sans-serif';
        ctx.fillStyle = '#777';
        ctx.fillText('PHOTOGRAPHS', c.x + 15, c.y + Math.round(h * 0.1));
        ctx.fillStyle = '#c8102e';
        ctx.fillRect(c.x + 15, c.y + Math.round(h * 0.16), 36, 4);
        ctx.fillStyle = '#999';
        ctx.font = Math.round(h * 0.026) + 'px sans-serif';
        const lines = ['Moments kept', 'one page', 'at a time.'];
        lines.forEach((line, i) => ctx.fillText(line, c.x + 15, c.y + Math.round(h * 0.2) + i * Math.round(h * 0.04)));
    },
    drawOverlay: function (ctx, w, h, info) {
        // A small white tab at the photo's corner with the page number.
        if (info.mode !== 'album' || info.current < 0)
            return;
        const text = String(info.current + 1).padStart(2, '0');
        ctx.fillStyle = '#fff';
        ctx.fillRect(0, h - 34, 50, 34);
        ctx.fillStyle = '#c8102e';
        ctx.font = 'bold 20px serif';
        ctx.textAlign = 'center';
        ctx.textBaseline = 'middle';
        ctx.fillText(text, 25, h - 16);
    },
});
