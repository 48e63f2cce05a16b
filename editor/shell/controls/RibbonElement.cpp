#include "RibbonElement.h"

#include "ElementHost.h"

namespace VIRSUAL_CONTROLS {

void CRibbonElement::SetRect(const QRect& rect)
{
    Redraw();
    m_rect = rect;
    Redraw();
}

void CRibbonElement::SetHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    Redraw();
}

void CRibbonElement::SetPressed(bool pressed)
{
    if (m_pressed == pressed)
        return;
    m_pressed = pressed;
    Redraw();
}

void CRibbonElement::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Redraw();
}

void CRibbonElement::NotifyCommand() const
{
    if (m_host && m_id != 0)
        m_host->SendCommand(m_id);
}

void CRibbonElement::Redraw() const
{
    if (m_host)
        m_host->update(m_rect);
}

} // namespace VIRSUAL_CONTROLS
