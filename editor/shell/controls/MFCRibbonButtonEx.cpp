#include "MFCRibbonButtonEx.h"

#include "ButtonFace.h"

#include <QPainter>

namespace VIRSUAL_CONTROLS {

CMFCRibbonButtonEx::CMFCRibbonButtonEx(int id, const QString& text, const QPixmap& picture)
    : CRibbonElement(id), m_text(text), m_picture(picture)
{
    SetAccessibleName(text);
}

void CMFCRibbonButtonEx::SetText(const QString& text)
{
    m_text = text;
    SetAccessibleName(text);
    Redraw();
}

void CMFCRibbonButtonEx::SetPicture(const QPixmap& picture)
{
    m_picture = picture;
    Redraw();
}

void CMFCRibbonButtonEx::Paint(QPainter& painter) const
{
    const QRect r = Rect();
    if (IsEnabled() && (IsHot() || IsPressed()))
        ButtonFace::PaintHot(painter, r);
    if (IsEnabled() && IsPressed())
        ButtonFace::PaintPressedTint(painter, r);
    int x = r.left() + 2;
    if (!m_picture.isNull()) {
        const QSize size = (QSizeF(m_picture.size()) / m_picture.devicePixelRatio()).toSize();
        if (m_text.isEmpty())
            x = r.left() + (r.width() - size.width()) / 2;
        painter.setOpacity(IsEnabled() ? 1 : 0.5);
        painter.drawPixmap(x, r.top() + (r.height() - size.height()) / 2, m_picture);
        painter.setOpacity(1);
        x += size.width() + 3;
    }
    if (!m_text.isEmpty()) {
        painter.setPen(IsEnabled() ? QColor(Qt::black) : QColor(Qt::gray));
        const QRect text(x, r.top(), r.right() - x, r.height());
        painter.drawText(text, (m_picture.isNull() ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, m_text);
    }
}

void CMFCRibbonButtonEx::OnMouseUp(const QPoint& point)
{
    if (HitTest(point))
        NotifyCommand();
}

} // namespace VIRSUAL_CONTROLS
