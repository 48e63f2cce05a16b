#include "ButtonFace.h"

#include <QLinearGradient>
#include <QPainter>

namespace ButtonFace {

void PaintHot(QPainter& painter, const QRect& rect)
{
    if (rect.isEmpty())
        return;
    const int upper = rect.height() / 3;
    const QRect top(rect.left(), rect.top(), rect.width(), upper);
    const QRect bottom(rect.left(), rect.top() + upper, rect.width(), rect.height() - upper);
    QLinearGradient g1(top.topLeft(), top.bottomLeft());
    g1.setColorAt(0, kHotUpperTop);
    g1.setColorAt(1, kHotUpperBottom);
    painter.fillRect(top, g1);
    QLinearGradient g2(bottom.topLeft(), bottom.bottomLeft());
    g2.setColorAt(0, kHotLowerTop);
    g2.setColorAt(1, kHotLowerBottom);
    painter.fillRect(bottom, g2);
    painter.save();
    painter.setPen(kHotFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

QRect PressedTintRect(const QRect& rect)
{
    return rect.adjusted(3, 1, -3, -1);
}

void PaintPressedTint(QPainter& painter, const QRect& rect)
{
    painter.fillRect(PressedTintRect(rect), kPressedTint);
}

} // namespace ButtonFace
