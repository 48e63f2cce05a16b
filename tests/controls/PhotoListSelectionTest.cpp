#include "editor/shell/controls/PhotoListSelection.h"

#include <gtest/gtest.h>

namespace {

using Key = PhotoListSelection::Key;
using Kind = PhotoListSelection::MarkerKind;
using Indices = std::vector<int>;
constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;

// Four columns of 102 x 124 cells in a 450 x 300 client.
PhotoListLayout Layout()
{
    PhotoListLayout layout(18);
    layout.SetClientSize({450, 300});
    return layout;
}

// Content point inside the picture of item i.
QPoint On(const PhotoListLayout& layout, int i)
{
    return layout.CellRect(i).topLeft() + QPoint(10, 10);
}

} // namespace

TEST(PhotoListSelection, SelectKeepsAnAscendingSetAndToggles)
{
    PhotoListSelection s;
    s.Select(5);
    s.Select(2);
    s.Select(5);
    EXPECT_EQ(s.Selected(), (Indices{2, 5}));
    s.Select(2, true);
    s.Select(7, true);
    EXPECT_EQ(s.Selected(), (Indices{5, 7}));
    s.SelectAll(4);
    EXPECT_EQ(s.Selected(), (Indices{0, 1, 2, 3}));
}

TEST(PhotoListSelection, FocusChangesAreReported)
{
    PhotoListSelection s;
    std::vector<std::pair<int, int>> seen;
    s.focusChanged = [&seen](int from, int to) { seen.emplace_back(from, to); };
    s.SetFocusItem(3);
    s.SetFocusItem(3);
    s.SetFocusItem(-1);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{-1, 3}, {3, -1}}));
}

TEST(PhotoListSelection, KeyboardMoves)
{
    const PhotoListLayout layout = Layout();
    struct Case {
        const char* name; int count; int focus; Key key; Qt::KeyboardModifiers mods;
        int newFocus; Indices selected; int scrollBy;
    };
    const Case cases[] = {
        {"Right, no focus, empty list", 0, -1, Key::Right, None, -1, {}, 0},
        {"Right, no focus", 5, -1, Key::Right, None, 0, {0}, 0},
        {"Left, no focus", 5, -1, Key::Left, None, 4, {4}, 0},
        {"Right at the last item", 5, 4, Key::Right, None, 4, {4}, 0},
        {"Left at item 0", 5, 0, Key::Left, None, 0, {0}, 0},
        {"Right", 5, 1, Key::Right, None, 2, {2}, 0},
        {"Ctrl+Right adds", 5, 1, Key::Right, Ctrl, 2, {1, 2}, 0},
        {"Down one row", 10, 1, Key::Down, None, 5, {5}, 0},
        {"Down on the last row", 10, 8, Key::Down, None, 8, {8}, 0},
        {"Down onto a missing cell", 10, 7, Key::Down, None, 7, {7}, 0},
        {"Up from the first row", 10, 2, Key::Up, None, 2, {2}, 0},
        {"Up one row", 10, 6, Key::Up, None, 2, {2}, 0},
        {"Down, no focus, scrolls a cell", 10, -1, Key::Down, None, -1, {}, 124},
        {"Up, no focus, scrolls a cell", 10, -1, Key::Up, None, -1, {}, -124},
        {"Home", 10, 5, Key::Home, None, 0, {0}, 0},
        {"End, no focus", 10, -1, Key::End, None, 9, {9}, 0},
        {"Home, empty list", 0, -1, Key::Home, None, -1, {}, 0},
        {"Page down: two rows fit", 20, 1, Key::PageDown, None, 9, {9}, 0},
        {"Page down near the end", 20, 15, Key::PageDown, None, 19, {19}, 0},
        {"Page up", 20, 9, Key::PageUp, None, 1, {1}, 0},
        {"Page up near the start", 20, 3, Key::PageUp, None, 0, {0}, 0},
        {"Page down, no focus, scrolls a page", 20, -1, Key::PageDown, None, -1, {}, 248},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PhotoListSelection s;
        if (c.focus != -1) {
            s.Select(c.focus);
            s.SetFocusItem(c.focus);
        }
        const auto result = s.PressKey(c.key, c.mods, c.count, layout);
        EXPECT_EQ(s.FocusItem(), c.newFocus);
        EXPECT_EQ(s.Selected(), c.selected);
        EXPECT_EQ(result.scrollBy, c.scrollBy);
        EXPECT_EQ(result.ensureVisible, c.newFocus != c.focus ? c.newFocus : -1);
    }
}

TEST(PhotoListSelection, DeleteKeyNotifiesOnlyWithASelection)
{
    const PhotoListLayout layout = Layout();
    PhotoListSelection s;
    EXPECT_FALSE(s.PressKey(Key::Delete, None, 5, layout).notifyDelete);
    s.Select(1);
    EXPECT_TRUE(s.PressKey(Key::Delete, None, 5, layout).notifyDelete);
}

