#include "editor/shell/controls/PhotoListAccessible.h"
#include "editor/shell/controls/PhotoListCtrl.h"
#include "editor/shell/controls/ShellTheme.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Indices = std::vector<int>;

// A list that records what the base control hands to its virtual operations.
class RecordingList : public CPhotoListCtrl {
public:
    struct Call {
        PhotoListItem* item;
        QPoint point;
        bool several;
    };
    std::vector<Call> pressed, dragged, released;
    std::vector<std::pair<int, QRect>> pictures; // index, picture area
    std::vector<int> picturesAsked;
    std::vector<std::pair<QString, QRect>> labels;
    std::vector<PhotoListItem*> activated;

    ~RecordingList() override { RemoveAll(false); }

protected:
    void DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& area) override
    {
        pictures.emplace_back(IndexOf(item), area);
        CPhotoListCtrl::DrawItemPicture(painter, item, area);
    }
    QImage GetItemPicture(PhotoListItem* item) override
    {
        picturesAsked.push_back(IndexOf(item));
        return CPhotoListCtrl::GetItemPicture(item);
    }
    void DrawLabelText(QPainter& painter, const QString& text, const QRect& rect, int flags) override
    {
        labels.emplace_back(text, rect);
        CPhotoListCtrl::DrawLabelText(painter, text, rect, flags);
    }
    void OnItemPressed(PhotoListItem* item, int x, int y, bool several) override { pressed.push_back({item, {x, y}, several}); }
    void OnItemDragged(PhotoListItem* item, int x, int y, bool several) override { dragged.push_back({item, {x, y}, several}); }
    void OnItemReleased(PhotoListItem* item, int x, int y, bool several) override { released.push_back({item, {x, y}, several}); }
    void OnItemActivated(PhotoListItem* item) override { activated.push_back(item); }
};

QImage Solid(QRgb colour)
{
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A shown list whose client area (the viewport) is 450 x 300: four columns
// of 102-pixel cells.
struct Fixture {
    RecordingList list;
    explicit Fixture(int count, QRgb colour = qRgb(200, 200, 200))
    {
        for (int i = 0; i < count; ++i)
            list.Append(QStringLiteral("photo%1.jpg").arg(i), Solid(colour));
        list.resize(500, 300);
        list.show();
        list.resize(450 + list.width() - list.viewport()->width(), 300);
        list.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&list));
    }
    QWidget* View() { return list.viewport(); }
    QPoint On(int index) { return list.CellRect(index).topLeft() + QPoint(10, 10); }
    void Click(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(View(), Qt::LeftButton, modifiers, On(index));
    }
    void Move(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, p, View()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(View(), &move);
    }
};

} // namespace

TEST(PhotoListCtrl, ClientOf450PixelsHasFourColumns)
{
    Fixture f(10);
    ASSERT_EQ(f.View()->width(), 450);
    EXPECT_EQ(f.list.ColumnCount(), 4);
    EXPECT_EQ(f.list.RowCount(), 3);
}

TEST(PhotoListCtrl, ArrowKeys)
{
    struct Case {
        int count;
        std::vector<Qt::Key> keys;
        Indices selected;
        int focus;
        int scrollY;
    };
    const std::vector<Case> cases = {
        {0, {Qt::Key_Right}, {}, -1, 0},
        {5, {Qt::Key_Right}, {0}, 0, 0},
        {5, {Qt::Key_Left}, {4}, 4, 0},
        {10, {Qt::Key_End, Qt::Key_Down}, {9}, 9, -1}, // the last row: the focus stays
        {10, {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}, {8}, 8, -1},
        {40, {Qt::Key_Down}, {}, -1, 124}, // no focus item: scroll by one cell
    };
    for (const Case& c : cases) {
        Fixture f(c.count);
        for (Qt::Key key : c.keys)
            QTest::keyClick(&f.list, key);
        EXPECT_EQ(f.list.Selection(), c.selected) << c.count;
        EXPECT_EQ(f.list.FocusItem(), c.focus) << c.count;
        if (c.scrollY >= 0) {
            EXPECT_EQ(f.list.ScrollY(), c.scrollY) << c.count;
        }
        if (c.focus >= 0) {
            EXPECT_TRUE(f.View()->rect().contains(f.list.CellRect(c.focus))) << "scrolled into view";
        }
    }
}

TEST(PhotoListCtrl, WheelScrollsACellPerNotchAndTheBarA20PixelLine)
{
    Fixture f(40); // ten rows of 124 pixels
    QWheelEvent down(QPointF(50, 50), f.View()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.View(), &down);
    EXPECT_EQ(f.list.ScrollY(), 124);
    f.list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f.list.ScrollY(), 144);
    f.list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f.list.ScrollY(), 8 + 10 * 124 - 300);
    f.list.Append(QString(), QImage());
    EXPECT_EQ(f.list.ScrollY(), 0) << "a count change scrolls back to the top";
}

