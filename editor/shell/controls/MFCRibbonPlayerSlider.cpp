#include "MFCRibbonPlayerSlider.h"

#include <QPainter>

namespace VIRSUAL_CONTROLS {

CMFCRibbonPlayerSlider::CMFCRibbonPlayerSlider(int id, int minimum, int maximum, QSize captionSize)
    : CMFCRibbonSliderEx(id, minimum, maximum),
      m_caption(std::make_unique<CMFCRibbonFocusCaption>(this, CMFCRibbonFocusCaption::kLeftOfPartner, captionSize))
{
    PosChanged();
}

void CMFCRibbonPlayerSlider::PosChanged()
{
    if (!m_caption)
        return;
    m_caption->Reposition();
    m_caption->SetText(QString::asprintf("%d%%", Pos()));
    SetAccessibleName(m_caption->Text());
}

void CMFCRibbonPlayerSlider::SetHost(CElementHost* host)
{
    CMFCRibbonSliderEx::SetHost(host);
    m_caption->SetHost(host);
}

void CMFCRibbonPlayerSlider::Paint(QPainter& painter) const
{
    CMFCRibbonSliderEx::Paint(painter);
    painter.save();
    m_caption->Paint(painter);
    painter.restore();
}

} // namespace VIRSUAL_CONTROLS
