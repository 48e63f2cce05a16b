// The transition strip's geometry and drag rules without a display: the
// metrics of the edit step's strip, the hit tests of arrows, cells and gaps,
// scrolling within its limits and the outcome of every kind of release.
#include "editor/catalogues/widgets/strip/StripDragRules.h"
#include "editor/catalogues/widgets/strip/StripLayout.h"

#include <gtest/gtest.h>

namespace {

using Cell = StripLayout::Cell;
using Hit = StripLayout::Hit;
using Gap = StripLayout::Gap;

// Three whole slots of the 96-pixel strip between the arrow zones.
constexpr int kWidth = 40 + 3 * 159;

StripLayout Strip(int count, int width = kWidth, int height = 96)
{
    StripLayout layout;
    layout.SetSize(width, height);
    layout.SetCount(count);
    return layout;
}

} // namespace

TEST(StripLayout, MetricsFollowTheHeight)
{
    struct Case {
        int height, photo, slot;
    };
    for (const Case& c : {Case{96, 86, 159}, Case{60, 50, 105}, Case{97, 87, 160}}) {
        SCOPED_TRACE(c.height);
        const StripLayout layout = Strip(5, 800, c.height);
        EXPECT_EQ(layout.PhotoSize(), c.photo);
        EXPECT_EQ(layout.SlotWidth(), c.slot);
    }
    const StripLayout layout = Strip(5);
    EXPECT_EQ(layout.PhotoCell(0), QRect(25, 5, 86, 86));
    EXPECT_EQ(layout.PhotoCell(2), QRect(25 + 2 * 159, 5, 86, 86));
    EXPECT_EQ(layout.TransitionCell(1), QRect(25 + 159 + 86 + 5, 26, 43, 43));
}

TEST(StripLayout, VisibleSlotsRoundUpAPartSlot)
{
    struct Case {
        int width, visible;
    };
    for (const Case& c : {Case{kWidth, 3}, Case{kWidth + 1, 4}, Case{kWidth - 1, 3}, Case{40, 0}, Case{30, 0}}) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(Strip(10, c.width).VisibleSlots(), c.visible);
    }
}

