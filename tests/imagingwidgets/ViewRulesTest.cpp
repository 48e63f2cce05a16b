// The editor view's and the caption box's rules without a display: where a
// picture is drawn, the crop tracker and its drags, the caption box's handles,
// drags and growth while typing.
#include "editor/imaging/widgets/caption/CaptionBoxGeometry.h"
#include "editor/imaging/widgets/photoview/CropTool.h"
#include "editor/imaging/widgets/photoview/RectTracker.h"
#include "editor/imaging/widgets/photoview/ViewPlacement.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Geometry = CaptionBoxGeometry;

TEST(ViewPlacement, FitsAndCentresOnTheCanvas)
{
    const struct {
        QSize picture;
        QRect drawn;
    } cases[] = {
        {{4000, 3000}, {0, 0, 480, 360}},
        {{300, 200}, {90, 80, 300, 200}},
        {{2000, 3000}, {120, 0, 240, 360}},
        {{1000, 900}, {40, 0, 400, 360}},
        {{480, 360}, {0, 0, 480, 360}},
        {{0, 0}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ViewPlacement::DrawnRect(c.picture), c.drawn) << c.picture.width() << "x" << c.picture.height();
}

TEST(ViewPlacement, CropStartsOnTheMiddleThird)
{
    // Edges (160, 120, 320, 240) on a 480 x 360 picture.
    EXPECT_EQ(ViewPlacement::MiddleThird(QRect(0, 0, 480, 360)), QRect(160, 120, 160, 120));
    EXPECT_EQ(ViewPlacement::MiddleThird(QRect(90, 80, 300, 200)), QRect(190, 146, 100, 68));
}

TEST(RectTracker, HitsHandlesOutsideAndTheInside)
{
    const RectTracker tracker(QRect(160, 120, 160, 120));
    const struct {
        QPoint at;
        RectTracker::Hit hit;
    } cases[] = {
        {{155, 115}, RectTracker::TopLeft},  {{322, 242}, RectTracker::BottomRight},
        {{240, 115}, RectTracker::Top},      {{155, 180}, RectTracker::Left},
        {{200, 150}, RectTracker::Inside},   {{319, 239}, RectTracker::Inside},
        {{100, 100}, RectTracker::Nothing},  {{240, 250}, RectTracker::Nothing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tracker.HitTest(c.at), c.hit) << c.at.x() << "," << c.at.y();
}

TEST(RectTracker, DragsMoveSizeAndTurnInsideOut)
{
    const struct {
        QPoint press;
        QPoint to;
        QRect result;
    } cases[] = {
        {{200, 150}, {210, 140}, {170, 110, 160, 120}}, // inside: moved
        {{322, 242}, {352, 262}, {160, 120, 190, 140}}, // bottom-right handle
        {{322, 242}, {100, 100}, {98, 98, 62, 22}},     // past the top-left: edges swap
        {{155, 180}, {175, 999}, {180, 120, 140, 120}}, // left handle moves only the left edge
    };
    for (const auto& c : cases) {
        RectTracker tracker(QRect(160, 120, 160, 120));
        ASSERT_TRUE(tracker.BeginDrag(c.press));
        tracker.DragTo(c.to);
        tracker.EndDrag();
        EXPECT_EQ(tracker.Rect(), c.result) << c.press.x() << "," << c.press.y();
    }
    RectTracker tracker(QRect(160, 120, 160, 120));
    EXPECT_FALSE(tracker.BeginDrag(QPoint(10, 10)));
}

TEST(CropTool, ClickBesideEndsTheModeAndKeepsTheTracker)
{
    CropTool tool;
    QSignalSpy requests(&tool, &CropTool::CropRequested);
    tool.Enter(QRect(0, 0, 480, 360));
    EXPECT_FALSE(tool.DoubleClick(QPoint(20, 20)));
    EXPECT_FALSE(tool.Press(QPoint(20, 20)));
    EXPECT_FALSE(tool.Active());
    EXPECT_TRUE(tool.HasTracker());
    // Entering again finds the tracker where it was, whatever the picture.
    tool.Enter(QRect(90, 80, 300, 200));
    EXPECT_EQ(tool.TrackerRect(), QRect(160, 120, 160, 120));
    EXPECT_TRUE(tool.DoubleClick(QPoint(240, 180)));
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).value<ImageOps::EdgeRect>(), (ImageOps::EdgeRect{160, 120, 320, 240}));
    tool.Leave();
    EXPECT_FALSE(tool.HasTracker());
    EXPECT_FALSE(tool.DoubleClick(QPoint(240, 180)));
}