TEST(PhotoListSelection, ClicksWithShiftAndCtrl)
{
    struct Step { int item; Qt::KeyboardModifiers mods; Indices selected; int focus; bool pendingDrag; };
    struct Case { const char* name; std::vector<Step> steps; };
    const Case cases[] = {
        {"Shift ranges from the focus item",
         {{2, None, {2}, 2, true}, {6, Shift, {2, 3, 4, 5, 6}, 2, false}, {4, Shift, {2, 3, 4}, 2, false}}},
        {"Shift without a focus item selects the item",
         {{5, Shift, {5}, 5, false}}},
        {"Ctrl toggles and keeps the focus item",
         {{1, None, {1}, 1, true}, {3, Ctrl, {1, 3}, 1, false}, {1, Ctrl, {3}, 1, false}}},
        {"Ctrl without a focus item toggles and focuses",
         {{3, Ctrl, {3}, 3, false}}},
        {"a press on a selected item keeps a multiple selection",
         {{1, None, {1}, 1, true}, {4, Shift, {1, 2, 3, 4}, 1, false}, {3, None, {1, 2, 3, 4}, 3, true}}},
        {"a press on an unselected item replaces a multiple selection",
         {{1, None, {1}, 1, true}, {3, Shift, {1, 2, 3}, 1, false}, {6, None, {6}, 6, true}}},
    };
    const PhotoListLayout layout = Layout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PhotoListSelection s;
        for (const Step& step : c.steps) {
            const auto result = s.PressLeft(step.item, step.mods, On(layout, step.item));
            s.ReleaseLeft(step.item, step.mods);
            EXPECT_EQ(s.Selected(), step.selected);
            EXPECT_EQ(s.FocusItem(), step.focus);
            EXPECT_EQ(result.pendingDrag, step.pendingDrag);
            EXPECT_FALSE(result.bandStarted);
        }
    }
}

TEST(PhotoListSelection, PressOnEmptySpace)
{
    PhotoListSelection s;
    s.Select(1);
    s.Select(2);
    s.SetFocusItem(2);
    auto result = s.PressLeft(-1, Ctrl, {440, 10});
    EXPECT_TRUE(result.bandStarted);
    EXPECT_EQ(s.Selected(), (Indices{1, 2})); // Ctrl keeps the selection
    EXPECT_EQ(s.FocusItem(), 2);
    s.ReleaseLeft(-1, Ctrl); // released before the band began
    EXPECT_FALSE(s.InBand());
    result = s.PressLeft(-1, None, {440, 10});
    EXPECT_TRUE(s.InBand());
    EXPECT_TRUE(s.Selected().empty());
    EXPECT_EQ(s.FocusItem(), -1);
}

TEST(PhotoListSelection, ReleaseOverAnotherItemAfterAPressInAMultipleSelection)
{
    PhotoListSelection s;
    s.PressLeft(1, None, {});
    s.PressLeft(3, Shift, {});
    s.PressLeft(2, None, {}); // keeps 1..3 for a drag
    s.ReleaseLeft(5, None);
    EXPECT_EQ(s.Selected(), (Indices{5}));
    EXPECT_EQ(s.FocusItem(), 5);
}

