// The step tab strip's state and layout, apart from its widget: which tabs fit,
// where they go, which is selected and which is hot, and what a click does.
// The strip only draws; switching the step is the client view's business.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class StepTabRules {
public:
    static constexpr int kPitch = 100;
    static constexpr int kTabWidth = 97;
    static constexpr int kLeftInset = 3;

    struct Tab {
        QString caption;
        bool selected = false;
        bool hot = false;
        bool visible = true;
        QRect rect; // empty while hidden
    };

    // The first tab added starts selected.
    void AddTab(const QString& caption);
    int Count() const { return int(m_tabs.size()); }
    const Tab& At(int index) const { return m_tabs[size_t(index)]; }
    int Selected() const { return m_selected; }
    int Hot() const { return m_hot; }

    // Places the tabs in a client rectangle: the area is the rectangle less
    // 10 pixels left and right and 1 top and bottom; tabs that do not fit at
    // a pitch of 100 are hidden from the right.
    void LayOut(const QRect& client);

    // The hover tick: the tab under the cursor becomes hot (none when the
    // cursor is elsewhere). Returns the tabs whose hot flag changed.
    std::vector<int> Hover(QPoint point, bool cursorOverStrip);
    // Left button down: selects the hot tab when it is not the selected one
    // and returns its index (the step to switch to); -1 when nothing happens.
    int Click();
    // Marks a tab selected without switching; false when ignored (out of range
    // or already selected).
    bool SelectTab(int index);

    // The state image of a tab: 1 selected, 2 hot, 0 otherwise.
    int ImageOf(int index) const;
    // Where the strip goes in the top band of the given width and height:
    // 45 pixels from the left, 50 narrower than the band, leaving one pixel
    // free below it, over the band's lowest `stripHeight` pixels.
    static QRect StripRect(int bandWidth, int bandHeight, int stripHeight);

private:
    std::vector<Tab> m_tabs;
    int m_selected = 0;
    int m_hot = -1;
};
