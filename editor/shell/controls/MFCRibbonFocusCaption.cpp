#include "MFCRibbonFocusCaption.h"

#include <QPainter>

namespace VIRSUAL_CONTROLS {

CMFCRibbonFocusCaption::CMFCRibbonFocusCaption(const CRibbonElement* partner, int placement, QSize size, int id)
    : CRibbonElement(id), m_partner(partner), m_placement(placement), m_size(size)
{
    SetRect(QRect(QPoint(0, 0), size));
    Reposition();
}

void CMFCRibbonFocusCaption::SetText(const QString& text)
{
    m_text = text;
    SetAccessibleName(text);
    Redraw();
}

void CMFCRibbonFocusCaption::Reposition()
{
    if (!m_partner || m_placement != kLeftOfPartner)
        return;
    const QRect partner = m_partner->Rect();
    SetRect(QRect(partner.left() - m_size.width(), partner.top() + (partner.height() - m_size.height()) / 2,
                  m_size.width(), m_size.height()));
}

void CMFCRibbonFocusCaption::Paint(QPainter& painter) const
{
    painter.setPen(IsEnabled() ? QColor(Qt::black) : QColor(Qt::gray));
    painter.drawText(Rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

void CMFCRibbonFocusCaption::OnMouseUp(const QPoint& point)
{
    if (HitTest(point))
        NotifyCommand();
}

} // namespace VIRSUAL_CONTROLS
