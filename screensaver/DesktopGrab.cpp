#include "screensaver/DesktopGrab.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace DesktopGrab {

QRect VirtualScreen()
{
    QRect all;
    for (const QScreen* screen : QGuiApplication::screens())
        all = all.united(screen->geometry());
    return all;
}

QImage Grab(const QRect& area)
{
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        const QRect part = geometry.intersected(area);
        if (part.isEmpty())
            continue;
        const QPixmap shot = screen->grabWindow(0, part.x() - geometry.x(), part.y() - geometry.y(), part.width(),
                                                part.height());
        if (!shot.isNull())
            painter.drawPixmap(QRect(part.topLeft() - area.topLeft(), part.size()), shot);
    }
    painter.end();
    return picture;
}

} // namespace DesktopGrab
