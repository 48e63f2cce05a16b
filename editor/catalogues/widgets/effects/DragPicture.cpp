#include "DragPicture.h"

#include <QPainter>

DragPicture::DragPicture(QWidget* host, const QImage& picture)
    : QWidget(host->window())
    , m_picture(picture.isNull() ? QImage() : picture.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation))
{
    setObjectName(QStringLiteral("EffectDragPicture"));
    setAccessibleName(tr("Dragged effect"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(kWidth, kHeight);
    hide();
}

void DragPicture::MoveTo(QPoint global)
{
    move(parentWidget()->mapFromGlobal(global) - QPoint(kWidth / 2, kHeight / 2));
    if (!isVisible()) {
        show();
        raise();
    }
}

void DragPicture::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(kOpacity / 255.0);
    painter.drawImage(0, 0, m_picture);
}
