#include "PaneArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace PaneArt {

namespace {

constexpr int kSide = 32;
const QColor kInk(52, 84, 140);

// A circular arrow around the centre, turning left (counter-clockwise) or right.
void TurnArrow(QPainter& p, bool left)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    const QRectF ring(7, 7, 18, 18);
    p.drawArc(ring, left ? 0 : 180 * 16, 270 * 16 * (left ? 1 : -1));
    // The head at the arc's end, at the top of the ring.
    QPolygonF head;
    if (left)
        head << QPointF(16, 2) << QPointF(16, 12) << QPointF(10, 7);
    else
        head << QPointF(16, 2) << QPointF(16, 12) << QPointF(22, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(head);
}

} // namespace

QPixmap Draw(Picture picture)
{
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 2));
    switch (picture) {
    case Picture::RedEye:
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 9, 26, 14));
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QRectF(10, 10, 12, 12));
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(14, 14, 4, 4));
        break;
    case Picture::Crop:
        p.setPen(QPen(kInk, 3));
        p.drawPolyline(QPolygonF({QPointF(9, 3), QPointF(9, 23), QPointF(29, 23)}));
        p.drawPolyline(QPolygonF({QPointF(3, 9), QPointF(23, 9), QPointF(23, 29)}));
        break;
    case Picture::RotateLeft:
        TurnArrow(p, true);
        break;
    case Picture::RotateRight:
        TurnArrow(p, false);
        break;
    case Picture::Mirror:
        p.drawLine(16, 3, 16, 29);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(13, 6), QPointF(13, 26), QPointF(3, 26)}));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(19, 6), QPointF(19, 26), QPointF(29, 26)}));
        break;
    case Picture::Reset:
        TurnArrow(p, true);
        p.setPen(QPen(QColor(200, 60, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(16, 16);
        break;
    case Picture::Brightness:
        p.setBrush(QColor(250, 200, 40));
        p.setPen(QPen(QColor(220, 150, 20), 2));
        p.drawEllipse(QRectF(10, 10, 12, 12));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(16 + 9 * qCos(a), 16 + 9 * qSin(a)), QPointF(16 + 14 * qCos(a), 16 + 14 * qSin(a)));
        }
        break;
    case Picture::Contrast: {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(4, 4, 24, 24));
        QPainterPath half;
        half.moveTo(16, 4);
        half.arcTo(QRectF(4, 4, 24, 24), 90, 180);
        half.closeSubpath();
        p.fillPath(half, kInk);
        break;
    }
    case Picture::ApplyToAll:
        p.setBrush(QColor(220, 232, 248));
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(3 + i * 5, 3 + i * 5, 16, 16));
        break;
    }
    return pixmap;
}

} // namespace PaneArt