TEST(PhotoListSelection, BandSelectsCellsCoveredByMoreThanAThird)
{
    const PhotoListLayout layout = Layout();
    // Cell 0 is x 7..103, y 7..125 in content; a third of the cell is 34 x 41.
    struct Case { QPoint anchor; QPoint end; Indices selected; };
    const Case cases[] = {
        {{7, 7}, {41, 60}, {}},         // 34 wide: a third, not more
        {{7, 7}, {42, 60}, {0}},        // 35 wide
        {{42, 7}, {7, 48}, {}},         // 41 high, dragged leftwards
        {{42, 7}, {7, 49}, {0}},        // 42 high
        {{70, 20}, {150, 100}, {1}},    // 33 wide of cell 0, 41 wide of cell 1
        {{2, 2}, {445, 290}, {0, 1, 2, 3, 4, 5, 6, 7}}, // 35 high of row 2
        {{2, 2}, {445, 297}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, // 42 high of row 2
        {{300, 200}, {2, 2}, {0, 1, 2, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.anchor.x() << "," << c.anchor.y() << " to " << c.end.x() << "," << c.end.y());
        PhotoListSelection s;
        s.PressLeft(-1, None, c.anchor);
        s.BandBegin();
        s.BandMove(c.end, false, 10, layout);
        EXPECT_EQ(s.Selected(), c.selected);
    }
}

TEST(PhotoListSelection, CtrlBandTogglesAgainstTheEarlierSelection)
{
    const PhotoListLayout layout = Layout();
    PhotoListSelection s;
    s.Select(0);
    s.Select(5);
    s.PressLeft(-1, Ctrl, {2, 2});
    s.BandBegin();
    s.BandMove({220, 60}, true, 10, layout); // covers cells 0 and 1
    EXPECT_EQ(s.Selected(), (Indices{1, 5}));
    s.BandMove({120, 60}, true, 10, layout); // back to cell 0 only
    EXPECT_EQ(s.Selected(), (Indices{5}));
    s.BandModifiersChanged({220, 60}, false, 10, layout); // Ctrl let go: the band alone
    EXPECT_EQ(s.Selected(), (Indices{0, 1}));
    s.BandEnd();
    EXPECT_FALSE(s.InBand());
    EXPECT_EQ(s.Selected(), (Indices{0, 1}));
}

TEST(PhotoListSelection, EscapeDuringABandGoesBackToTheSelectionBeforeIt)
{
    const PhotoListLayout layout = Layout();
    struct Case { Qt::KeyboardModifiers mods; Indices before; Indices after; };
    const Case cases[] = {
        {None, {0, 5}, {}},     // the press on empty space had cleared it
        {Ctrl, {0, 5}, {0, 5}}, // a Ctrl band keeps the selection it started from
    };
    for (const Case& c : cases) {
        PhotoListSelection s;
        for (int i : c.before)
            s.Select(i);
        s.SetFocusItem(5);
        s.PressLeft(-1, c.mods, {2, 2});
        s.BandBegin();
        s.BandMove({300, 200}, c.mods == Ctrl, 10, layout);
        EXPECT_FALSE(s.Selected().empty());
        s.BandCancel();
        EXPECT_EQ(s.Selected(), c.after);
        EXPECT_EQ(s.FocusItem(), -1);
        EXPECT_FALSE(s.InBand());
    }
}

TEST(PhotoListSelection, ACountChangeResetsFocusAndScroll)
{
    PhotoListSelection s;
    EXPECT_TRUE(s.SyncItemCount(5));
    s.PressLeft(3, None, {});
    s.Select(3, true); // focus item no longer selected
    EXPECT_FALSE(s.SyncItemCount(5));
    EXPECT_EQ(s.Selected(), (Indices{3})); // the focus item is selected again
    EXPECT_TRUE(s.SyncItemCount(6));        // an item was appended
    EXPECT_EQ(s.FocusItem(), -1);
}

TEST(PhotoListSelection, DropMarker)
{
    const PhotoListLayout layout = Layout();
    PhotoListSelection s;
    s.Select(2);
    const auto text = [](int) { return 0; };
    struct Case { QPoint client; int scrollY; int count; int target; Kind kind; };
    const Case cases[] = {
        {{50, 5}, 0, 6, -1, Kind::BeforeFirst},   // above the first cell
        {{50, 40}, 0, 6, 0, Kind::BeforeFirst},   // on item 0
        {{150, 40}, 0, 6, 1, Kind::BeforeTarget}, // on item 1
        {{250, 40}, 0, 6, 2, Kind::None},         // on a selected item
        {{250, 160}, 0, 6, -1, Kind::AfterLast},  // right of the last cell, below its top
        {{50, 270}, 0, 6, -1, Kind::AfterLast},   // below the last cell
        {{105, 40}, 0, 6, -1, Kind::None},        // between two cells of the first row
        {{50, 40}, 0, 0, -1, Kind::None},         // empty list
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.x() << "," << c.client.y() << " count " << c.count);
        const int hit = layout.HitTest(c.client, c.scrollY, c.count, text);
        const auto marker = s.MarkerAt(c.client, hit, c.scrollY, c.count, layout);
        EXPECT_EQ(marker.target, c.target);
        EXPECT_EQ(marker.kind, c.kind);
    }
    EXPECT_EQ(PhotoListSelection::MarkerRect({-1, Kind::AfterLast}, 0, 6, layout), QRect(205, 131, 6, 118));
    EXPECT_EQ(PhotoListSelection::MarkerRect({1, Kind::BeforeTarget}, 0, 6, layout), QRect(103, 7, 6, 118));
    EXPECT_EQ(PhotoListSelection::MarkerRect({-1, Kind::BeforeFirst}, 124, 6, layout), QRect(1, -117, 6, 118));
    EXPECT_TRUE(PhotoListSelection::MarkerRect({}, 0, 6, layout).isNull());
}

TEST(PhotoListSelection, RemovedItemsLeaveTheSelection)
{
    PhotoListSelection s;
    for (int i : {1, 4, 6, 7})
        s.Select(i);
    s.DropFrom(6);
    EXPECT_EQ(s.Selected(), (Indices{1, 4}));
    s.DropFrom(0);
    EXPECT_EQ(s.Selected(), Indices{});
}
