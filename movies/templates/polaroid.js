// Desk: the photo as an instant print lying on a wooden desk among older prints.
function deskPrint(ctx, x, y, w, h, angle, tint) {
    ctx.save();
    ctx.translate(x + w / 2, y + h / 2);
    ctx.rotate(angle);
    ctx.shadowColor = 'rgba(0,0,0,0.45)';
    ctx.shadowBlur = 12;
    ctx.shadowOffsetX = 3;
    ctx.shadowOffsetY = 5;
    ctx.fillStyle = '#f4f1ea';
    ctx.fillRect(-w / 2, -h / 2, w, h);
    ctx.shadowColor = 'transparent';
    const m = w * 0.07;
    const g = ctx.createLinearGradient(0, -h / 2, 0, h / 2);
    g.addColorStop(0, tint[0]);
    g.addColorStop(1, tint[1]);
    ctx.fillStyle = g;
    ctx.fillRect(-w / 2 + m, -h / 2 + m, w - 2 * m, h - m * 4.2);
    ctx.restore();
}

startMovie({
    name: 'polaroid',
    width: 800,
    height: 600,
    stageColour: '#3b2414',
    photoBackground: '#1d1d1d',
    layout: function (w, h) {
        const pw = Math.round(w * 0.6), ph = Math.round(pw * 3 / 4);
        return {
            photo: { x: Math.round((w - pw) / 2), y: Math.round(h * 0.09), w: pw, h: ph },
            thumbs: null,
        };
    },
    drawBackground: function (ctx, w, h, layout) {
        // Wood: warm bands with darker grain lines.
        const g = ctx.createLinearGradient(0, 0, w, h);
        g.addColorStop(0, '#6b4226');
        g.addColorStop(0.5, '#7d4f2d');
        g.addColorStop(1, '#4e2e18');
        ctx.fillStyle = g;
        ctx.fillRect(0, 0, w, h);
        const random = seededRandom(99);
        for (let i = 0; i < 140; ++i) {
            const y = random() * h;
            ctx.strokeStyle = 'rgba(40,20,8,' + (0.08 + random() * 0.18) + ')';
            ctx.lineWidth = 0.6 + random() * 2.2;
            ctx.beginPath();
            ctx.moveTo(0, y);
            for (let x = 0; x <= w; x += 40)
                ctx.lineTo(x, y + Math.sin(x / 90 + i) * 4 + (random() - 0.5) * 2);
            ctx.stroke();
        }
        for (let x = 0; x < w; x += Math.round(w / 5)) {
            ctx.fillStyle = 'rgba(0,0,0,0.12)';
            ctx.fillRect(x, 0, 2, h);
        }
        deskPrint(ctx, w * 0.02, h * 0.52, w * 0.22, w * 0.26, -0.2, ['#9fc4d8', '#d9c08c']);
        deskPrint(ctx, w * 0.78, h * 0.08, w * 0.2, w * 0.24, 0.16, ['#e7a86b', '#7a4d6b']);
        deskPrint(ctx, w * 0.76, h * 0.6, w * 0.21, w * 0.25, -0.08, ['#88b27a', '#3f6a4a']);
        // The print that holds the album's photo.
        const r = layout.photo;
        const m = Math.round(r.w * 0.045);
        ctx.save();
        ctx.shadowColor = 'rgba(0,0,0,0.55)';
        ctx.shadowBlur = 22;
        ctx.shadowOffsetX = 4;
        ctx.shadowOffsetY = 8;
        ctx.fillStyle = '#f7f5ef';
        ctx.fillRect(r.x - m, r.y - m, r.w + 2 * m, r.h + m + Math.round(r.h * 0.2));
        ctx.restore();
        ctx.fillStyle = '#5a5148';
        ctx.font = 'italic ' + Math.round(r.h * 0.075) + 'px serif';
        ctx.textAlign = 'center';
        ctx.textBaseline = 'middle';
        ctx.fillText('our days', r.x + r.w / 2, r.y + r.h + Math.round(r.h * 0.1));
        // A strip of tape over the top edge.
        ctx.save();
        ctx.translate(r.x + r.w / 2, r.y - m);
        ctx.rotate(-0.03);
        ctx.fillStyle = 'rgba(235,228,200,0.75)';
        ctx.fillRect(-60, -12, 120, 24);
        ctx.restore();
    },
});
