// Classic: the photo on black with a thin frame and a slide counter below.
startMovie({
    name: 'classic',
    width: 800,
    height: 600,
    stageColour: '#000',
    photoBackground: '#000',
    highlight: '#fff',
    layout: function (w, h) {
        const m = Math.round(Math.min(w, h) * 0.04);
        return {
            photo: { x: m, y: m, w: w - 2 * m, h: h - 2 * m - Math.round(h * 0.05) },
            thumbs: null,
        };
    },
    drawBackground: function (ctx, w, h, layout) {
        const r = layout.photo;
        ctx.strokeStyle = '#3a3a3a';
        ctx.lineWidth = 1;
        ctx.strokeRect(r.x - 6.5, r.y - 6.5, r.w + 13, r.h + 13);
        ctx.fillStyle = '#555';
        ctx.fillRect(r.x, r.y + r.h + 14, r.w, 1);
    },
    drawOverlay: function (ctx, w, h, info) {
        if (info.mode !== 'album' || info.count < 1 || info.current < 0)
            return;
        const text = (info.current + 1) + ' / ' + info.count;
        ctx.font = '12px sans-serif';
        ctx.textAlign = 'right';
        ctx.textBaseline = 'bottom';
        ctx.fillStyle = 'rgba(0,0,0,0.45)';
        const tw = ctx.measureText(text).width;
        ctx.fillRect(w - tw - 18, h - 24, tw + 12, 18);
        ctx.fillStyle = 'rgba(255,255,255,0.85)';
        ctx.fillText(text, w - 12, h - 8);
    },
});
