#include "editor/imaging/widgets/photoview/RedEyeTool.h"

#include <QPainter>
#include <QPixmap>

bool RedEyeTool::Click(QPoint at, QRect drawn)
{
    if (!drawn.contains(at))
        return false;
    emit RedEyeRequested(at);
    return true;
}

QCursor RedEyeTool::Cursor()
{
    constexpr int kSide = 32;
    constexpr int kCentre = kSide / 2;
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // A white outline under every stroke keeps the cursor seen on dark photos.
    for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 3.0}, std::pair{QColor(200, 0, 0), 1.5}}) {
        painter.setPen(QPen(colour, width));
        painter.drawEllipse(QPointF(kCentre, kCentre), 7, 7);
        painter.drawLine(QPointF(kCentre, 2), QPointF(kCentre, 11));
        painter.drawLine(QPointF(kCentre, 21), QPointF(kCentre, 30));
        painter.drawLine(QPointF(2, kCentre), QPointF(11, kCentre));
        painter.drawLine(QPointF(21, kCentre), QPointF(30, kCentre));
    }
    painter.end();
    return QCursor(picture, kCentre, kCentre);
}
