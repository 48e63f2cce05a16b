#include "ButtonHotRules.h"

bool ButtonHotRules::MouseEntered()
{
    const bool changed = !m_hot;
    m_hot = true;
    return changed;
}

bool ButtonHotRules::MouseLeft()
{
    const bool changed = m_hot;
    m_hot = false;
    return changed;
}

bool ButtonHotRules::Press()
{
    const bool changed = !m_pressed || !m_hot;
    m_pressed = true;
    m_hot = true;
    m_watched = true;
    return changed;
}

bool ButtonHotRules::Release(bool overButton)
{
    const bool changed = m_pressed || m_hot != overButton;
    m_pressed = false;
    m_hot = overButton;
    return changed;
}

bool ButtonHotRules::Tick(bool cursorOverButton)
{
    if (!m_watched || cursorOverButton)
        return false;
    m_watched = false;
    const bool changed = m_hot;
    m_hot = false;
    return changed;
}
