#include "editor/shell/StepTabRules.h"

void StepTabRules::AddTab(const QString& caption)
{
    Tab tab;
    tab.caption = caption;
    tab.selected = m_tabs.empty();
    m_tabs.push_back(tab);
}

void StepTabRules::LayOut(const QRect& client)
{
    const QRect area = client.adjusted(10, 1, -10, -1);
    int visible = Count();
    for (Tab& tab : m_tabs)
        tab.visible = true;
    while (visible > 0 && area.width() < kPitch * visible) {
        --visible;
        m_tabs[size_t(visible)].visible = false;
    }
    for (int i = 0; i < Count(); ++i) {
        Tab& tab = m_tabs[size_t(i)];
        if (!tab.visible) {
            tab.rect = QRect();
            continue;
        }
        // From the area's top to 3 pixels below its bottom.
        tab.rect = QRect(area.left() + kLeftInset + i * kPitch, area.top(), kTabWidth, area.height() + 3);
    }
}

std::vector<int> StepTabRules::Hover(QPoint point, bool cursorOverStrip)
{
    std::vector<int> changed;
    if (!cursorOverStrip) {
        // The first hot tab found is cleared; the caller stops tracking.
        for (int i = 0; i < Count(); ++i) {
            if (m_tabs[size_t(i)].hot) {
                m_tabs[size_t(i)].hot = false;
                changed.push_back(i);
                break;
            }
        }
        m_hot = -1;
        return changed;
    }
    m_hot = -1;
    for (int i = 0; i < Count(); ++i) {
        Tab& tab = m_tabs[size_t(i)];
        const bool hot = tab.visible && tab.rect.contains(point);
        if (hot)
            m_hot = i;
        if (hot != tab.hot) {
            tab.hot = hot;
            changed.push_back(i);
        }
    }
    return changed;
}

int StepTabRules::Click()
{
    if (m_hot < 0 || m_hot == m_selected)
        return -1;
    const int index = m_hot;
    SelectTab(index);
    return index;
}

bool StepTabRules::SelectTab(int index)
{
    if (index < 0 || index >= Count() || index == m_selected)
        return false;
    if (m_selected >= 0 && m_selected < Count()) {
        m_tabs[size_t(m_selected)].selected = false;
        m_tabs[size_t(m_selected)].hot = false;
    }
    m_tabs[size_t(index)].selected = true;
    m_selected = index;
    return true;
}

int StepTabRules::ImageOf(int index) const
{
    const Tab& tab = At(index);
    if (tab.selected)
        return 1;
    return tab.hot ? 2 : 0;
}

QRect StepTabRules::StripRect(int bandWidth, int bandHeight, int stripHeight)
{
    return QRect(45, bandHeight - 1 - stripHeight, bandWidth - 50, stripHeight);
}
