// Selection, focus item, keyboard moves, mouse presses, band selection and the
// drop marker of the thumbnail list, as indices into its items. The focus item
// anchors Shift ranges. The list widget forwards its input here and repaints;
// the rules themselves need no window. Cell geometry comes from
// PhotoListLayout.
#pragma once

#include "PhotoListLayout.h"

#include <QPoint>
#include <QRect>
#include <Qt>
#include <functional>
#include <vector>

class PhotoListSelection {
public:
    // Called when the focus item changes through SetFocusItem (old, new).
    std::function<void(int, int)> focusChanged;

    const std::vector<int>& Selected() const { return m_selected; } // ascending, no duplicates
    bool IsSelected(int index) const;
    int SelectedCount() const { return int(m_selected.size()); }
    int FocusItem() const { return m_focus; }

    // Adds index (kept sorted); with toggle an index already selected is removed.
    void Select(int index, bool toggle = false);
    void ClearSelection() { m_selected.clear(); }
    void SelectAll(int count);
    // Items were removed: indices at or past the new count leave the
    // selection (and the one remembered for a band); the others stay as
    // they are, lists that reorder set the selection themselves.
    void DropFrom(int count);
    void SetFocusItem(int index);

    // The scroll-bar update: when the item count differs from the one seen
    // last time the focus item is reset to -1 and true is returned (the list
    // then scrolls back to the top); a focus item is selected again.
    bool SyncItemCount(int count);

    // Home, End and the page keys go to the first item, the last item, or a
    // page of rows up or down (clamped to the first or last item); without a
    // focus item the page keys scroll by a page.
    enum class Key { Left, Right, Up, Down, Home, End, PageUp, PageDown, Delete };
    struct KeyResult {
        int scrollBy = 0;       // pixels to scroll (Up, Down and pages without a focus item)
        int ensureVisible = -1; // the new focus item, to be scrolled into view
        bool notifyDelete = false;
    };
    KeyResult PressKey(Key key, Qt::KeyboardModifiers modifiers, int count, const PhotoListLayout& layout);

    // Left button down on item `hit` (-1: empty space) at a content point.
    struct PressResult {
        bool bandStarted = false; // empty space: the band selection's tracking begins
        bool pendingDrag = false; // item pressed without Shift or Ctrl
        bool several = false;     // more than one item selected when the item was pressed
    };
    PressResult PressLeft(int hit, Qt::KeyboardModifiers modifiers, QPoint content);
    // Left button up over item `hit`; ends a band that never passed the drag
    // threshold. pendingDrag is cleared by the caller after its release handling.
    void ReleaseLeft(int hit, Qt::KeyboardModifiers modifiers);

    // Band selection, points in content coordinates.
    bool InBand() const { return m_band; }
    QRect BandRect() const; // normalised, from anchor to end
    void BandBegin();
    void BandMove(QPoint content, bool ctrl, int count, const PhotoListLayout& layout);
    void BandModifiersChanged(QPoint content, bool ctrl, int count, const PhotoListLayout& layout);
    void BandEnd();
    // Escape or a lost button: the selection goes back to what it was when
    // the band began, the focus item is cleared.
    void BandCancel();

    // Insertion marker while an item is dragged inside the list.
    enum class MarkerKind { None = 0, BeforeFirst = 1, AfterLast = 2, BeforeTarget = 3 };
    struct DropMarker {
        int target = -1;
        MarkerKind kind = MarkerKind::None;
    };
    DropMarker MarkerAt(QPoint client, int hit, int scrollY, int count, const PhotoListLayout& layout) const;
    // The rectangle of a marker in client coordinates (empty for None).
    static QRect MarkerRect(const DropMarker& marker, int scrollY, int count, const PhotoListLayout& layout);

private:
    void SelectBand(bool ctrl, int count, const PhotoListLayout& layout);

    std::vector<int> m_selected;
    std::vector<int> m_beforeBand;
    int m_focus = -1;
    int m_seenCount = -1;
    bool m_band = false;
    QPoint m_anchor, m_end;
};