TEST(StripLayout, HitTestsOfArrowsAndCells)
{
    StripLayout layout = Strip(5);
    struct Case {
        QPoint p;
        int zone;
        Hit hit;
    };
    const Case cases[] = {
        {{0, 50}, 1, {}},
        {{19, 50}, 1, {}},
        {{20, 50}, -1, {}},
        {{kWidth - 20, 50}, 2, {}},
        {{kWidth - 21, 50}, -1, {2, Cell::Transition}},
        {{25, 5}, -1, {0, Cell::Photo}},
        {{110, 90}, -1, {0, Cell::Photo}},
        {{111, 50}, -1, {}},                      // between photo and transition
        {{116, 27}, -1, {0, Cell::Transition}},   // transition cell's corner
        {{178, 68}, -1, {0, Cell::Transition}},   // P / 2 wide, beyond the 43-pixel cell
        {{179, 50}, -1, {}},                      // slot 1, before its photo cell
        {{116, 25}, -1, {}},                      // above the transition cell
        {{25 + 159, 40}, -1, {1, Cell::Photo}},
        {{25 + 2 * 159 + 91, 40}, -1, {2, Cell::Transition}},
        {{24, 40}, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        EXPECT_EQ(layout.ArrowZone(c.p), c.zone);
        EXPECT_EQ(layout.HitCell(c.p), c.hit);
    }
    // Scrolled by two: the first slot shows item 2; past the last item nothing.
    layout.Scroll(2);
    layout.Scroll(2);
    EXPECT_EQ(layout.HitCell({30, 40}), (Hit{2, Cell::Photo}));
    EXPECT_EQ(layout.HitCell({25 + 2 * 159 + 10, 40}), (Hit{4, Cell::Photo}));
    EXPECT_EQ(Strip(2).HitCell({25 + 2 * 159 + 10, 40}), Hit{});
}

TEST(StripLayout, GapsBeforeItemsAndAfterTheLast)
{
    struct Case {
        int count, scrolled;
        QPoint p;
        Gap gap;
    };
    const Case cases[] = {
        {5, 0, {150, 50}, {Gap::Before, 0}},          // slot 0
        {5, 0, {170, 50}, {Gap::Before, 0}},          // last 20 pixels of slot 0, at the start
        {5, 0, {200, 50}, {Gap::Before, 1}},
        {5, 0, {350, 50}, {Gap::Before, 2}},
        {5, 0, {330, 50}, {}},                        // slot 1's last 20 pixels, not scrolled
        {2, 0, {350, 50}, {Gap::AfterLast, -1}},      // slot 2 past the last item
        {5, 0, {200, 2}, {}},                         // above the slots
        {5, 2, {200, 50}, {Gap::Before, 3}},
        {5, 2, {330, 50}, {Gap::Before, 3}},          // scrolled: the item of that slot
        {5, 2, {10, 50}, {Gap::Before, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " items, " << c.p.x() << "," << c.p.y());
        StripLayout layout = Strip(c.count);
        for (int i = 0; i < c.scrolled; ++i)
            ASSERT_TRUE(layout.Scroll(2));
        EXPECT_EQ(layout.HitGap(c.p), c.gap);
    }
}

TEST(StripLayout, ScrollingStopsAtTheFirstItemAndWhereTheRestFit)
{
    struct Case {
        int count, lastFirst;
    };
    for (const Case& c : {Case{10, 7}, Case{3, 0}, Case{4, 1}, Case{0, 0}}) {
        SCOPED_TRACE(c.count);
        StripLayout layout = Strip(c.count);
        EXPECT_TRUE(layout.AtStart());
        EXPECT_FALSE(layout.Scroll(1));
        int steps = 0;
        while (layout.Scroll(2))
            ++steps;
        EXPECT_EQ(steps, c.lastFirst);
        EXPECT_EQ(layout.FirstVisible(), c.lastFirst);
        EXPECT_TRUE(layout.AtEnd());
        EXPECT_EQ(layout.AtStart(), c.lastFirst == 0);
        while (layout.Scroll(1))
            --steps;
        EXPECT_EQ(steps, 0);
        EXPECT_EQ(layout.FirstVisible(), 0);
        EXPECT_TRUE(layout.AtStart());
    }
}

TEST(StripLayout, RemovingTheShownItemsBringsTheLastOnesBack)
{
    StripLayout layout = Strip(10);
    while (layout.Scroll(2)) {
    }
    ASSERT_EQ(layout.FirstVisible(), 7);
    layout.SetCount(6); // first visible 7 is past the end: drops by 3 slots
    EXPECT_EQ(layout.FirstVisible(), 4);
    EXPECT_TRUE(layout.AtEnd());
    layout.SetCount(1);
    EXPECT_EQ(layout.FirstVisible(), 0);
}

TEST(StripLayout, EnsureVisibleScrollsTheLeastNeeded)
{
    StripLayout layout = Strip(10);
    layout.EnsureVisible(5);
    EXPECT_EQ(layout.FirstVisible(), 3);
    layout.EnsureVisible(4);
    EXPECT_EQ(layout.FirstVisible(), 3);
    layout.EnsureVisible(1);
    EXPECT_EQ(layout.FirstVisible(), 1);
    EXPECT_FALSE(layout.AtStart());
}

TEST(StripDragRules, ReleaseOutcomes)
{
    using O = StripDragRules::Outcome;
    struct Case {
        const char* what;
        int pressed;
        Cell pressedCell;
        Hit hit;
        Gap gap;
        O outcome;
    };
    const Case cases[] = {
        {"photo onto photo", 1, Cell::Photo, {3, Cell::Photo}, {}, {O::ExchangePhotos, 1, 3}},
        {"transition onto transition", 3, Cell::Transition, {0, Cell::Transition}, {},
         {O::ExchangeTransitions, 3, 0}},
        {"photo onto transition", 1, Cell::Photo, {3, Cell::Transition}, {}, {}},
        {"transition onto photo", 1, Cell::Transition, {3, Cell::Photo}, {}, {}},
        {"onto its own photo", 2, Cell::Photo, {2, Cell::Photo}, {}, {}},
        {"onto its own transition", 2, Cell::Transition, {2, Cell::Transition}, {}, {}},
        {"gap before itself", 2, Cell::Photo, {}, {Gap::Before, 2}, {}},
        {"gap behind itself", 2, Cell::Photo, {}, {Gap::Before, 3}, {}},
        {"gap further on", 1, Cell::Photo, {}, {Gap::Before, 4}, {O::Move, 1, 3}},
        {"gap in front", 3, Cell::Photo, {}, {Gap::Before, 1}, {O::Move, 3, 1}},
        {"to the front", 4, Cell::Photo, {}, {Gap::Before, 0}, {O::Move, 4, 0}},
        {"after the last", 1, Cell::Photo, {}, {Gap::AfterLast, -1}, {O::Move, 1, 4}},
        {"last after the last", 4, Cell::Photo, {}, {Gap::AfterLast, -1}, {}},
        {"gap past the items clamps", 1, Cell::Photo, {}, {Gap::Before, 9}, {O::Move, 1, 3}},
        {"no gap", 1, Cell::Photo, {}, {}, {}},
        {"transition into a gap moves its photo", 0, Cell::Transition, {}, {Gap::Before, 3}, {O::Move, 0, 2}},
        {"nothing pressed", -1, Cell::Photo, {3, Cell::Photo}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StripDragRules::OnRelease(c.pressed, c.pressedCell, c.hit, c.gap, 5), c.outcome);
    }
}

TEST(StripDragRules, MarksWhileMoving)
{
    using M = StripDragRules::Marks;
    struct Case {
        const char* what;
        int pressed;
        Cell pressedCell;
        Hit hit;
        Gap gap;
        M marks;
    };
    const Case cases[] = {
        {"photo over photo", 1, Cell::Photo, {3, Cell::Photo}, {}, {3, -1, false}},
        {"photo over transition", 1, Cell::Photo, {3, Cell::Transition}, {}, {}},
        {"photo over its own cell", 1, Cell::Photo, {1, Cell::Photo}, {}, {}},
        {"transition over transition", 1, Cell::Transition, {4, Cell::Transition}, {}, {4, -1, false}},
        {"photo in a gap", 1, Cell::Photo, {}, {Gap::Before, 3}, {-1, 3, false}},
        {"photo in a gap past the items", 1, Cell::Photo, {}, {Gap::Before, 7}, {-1, 4, false}},
        {"photo after the last", 1, Cell::Photo, {}, {Gap::AfterLast, -1}, {-1, 4, true}},
        {"transition in a gap shows no bar", 1, Cell::Transition, {}, {Gap::Before, 3}, {}},
        {"photo over no gap", 1, Cell::Photo, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StripDragRules::WhileMoving(c.pressed, c.pressedCell, c.hit, c.gap, 5), c.marks);
    }
}