TEST(PhotoListCtrl, ShiftClickSelectsRangeFromTheFocusItem)
{
    Fixture f(12);
    f.Click(2);
    f.Click(6, Qt::ShiftModifier);
    EXPECT_EQ(f.list.Selection(), (Indices{2, 3, 4, 5, 6}));
    EXPECT_EQ(f.list.FocusItem(), 2);
    f.Click(4, Qt::ShiftModifier);
    EXPECT_EQ(f.list.Selection(), (Indices{2, 3, 4}));
    EXPECT_EQ(f.list.FocusItem(), 2);
}

TEST(PhotoListCtrl, BandSelectsCellsItCoversAndEscapeCancels)
{
    Fixture f(12);
    const QPoint empty(5, 5);
    const QPoint middleOf5 = f.list.CellRect(5).center();
    QTest::mousePress(f.View(), Qt::LeftButton, Qt::NoModifier, empty);
    f.Move(empty + QPoint(1, 1)); // within the drag threshold: nothing yet
    EXPECT_FALSE(f.list.InBand());
    f.Move(middleOf5);
    EXPECT_TRUE(f.list.InBand());
    EXPECT_EQ(f.list.Selection(), (Indices{0, 1, 4, 5}));
    // The band tints the background it covers; its outline is drawn in the band colour.
    const QImage shot = f.View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb face = ShellTheme::Current().Colours().face.rgb();
    EXPECT_EQ(shot.pixel(6, 60), PhotoListLayout::Tint(face, qRgb(49, 106, 197), 80));
    EXPECT_EQ(shot.pixel(5, 60), qRgb(49, 106, 197));
    EXPECT_EQ(shot.pixel(3, 60), face);
    QTest::mouseRelease(f.View(), Qt::LeftButton, Qt::NoModifier, middleOf5);
    EXPECT_FALSE(f.list.InBand());
    EXPECT_EQ(f.list.Selection(), (Indices{0, 1, 4, 5}));

    // With Ctrl the band toggles cells over the earlier selection; Escape
    // puts back the selection the band began with and clears the focus item.
    f.list.ClearSelection();
    f.Click(9);
    QTest::mousePress(f.View(), Qt::LeftButton, Qt::ControlModifier, empty);
    f.Move(middleOf5, Qt::ControlModifier);
    EXPECT_EQ(f.list.Selection(), (Indices{0, 1, 4, 5, 9}));
    f.Move(middleOf5); // Ctrl let go: the band alone
    EXPECT_EQ(f.list.Selection(), (Indices{0, 1, 4, 5}));
    QTest::keyClick(&f.list, Qt::Key_Escape);
    EXPECT_FALSE(f.list.InBand());
    EXPECT_EQ(f.list.Selection(), Indices{}); // the Ctrl change forgot the earlier selection
    EXPECT_EQ(f.list.FocusItem(), -1);
    QTest::mouseRelease(f.View(), Qt::LeftButton, Qt::NoModifier, middleOf5);

    f.Click(9);
    QTest::mousePress(f.View(), Qt::LeftButton, Qt::ControlModifier, empty);
    f.Move(middleOf5, Qt::ControlModifier);
    QTest::keyClick(&f.list, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(f.list.Selection(), Indices{9});
    EXPECT_EQ(f.list.FocusItem(), -1);
}

TEST(PhotoListCtrl, LabelsAreShortenedWithAnEllipsisAndKeepAmpersands)
{
    Fixture f(0);
    f.list.Append(QStringLiteral("R&D"), Solid(qRgb(0, 0, 0)));
    f.list.Append(QStringLiteral("A very long file name that cannot fit under one picture.jpg"), Solid(qRgb(0, 0, 0)));
    f.View()->grab();
    ASSERT_EQ(f.list.labels.size(), 2u);
    EXPECT_EQ(f.list.labels[0].first, QStringLiteral("R&D"));
    const auto& [text, rect] = f.list.labels[1];
    EXPECT_TRUE(text.endsWith(QChar(0x2026))) << text.toStdString();
    EXPECT_LE(f.list.fontMetrics().horizontalAdvance(text), rect.width());
    EXPECT_TRUE(f.list.CellRect(1).contains(rect)) << "clipped to the cell";
}

TEST(PhotoListCtrl, SelectedPictureIsTintedNavy)
{
    const QRgb grey = qRgb(200, 200, 200);
    Fixture f(2, grey);
    f.list.Select(1);
    const QImage shot = f.View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint inside(20, 20);
    EXPECT_EQ(shot.pixel(f.list.CellRect(0).topLeft() + inside), grey);
    EXPECT_EQ(shot.pixel(f.list.CellRect(1).topLeft() + inside), PhotoListLayout::Tint(grey, qRgb(0, 0, 128), 100));
    EXPECT_EQ(shot.pixel(f.list.CellRect(1).topLeft() + inside), qRgb(121, 121, 171));
}

TEST(PhotoListCtrl, DeleteAsksOnlyWithASelection)
{
    Fixture f(5);
    QSignalSpy spy(&f.list, &CPhotoListCtrl::DeleteRequested);
    QTest::keyClick(&f.list, Qt::Key_Delete);
    f.list.DeleteCommand();
    EXPECT_EQ(spy.count(), 0);
    QTest::keyClick(&f.list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.list.Selection(), (Indices{0, 1, 2, 3, 4}));
    QTest::keyClick(&f.list, Qt::Key_Delete);
    f.list.DeleteCommand();
    EXPECT_EQ(spy.count(), 2);
}

TEST(PhotoListCtrl, DoubleClickActivatesAndReportsTheFocusItem)
{
    Fixture f(6);
    QSignalSpy spy(&f.list, &CPhotoListCtrl::ItemDoubleClicked);
    // The window system sends press, release, double-click, release.
    f.Click(3);
    QTest::mouseDClick(f.View(), Qt::LeftButton, Qt::NoModifier, f.On(3));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
    ASSERT_FALSE(f.list.activated.empty());
    EXPECT_EQ(f.list.activated.back(), f.list.ItemAt(3));
}

TEST(PhotoListCtrl, ItemMouseOperationsGetItemPointAndSeveral)
{
    Fixture f(12);
    const QPoint p2 = f.On(2);
    QTest::mousePress(f.View(), Qt::LeftButton, Qt::NoModifier, p2);
    ASSERT_EQ(f.list.pressed.size(), 1u);
    EXPECT_EQ(f.list.pressed[0].item, f.list.ItemAt(2));
    EXPECT_EQ(f.list.pressed[0].point, p2);
    EXPECT_FALSE(f.list.pressed[0].several);
    f.Move(f.On(7));
    f.Move(QPoint(5, 5)); // over no item: the focus item
    ASSERT_EQ(f.list.dragged.size(), 2u);
    EXPECT_EQ(f.list.dragged[0].item, f.list.ItemAt(7));
    EXPECT_EQ(f.list.dragged[0].point, f.On(7));
    EXPECT_EQ(f.list.dragged[1].item, f.list.ItemAt(2));
    QTest::mouseRelease(f.View(), Qt::LeftButton, Qt::NoModifier, f.On(7));
    ASSERT_EQ(f.list.released.size(), 1u);
    EXPECT_EQ(f.list.released[0].item, f.list.ItemAt(7));
    EXPECT_FALSE(f.list.PendingDrag());

    // A press on one of several selected items keeps them for the drag.
    f.Click(5, Qt::ControlModifier);
    QTest::mousePress(f.View(), Qt::LeftButton, Qt::NoModifier, f.On(5));
    EXPECT_TRUE(f.list.pressed.back().several);
    EXPECT_EQ(f.list.Selection(), (Indices{2, 5}));
    QTest::mouseRelease(f.View(), Qt::LeftButton, Qt::NoModifier, f.On(5));

    f.list.pictures.clear();
    f.View()->grab();
    ASSERT_FALSE(f.list.pictures.empty());
    for (const auto& [index, area] : f.list.pictures)
        EXPECT_EQ(area, f.list.Layout().PictureArea(f.list.CellRect(index)));
}

TEST(PhotoListCtrl, PaintingAsksOnlyForVisiblePictures)
{
    Fixture f(0);
    for (int i = 0; i < 10000; ++i)
        f.list.Append(QString(), QImage());
    f.list.picturesAsked.clear();
    f.View()->grab();
    // 300 pixels show three rows of 124 at most.
    EXPECT_EQ(f.list.picturesAsked, (Indices{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    f.list.ScrollToEnd();
    f.list.picturesAsked.clear();
    f.View()->grab();
    ASSERT_FALSE(f.list.picturesAsked.empty());
    EXPECT_LE(f.list.picturesAsked.size(), 12u);
    EXPECT_EQ(f.list.picturesAsked.back(), 9999);
}

TEST(PhotoListCtrl, AccessibleListShowsItemsAndTheirSelection)
{
    InstallPhotoListAccessibility();
    Fixture f(5);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&f.list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 5);
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface* item = list->child(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->text(QAccessible::Name), f.list.ItemAt(i)->label);
        EXPECT_EQ(list->indexOfChild(item), i);
    }
    f.Click(2);
    EXPECT_TRUE(list->child(2)->state().selected);
    EXPECT_TRUE(list->child(2)->state().focused);
    EXPECT_FALSE(list->child(1)->state().selected);
    EXPECT_EQ(list->child(2)->rect().size(), f.list.CellRect(2).size());
    EXPECT_EQ(list->childAt(list->child(3)->rect().center().x(), list->child(3)->rect().center().y()), list->child(3));

    list->child(4)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(f.list.Selection(), (Indices{2, 4}));
    f.list.Remove(f.list.ItemAt(4), true);
    EXPECT_EQ(f.list.Selection(), Indices{2}) << "the removed index left the selection";
    EXPECT_EQ(list->childCount(), 4);
    EXPECT_EQ(list->child(4), nullptr);
}