TEST(CaptionBoxGeometry, HandlesAreHitInOrder)
{
    const QSize box(120, 30);
    const struct {
        QPoint at;
        Geometry::DragMode mode;
    } cases[] = {
        {{1, 1}, Geometry::TopLeft},     {{60, 1}, Geometry::Top},      {{117, 1}, Geometry::TopRight},
        {{117, 14}, Geometry::Right},    {{117, 27}, Geometry::BottomRight}, {{59, 27}, Geometry::Bottom},
        {{1, 27}, Geometry::BottomLeft}, {{1, 14}, Geometry::Left},     {{30, 1}, Geometry::Move},
        {{60, 15}, Geometry::Move},      {{4, 4}, Geometry::Move},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry::HitTest(box, c.at), c.mode) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(Geometry::InnerRect(box), QRect(4, 4, 112, 22));
    EXPECT_EQ(Geometry::FrameRect(box), QRect(2, 2, 116, 26));
}

TEST(CaptionBoxGeometry, DragsNeverGoBelowTheSmallestBox)
{
    const QRect start = Geometry::DefaultBox();
    ASSERT_EQ(start, QRect(180, 300, 120, 30));
    const QPoint press(299, 329);
    const struct {
        Geometry::DragMode mode;
        QPoint to;
        QRect result;
    } cases[] = {
        {Geometry::BottomRight, {250, 310}, {180, 300, 120, 30}}, // up-left stops at 120 x 30
        {Geometry::BottomRight, {100, 100}, {180, 300, 120, 30}}, // past the top-left too
        {Geometry::BottomRight, {400, 380}, {180, 300, 220, 80}},
        {Geometry::Left, {100, 0}, {100, 300, 200, 30}},
        {Geometry::Left, {290, 0}, {290, 300, 120, 30}}, // the right edge is pushed out
        {Geometry::Top, {0, 340}, {180, 340, 120, 30}},
        {Geometry::TopLeft, {0, 0}, {0, 0, 300, 330}},
        {Geometry::Move, {269, 349}, {150, 320, 120, 30}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry::Dragged(start, c.mode, press, c.to), c.result) << c.mode;
}

TEST(CaptionBoxGeometry, GrowsALineWhenTheLastLineIsFull)
{
    const struct {
        Geometry::Typing typing;
        int growth;
    } cases[] = {
        {{20, 112, 20, 1, 50, 8}, 0},  // room left on the line
        {{20, 112, 20, 1, 106, 8}, 20}, // one more character would wrap: room for a line
        {{22, 112, 16, 1, 106, 8}, 10}, // to a whole number of lines
        {{40, 112, 20, 1, 106, 8}, 0},  // the next line has room already
        {{40, 112, 20, 2, 106, 8}, 20},
        {{20, 112, 20, 3, 10, 8}, 40},  // pasted lines are all shown
        {{20, 112, 0, 3, 10, 8}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry::Growth(c.typing), c.growth) << c.typing.areaHeight << " " << c.typing.lineCount;
}

TEST(CaptionBoxGeometry, StoredLinesKeep255Characters)
{
    const QStringList lines = Geometry::StoredLines({QString(300, 'x'), "short"});
    EXPECT_EQ(lines.at(0).size(), 255);
    EXPECT_EQ(lines.at(1), "short");
}

} // namespace
