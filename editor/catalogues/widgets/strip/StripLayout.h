// Geometry of the transition strip: one slot per album photo, a square photo
// cell followed by a smaller transition cell, with a 20-pixel arrow zone at
// each end. Holds the first visible item and the scroll limits; knows nothing
// of widgets, so the numbers and the hit tests are tested without a display.
#pragma once

#include <QPoint>
#include <QRect>

class StripLayout {
public:
    enum class Cell { None, Photo, Transition };
    struct Hit {
        int index = -1;
        Cell cell = Cell::None;
        bool operator==(const Hit&) const = default;
    };
    // Where a dragged photo would go: before item `index`, or after the last item.
    struct Gap {
        enum Where { None, Before, AfterLast };
        Where where = None;
        int index = -1; // for Before; may be past the last item (callers clamp)
        bool operator==(const Gap&) const = default;
    };

    static constexpr int kArrowWidth = 20;
    static constexpr int kLeftArrow = 1;
    static constexpr int kRightArrow = 2;

    // Size change: the metrics, the first visible item and the limits.
    void SetSize(int width, int height);
    // The item count changed: the first visible item and the limits.
    void SetCount(int count);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int PhotoSize() const { return m_photoSize; } // S = H - 10
    int SlotWidth() const { return m_slotWidth; } // P = H / 2 + H + 15
    int Count() const { return m_count; }
    int FirstVisible() const { return m_first; }
    bool AtStart() const { return m_atStart; }
    bool AtEnd() const { return m_atEnd; }
    // Slots that show at least part of an item: (width - 40) / P, rounded up.
    int VisibleSlots() const;

    QRect PhotoCell(int slot) const;
    QRect TransitionCell(int slot) const;
    // The cells of an item, in the slot where it would be drawn.
    QRect PhotoCellOf(int index) const { return PhotoCell(index - m_first); }
    QRect TransitionCellOf(int index) const { return TransitionCell(index - m_first); }
    bool IsVisible(int index) const;
    // The arrow zone under x: 1 left, 2 right, -1 none.
    int ArrowZone(QPoint p) const;
    Hit HitCell(QPoint p) const;
    Gap HitGap(QPoint p) const;

    // One slot towards the start (arrow 1) or the end (arrow 2); false when the
    // strip cannot scroll that way.
    bool Scroll(int arrow);
    // Scrolls the least number of slots that shows the whole item.
    void EnsureVisible(int index);

private:
    void DropFirstVisible();
    void UpdateLimits();

    int m_width = 0;
    int m_height = 0;
    int m_photoSize = -10;
    int m_slotWidth = 15;
    int m_count = 0;
    int m_first = 0;
    bool m_atStart = true;
    bool m_atEnd = false;
};
