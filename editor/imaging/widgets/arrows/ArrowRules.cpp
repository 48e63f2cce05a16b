#include "ArrowRules.h"

#include <QPainter>
#include <QPolygon>

namespace ArrowRules {

QRect ContentRect(const QRect& client)
{
    QRect content = client.adjusted(kBand, 0, -kBand, 0);
    return content.isValid() ? content : QRect();
}

QRect ArrowBox(const QRect& client, int arrow)
{
    if (arrow == kLeft)
        return QRect(client.left(), client.top(), kBand, client.height());
    if (arrow == kRight)
        return QRect(client.left() + client.width() - kBand, client.top(), kBand, client.height());
    return QRect();
}

int HitTest(const QRect& client, const QPoint& point)
{
    if (!client.contains(point))
        return kNone;
    if (point.x() < client.left() + kBand)
        return kLeft;
    if (point.x() >= client.left() + client.width() - kBand)
        return kRight;
    return kNone;
}

bool ClickFires(int pressed, bool leftEnabled, bool rightEnabled)
{
    return (pressed == kLeft && leftEnabled) || (pressed == kRight && rightEnabled);
}

QPoint PicturePosition(const QRect& box, const QSize& picture)
{
    if (box.width() > picture.width() && box.height() > picture.height())
        return QPoint(box.left() + (box.width() - picture.width()) / 2,
                      box.top() + (box.height() - picture.height()) / 2);
    return box.topLeft();
}

QRect PhotoViewRect(const QRect& client)
{
    const int x = client.left() + kBand + (client.width() - kBand - kViewSlot) / 2;
    const int y = client.top() + (client.height() - kViewSize.height()) / 2;
    return QRect(QPoint(x, y), kViewSize);
}

QImage ArrowPicture(int arrow, bool enabled)
{
    QImage image(kPictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(enabled ? QColor(64, 64, 64) : QColor(176, 176, 176));
    // A slim triangle: its point at one side's middle, its base at the other.
    const int w = kPictureSize.width() - 1;
    const int mid = kPictureSize.height() / 2;
    QPolygon triangle;
    if (arrow == kLeft)
        triangle << QPoint(1, mid) << QPoint(w, mid - 12) << QPoint(w, mid + 12);
    else
        triangle << QPoint(w - 1, mid) << QPoint(0, mid - 12) << QPoint(0, mid + 12);
    painter.drawPolygon(triangle);
    return image;
}

} // namespace ArrowRules
