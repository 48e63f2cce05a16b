#include "ShellArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

// A transparent picture of `logical` size times `dpr`, carrying that ratio, so
// that painting on it uses logical coordinates.
QPixmap Canvas(QSize logical, qreal dpr)
{
    if (dpr <= 0)
        dpr = 1;
    QPixmap pixmap(QSize(qCeil(logical.width() * dpr), qCeil(logical.height() * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QLinearGradient Vertical(const QRectF& r, QColor top, QColor bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// The glyph colours of a state: the body and its outline.
struct Ink {
    QColor body, edge, light;
};

Ink InkOf(ShellArt::State state)
{
    switch (state) {
    case ShellArt::State::Disabled:
        return {QColor(170, 178, 190), QColor(140, 146, 156), QColor(225, 228, 232)};
    case ShellArt::State::Hot:
        return {QColor(36, 104, 196), QColor(18, 66, 140), QColor(218, 236, 255)};
    case ShellArt::State::Pressed:
        return {QColor(24, 84, 170), QColor(12, 52, 116), QColor(200, 224, 252)};
    case ShellArt::State::Normal:
        break;
    }
    return {QColor(52, 120, 206), QColor(27, 76, 150), QColor(222, 238, 255)};
}

// A photo: white frame, sky, sun and a hill.
void DrawPhoto(QPainter& p, const QRectF& r, qreal angle = 0, bool grey = false)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF frame(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    const qreal border = qMax<qreal>(1, r.width() / 14);
    p.setPen(QPen(QColor(90, 110, 140, 160), qMax<qreal>(0.6, r.width() / 60)));
    p.setBrush(Qt::white);
    p.drawRect(frame);
    const QRectF inner = frame.adjusted(border, border, -border, -border);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(inner, grey ? QColor(190, 194, 200) : QColor(94, 160, 236),
                        grey ? QColor(225, 228, 232) : QColor(196, 226, 255)));
    p.drawRect(inner);
    p.setBrush(grey ? QColor(210, 210, 210) : QColor(255, 214, 80));
    const qreal sun = inner.height() * 0.22;
    p.drawEllipse(QPointF(inner.right() - inner.width() * 0.27, inner.top() + inner.height() * 0.3), sun, sun);
    QPainterPath hill;
    hill.moveTo(inner.bottomLeft());
    hill.lineTo(inner.left(), inner.bottom() - inner.height() * 0.25);
    hill.quadTo(inner.left() + inner.width() * 0.3, inner.top() + inner.height() * 0.35,
                inner.left() + inner.width() * 0.6, inner.bottom() - inner.height() * 0.3);
    hill.quadTo(inner.right() - inner.width() * 0.15, inner.bottom() - inner.height() * 0.45, inner.right(),
                inner.bottom() - inner.height() * 0.3);
    hill.lineTo(inner.bottomRight());
    hill.closeSubpath();
    p.setBrush(grey ? QColor(150, 154, 160) : QColor(70, 156, 84));
    p.drawPath(hill);
    p.restore();
}

// A floppy disk filling `r` (square).
void DrawDisk(QPainter& p, const QRectF& r, const Ink& ink)
{
    const qreal u = r.width() / 16;
    QPainterPath body;
    body.moveTo(r.left() + u, r.top() + u);
    body.lineTo(r.right() - 3.5 * u, r.top() + u);
    body.lineTo(r.right() - u, r.top() + 3.5 * u);
    body.lineTo(r.right() - u, r.bottom() - u);
    body.lineTo(r.left() + u, r.bottom() - u);
    body.closeSubpath();
    p.setPen(QPen(ink.edge, qMax<qreal>(0.8, u * 0.8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Vertical(r, ink.body.lighter(125), ink.body));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    // the label
    p.setBrush(QColor(250, 252, 255));
    p.drawRoundedRect(QRectF(r.left() + 3 * u, r.top() + 8.5 * u, 10 * u, 5.5 * u), u * 0.6, u * 0.6);
    p.setBrush(ink.body.lighter(150));
    for (int line = 0; line < 2; ++line)
        p.drawRect(QRectF(r.left() + 4.2 * u, r.top() + (10 + 1.7 * line) * u, 7.6 * u, 0.6 * u));
    // the shutter
    p.setBrush(QColor(214, 222, 234));
    p.drawRect(QRectF(r.left() + 4 * u, r.top() + u, 7 * u, 4.5 * u));
    p.setBrush(ink.edge);
    p.drawRect(QRectF(r.left() + 8.5 * u, r.top() + 1.8 * u, 1.6 * u, 2.9 * u));
}

// A bold arrow pointing right (or left), centred in `r`.
void DrawArrow(QPainter& p, const QRectF& r, bool right, const Ink& ink)
{
    const qreal w = r.width(), h = r.height();
    QPainterPath arrow;
    arrow.moveTo(0, h * 0.32);
    arrow.lineTo(w * 0.5, h * 0.32);
    arrow.lineTo(w * 0.5, h * 0.08);
    arrow.lineTo(w, h * 0.5);
    arrow.lineTo(w * 0.5, h * 0.92);
    arrow.lineTo(w * 0.5, h * 0.68);
    arrow.lineTo(0, h * 0.68);
    arrow.closeSubpath();
    p.save();
    p.translate(r.topLeft());
    if (!right) {
        p.translate(w, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(ink.edge, qMax<qreal>(0.8, w / 22), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, ink.body.lighter(140));
    g.setColorAt(0.5, ink.body);
    g.setColorAt(1, ink.body.darker(115));
    p.setBrush(g);
    p.drawPath(arrow);
    p.restore();
}

void DrawPage(QPainter& p, const QRectF& r, const Ink& ink)
{
    const qreal u = r.width() / 32;
    QPainterPath page;
    page.moveTo(r.left() + 6 * u, r.top() + 2 * u);
    page.lineTo(r.left() + 19 * u, r.top() + 2 * u);
    page.lineTo(r.left() + 26 * u, r.top() + 9 * u);
    page.lineTo(r.left() + 26 * u, r.bottom() - 2 * u);
    page.lineTo(r.left() + 6 * u, r.bottom() - 2 * u);
    page.closeSubpath();
    p.setPen(QPen(ink.edge, 1.2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Vertical(r, Qt::white, QColor(222, 234, 250)));
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(r.left() + 19 * u, r.top() + 2 * u);
    fold.lineTo(r.left() + 19 * u, r.top() + 9 * u);
    fold.lineTo(r.left() + 26 * u, r.top() + 9 * u);
    fold.closeSubpath();
    p.setBrush(QColor(200, 218, 244));
    p.drawPath(fold);
    // a small star: "new"
    const QPointF c(r.left() + 10 * u, r.top() + 8 * u);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 ? 2.2 : 5.5) * u;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        i ? star.lineTo(pt) : star.moveTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(200, 140, 20), 0.8 * u));
    p.setBrush(QColor(255, 210, 60));
    p.drawPath(star);
}

void DrawFolder(QPainter& p, const QRectF& r)
{
    const qreal u = r.width() / 32;
    QPainterPath back;
    back.moveTo(r.left() + 2 * u, r.top() + 7 * u);
    back.lineTo(r.left() + 11 * u, r.top() + 7 * u);
    back.lineTo(r.left() + 14 * u, r.top() + 10 * u);
    back.lineTo(r.left() + 28 * u, r.top() + 10 * u);
    back.lineTo(r.left() + 28 * u, r.bottom() - 4 * u);
    back.lineTo(r.left() + 2 * u, r.bottom() - 4 * u);
    back.closeSubpath();
    p.setPen(QPen(QColor(176, 124, 20), 1.1 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(236, 184, 64));
    p.drawPath(back);
    // a sheet inside
    p.setPen(QPen(QColor(160, 170, 186), 0.8 * u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 6 * u, r.top() + 9 * u, 19 * u, 10 * u));
    QPainterPath front;
    front.moveTo(r.left() + 2 * u, r.bottom() - 4 * u);
    front.lineTo(r.left() + 6 * u, r.top() + 14 * u);
    front.lineTo(r.right() - 1 * u, r.top() + 14 * u);
    front.lineTo(r.right() - 4 * u, r.bottom() - 4 * u);
    front.closeSubpath();
    p.setPen(QPen(QColor(176, 124, 20), 1.1 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Vertical(QRectF(r.left(), r.top() + 14 * u, r.width(), 14 * u), QColor(255, 222, 120),
                        QColor(242, 190, 70)));
    p.drawPath(front);
}

void DrawPencil(QPainter& p, const QRectF& r)
{
    const qreal u = r.width() / 32;
    p.save();
    p.translate(r.left() + 23 * u, r.top() + 20 * u);
    p.rotate(45);
    p.setPen(QPen(QColor(120, 70, 20), 0.9 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 196, 60));
    p.drawRect(QRectF(-2.5 * u, -12 * u, 5 * u, 14 * u));
    p.setBrush(QColor(236, 120, 120));
    p.drawRect(QRectF(-2.5 * u, -15 * u, 5 * u, 3 * u));
    QPainterPath tip;
    tip.moveTo(-2.5 * u, 2 * u);
    tip.lineTo(2.5 * u, 2 * u);
    tip.lineTo(0, 7 * u);
    tip.closeSubpath();
    p.setBrush(QColor(250, 226, 186));
    p.drawPath(tip);
    p.restore();
}

void DrawGear(QPainter& p, const QRectF& r, const Ink& ink)
{
    const QPointF c = r.center();
    const qreal outer = r.width() * 0.44, inner = r.width() * 0.33;
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = i * 2 * M_PI / (teeth * 4);
        const qreal radius = (i % 4 < 2) ? outer : inner;
        const QPointF pt(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        i ? gear.lineTo(pt) : gear.moveTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, r.width() * 0.13, r.width() * 0.13);
    p.setPen(QPen(ink.edge.darker(110), r.width() / 30, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QRadialGradient g(c, outer);
    g.setColorAt(0, QColor(226, 232, 242));
    g.setColorAt(1, QColor(128, 146, 172));
    p.setBrush(g);
    p.drawPath(gear.subtracted(hole));
}

// A round badge with a letter: "?" for help, "i" for information.
void DrawBadge(QPainter& p, const QRectF& r, const QString& letter, QColor top, QColor bottom)
{
    const qreal stroke = qMax<qreal>(0.7, r.width() / 24);
    const QRectF circle = r.adjusted(stroke, stroke, -stroke, -stroke);
    QRadialGradient g(circle.center() - QPointF(circle.width() * 0.2, circle.height() * 0.25), circle.width() * 0.8);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(140), stroke));
    p.setBrush(g);
    p.drawEllipse(circle);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(6, qRound(circle.height() * 0.72)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(circle, Qt::AlignCenter, letter);
}

// The application orb: a glossy blue sphere with a photo on it.
void DrawOrb(QPainter& p, const QRectF& r, ShellArt::State state)
{
    const QPointF c = r.center();
    const qreal radius = r.width() / 2 - qMax<qreal>(0.5, r.width() / 45);
    QColor rim(34, 84, 160), mid(70, 140, 222), core(150, 200, 255);
    switch (state) {
    case ShellArt::State::Hot:
        rim = QColor(170, 110, 20), mid = QColor(250, 170, 50), core = QColor(255, 232, 150);
        break;
    case ShellArt::State::Pressed:
        rim = QColor(150, 70, 10), mid = QColor(230, 130, 30), core = QColor(255, 200, 110);
        break;
    case ShellArt::State::Disabled:
        rim = QColor(120, 126, 136), mid = QColor(168, 174, 184), core = QColor(214, 218, 224);
        break;
    case ShellArt::State::Normal:
        break;
    }
    QRadialGradient body(c + QPointF(0, radius * 0.45), radius * 1.25);
    body.setColorAt(0, core);
    body.setColorAt(0.55, mid);
    body.setColorAt(1, rim);
    p.setPen(QPen(rim.darker(130), qMax<qreal>(0.8, radius / 18)));
    p.setBrush(body);
    p.drawEllipse(c, radius, radius);
    // the photo glyph
    const qreal side = radius * 1.05;
    DrawPhoto(p, QRectF(c.x() - side / 2 + radius * 0.06, c.y() - side * 0.36, side, side * 0.76), 8,
              state == ShellArt::State::Disabled);
    // the gloss over the upper half
    QRectF gloss(c.x() - radius * 0.78, c.y() - radius * 0.94, radius * 1.56, radius * 0.95);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 200));
    shine.setColorAt(1, QColor(255, 255, 255, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(gloss);
}

// The rounded face of a picture button, in the colours of a state.
void DrawButtonFace(QPainter& p, const QRectF& r, ShellArt::State state, qreal radius)
{
    QColor top(246, 250, 255), midTop(222, 236, 253), midBottom(200, 222, 250), bottom(222, 238, 255),
        edge(132, 168, 216);
    switch (state) {
    case ShellArt::State::Hot:
        top = QColor(255, 254, 228), midTop = QColor(255, 236, 170), midBottom = QColor(255, 216, 96),
        bottom = QColor(255, 236, 160), edge = QColor(214, 170, 70);
        break;
    case ShellArt::State::Pressed:
        top = QColor(250, 206, 140), midTop = QColor(248, 184, 110), midBottom = QColor(244, 156, 60),
        bottom = QColor(252, 206, 120), edge = QColor(182, 126, 50);
        break;
    case ShellArt::State::Disabled:
        top = QColor(246, 248, 250), midTop = QColor(234, 238, 243), midBottom = QColor(226, 230, 236),
        bottom = QColor(236, 240, 244), edge = QColor(178, 186, 198);
        break;
    case ShellArt::State::Normal:
        break;
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(0.45, midTop);
    g.setColorAt(0.5, midBottom);
    g.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
}

void DrawSun(QPainter& p, const QRectF& r, const Ink& ink)
{
    const QPointF c = r.center();
    const qreal u = r.width() / 32;
    p.setPen(QPen(QColor(214, 150, 20), 2 * u, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        p.drawLine(QPointF(c.x() + 9.5 * u * std::cos(a), c.y() + 9.5 * u * std::sin(a)),
                   QPointF(c.x() + 13.5 * u * std::cos(a), c.y() + 13.5 * u * std::sin(a)));
    }
    QRadialGradient g(c - QPointF(2 * u, 2 * u), 8 * u);
    g.setColorAt(0, QColor(255, 246, 180));
    g.setColorAt(1, QColor(255, 196, 40));
    p.setPen(QPen(QColor(214, 150, 20), 1.2 * u));
    p.setBrush(g);
    p.drawEllipse(c, 6.5 * u, 6.5 * u);
    Q_UNUSED(ink);
}

void DrawContrast(QPainter& p, const QRectF& r, const Ink& ink)
{
    const QPointF c = r.center();
    const qreal radius = r.width() * 0.38;
    p.setPen(QPen(ink.edge, r.width() / 16));
    p.setBrush(Qt::white);
    p.drawEllipse(c, radius, radius);
    QPainterPath half;
    half.moveTo(c.x(), c.y() - radius);
    half.arcTo(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 90, 180);
    half.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink.edge);
    p.drawPath(half);
}

} // namespace

QPixmap ShellArt::Tab(int image, QSize size, qreal dpr)
{
    if (size.isEmpty())
        return QPixmap();
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(QPointF(1.5, 1.5), QSizeF(size.width() - 3, size.height() - 1.5));
    const qreal radius = qMin<qreal>(6, r.height() / 3);
    QPainterPath shape;
    shape.moveTo(r.bottomLeft());
    shape.lineTo(r.left(), r.top() + radius);
    shape.quadTo(r.topLeft(), QPointF(r.left() + radius, r.top()));
    shape.lineTo(r.right() - radius, r.top());
    shape.quadTo(r.topRight(), QPointF(r.right(), r.top() + radius));
    shape.lineTo(r.bottomRight());

    QColor top(214, 231, 253), bottom(186, 211, 246), edge(140, 176, 224);
    if (image == 1)
        top = QColor(255, 255, 255), bottom = QColor(230, 242, 255), edge = QColor(104, 150, 210);
    else if (image == 2)
        top = QColor(255, 252, 232), bottom = QColor(255, 226, 140), edge = QColor(220, 176, 80);
    p.setPen(Qt::NoPen);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(0.5, top.toHsv().value() > 250 ? bottom.lighter(103) : bottom);
    fill.setColorAt(1, image == 1 ? top : bottom);
    p.setBrush(fill);
    p.drawPath(shape);
    p.setPen(QPen(edge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    // inner highlight along the top
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1), QPointF(r.right() - radius, r.top() + 1));
    if (image != 1) {
        // an unselected tab stands on the strip's base line
        p.setPen(QPen(QColor(104, 150, 210), 1));
        p.drawLine(QPointF(0, size.height() - 0.5), QPointF(size.width(), size.height() - 0.5));
    }
    return pixmap;
}

QPixmap ShellArt::AppButton(State state, qreal dpr)
{
    QPixmap pixmap = Canvas(QSize(45, 45), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    DrawOrb(p, QRectF(0, 0, 45, 45), state);
    return pixmap;
}

QPixmap ShellArt::StepButton(int commandId, State state, qreal dpr)
{
    const QSize size(85, 37);
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    DrawButtonFace(p, QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), state, 5);
    const Ink ink = InkOf(state);
    const qreal shift = state == State::Pressed ? 1 : 0;
    if (commandId == 310)
        DrawDisk(p, QRectF(31 + shift, 6 + shift, 24, 24), ink);
    else if (commandId == 311)
        DrawArrow(p, QRectF(28 + shift, 7 + shift, 30, 23), true, ink);
    else if (commandId == 312)
        DrawArrow(p, QRectF(27 + shift, 7 + shift, 30, 23), false, ink);
    return pixmap;
}

QPixmap ShellArt::Toggle(bool expand, State state, qreal dpr)
{
    const QSize size(72, 16);
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    DrawButtonFace(p, QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), state, 7);
    const Ink ink = InkOf(state);
    p.setPen(QPen(ink.edge, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal cx = size.width() / 2.0, cy = size.height() / 2.0;
    const qreal dy = expand ? 3 : -3;
    QPainterPath chevron;
    chevron.moveTo(cx - 6, cy - dy);
    chevron.lineTo(cx, cy + dy);
    chevron.lineTo(cx + 6, cy - dy);
    p.drawPath(chevron);
    return pixmap;
}

QPixmap ShellArt::ExistingAlbum(qreal dpr)
{
    QPixmap pixmap = Canvas(QSize(16, 16), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    // an album: a blue cover with a photo on it
    p.setPen(QPen(QColor(27, 76, 150), 0.9));
    p.setBrush(Vertical(QRectF(0, 0, 16, 16), QColor(96, 158, 232), QColor(44, 104, 186)));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 120));
    p.drawRect(QRectF(2, 2, 2, 12));
    DrawPhoto(p, QRectF(5.5, 4, 8, 7.5));
    return pixmap;
}

QPixmap ShellArt::MenuImage(int index, qreal dpr)
{
    const Ink ink = InkOf(State::Normal);
    QPixmap pixmap = Canvas(QSize(32, 32), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(0, 0, 32, 32);
    switch (index) {
    case 0:
        DrawPage(p, r, ink);
        break;
    case 1:
        DrawFolder(p, r);
        break;
    case 2:
        DrawDisk(p, r.adjusted(3, 3, -3, -3), ink);
        break;
    case 3:
        DrawDisk(p, QRectF(1, 1, 25, 25), ink);
        DrawPencil(p, r);
        break;
    case 14:
        DrawGear(p, r.adjusted(2, 2, -2, -2), ink);
        break;
    case 15:
        DrawBadge(p, r.adjusted(2, 2, -2, -2), QStringLiteral("?"), QColor(120, 180, 250), QColor(36, 98, 190));
        break;
    case 16:
        DrawBadge(p, r.adjusted(2, 2, -2, -2), QStringLiteral("i"), QColor(120, 180, 250), QColor(36, 98, 190));
        break;
    default:
        p.end();
        return QPixmap();
    }
    return pixmap;
}

QPixmap ShellArt::Splash(qreal dpr)
{
    const QSize size(400, 240);
    QPixmap pixmap = Canvas(size, dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const QRectF r(0, 0, size.width(), size.height());
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(236, 245, 255));
    sky.setColorAt(0.55, QColor(191, 218, 255));
    sky.setColorAt(1, QColor(120, 170, 236));
    p.fillRect(r, sky);
    // a soft light behind the photos
    QRadialGradient glow(QPointF(300, 100), 150);
    glow.setColorAt(0, QColor(255, 255, 255, 190));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(r, glow);
    // the photo stack, each photo with a shadow
    const struct {
        QRectF rect;
        qreal angle;
    } photos[] = {{QRectF(236, 24, 116, 86), -14}, {QRectF(252, 30, 116, 86), 6}, {QRectF(242, 48, 120, 90), -3}};
    for (const auto& photo : photos) {
        p.save();
        p.translate(photo.rect.center() + QPointF(3, 4));
        p.rotate(photo.angle);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 50, 100, 60));
        p.drawRect(QRectF(-photo.rect.width() / 2, -photo.rect.height() / 2, photo.rect.width(), photo.rect.height()));
        p.restore();
        DrawPhoto(p, photo.rect, photo.angle);
    }
    // the product name
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setBold(true);
    title.setPixelSize(30);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(25, 166, 360, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantri Kelvana"));
    p.setPen(QColor(22, 66, 140));
    p.drawText(QRectF(24, 165, 360, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantri Kelvana"));
    // a thin band along the bottom
    p.fillRect(QRectF(0, size.height() - 6, size.width(), 6), QColor(52, 110, 196));
    p.setPen(QPen(QColor(70, 120, 190), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    return pixmap;
}

QPixmap ShellArt::Information(qreal dpr)
{
    QPixmap pixmap = Canvas(QSize(16, 16), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    DrawBadge(p, QRectF(0, 0, 16, 16), QStringLiteral("i"), QColor(120, 180, 250), QColor(36, 98, 190));
    return pixmap;
}

QPixmap ShellArt::SliderButton(int controlId, State state, qreal dpr)
{
    QPixmap pixmap = Canvas(QSize(32, 32), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const Ink ink = InkOf(state);
    const QRectF r(0, 0, 32, 32);
    if (state == State::Disabled)
        p.setOpacity(0.45);
    if (controlId == 324)
        DrawSun(p, r, ink);
    else if (controlId == 325)
        DrawContrast(p, r.adjusted(2, 2, -2, -2), ink);
    else {
        p.end();
        return QPixmap();
    }
    return pixmap;
}

QPixmap ShellArt::DeleteGlyph(State state, qreal dpr)
{
    QPixmap pixmap = Canvas(QSize(16, 16), dpr);
    QPainter p(&pixmap);
    Prepare(p);
    const Ink ink = InkOf(state);
    // a waste bin: lid with its handle, a tapering body with three ribs
    p.setPen(QPen(ink.edge, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink.light);
    p.drawRoundedRect(QRectF(6, 1.5, 4, 2), 0.8, 0.8);
    p.setBrush(Vertical(QRectF(0, 3, 16, 2), ink.body.lighter(130), ink.body));
    p.drawRoundedRect(QRectF(2, 3, 12, 2), 0.8, 0.8);
    QPainterPath body;
    body.moveTo(3.3, 5.5);
    body.lineTo(12.7, 5.5);
    body.lineTo(11.7, 14.5);
    body.lineTo(4.3, 14.5);
    body.closeSubpath();
    p.setBrush(Vertical(QRectF(0, 5.5, 16, 9), ink.body.lighter(125), ink.body));
    p.drawPath(body);
    p.setPen(QPen(ink.light, 1, Qt::SolidLine, Qt::RoundCap));
    for (const qreal x : {6.0, 8.0, 10.0})
        p.drawLine(QPointF(x, 7.3), QPointF(x, 12.8));
    return pixmap;
}

QIcon ShellArt::AppIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        Prepare(p);
        DrawOrb(p, QRectF(0, 0, side, side), State::Normal);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
