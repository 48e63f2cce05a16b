// The album storyboard: the move rules of a five-photo album, and the window
// driven offscreen over a real album model and thumbnail cache: delete,
// right click, the Delete button, files dropped in, and following changes
// made elsewhere in the album.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/shell/controls/PhotoListLayout.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/storyboard/PhotoUserList.h"
#include "editor/shell/storyboard/PhotoUserWnd.h"
#include "editor/shell/storyboard/StoryboardMoveRules.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"
#include "tests/shell/EditorContextTest.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using Kind = StoryboardMoveRules::MarkerKind;

// Photos P1..P5 at indices 0..4; an order is written as the photo numbers.
std::string OrderText(const std::vector<int>& order)
{
    std::string text;
    for (int index : order)
        text += char('1' + index);
    return text;
}

TEST(StoryboardMoveRulesTest, DragsInAFivePhotoAlbum)
{
    struct Case {
        const char* what;
        std::vector<int> selected;
        int pressed, target;
        Kind kind;
        const char* order; // empty: nothing moves
        std::vector<int> selection;
        int focus;
    };
    const Case cases[] = {
        {"P2 onto P4", {1}, 1, 3, Kind::BeforeTarget, "13245", {2}, 2},
        {"P2 below the last photo", {1}, 1, -1, Kind::AfterLast, "13452", {4}, 4},
        {"P4 onto P2", {3}, 3, 1, Kind::BeforeTarget, "14235", {1}, 1},
        {"P3 onto the first photo", {2}, 2, 0, Kind::BeforeFirst, "31245", {0}, 0},
        {"P1 and P2 onto P5", {0, 1}, 0, 4, Kind::BeforeTarget, "34125", {2, 3}, 2},
        {"P4 and P5 onto P2", {3, 4}, 4, 1, Kind::BeforeTarget, "14523", {1, 2}, 2},
        {"P1 and P3 below the last photo", {0, 2}, 2, -1, Kind::AfterLast, "24513", {3, 4}, 4},
        // Photos on both sides of the target end up side by side before it,
        // and the selection is where they went.
        {"P1 and P5 onto P3", {0, 4}, 0, 2, Kind::BeforeTarget, "21534", {1, 2}, 1},
        {"above the first photo", {1}, 1, -1, Kind::BeforeFirst, "", {}, -1},
        {"several above the first photo", {1, 2}, 1, -1, Kind::BeforeFirst, "", {}, -1},
        {"no marker (over a selected photo)", {1, 2}, 1, 2, Kind::None, "", {}, -1},
        {"no pressed photo", {1}, -1, 3, Kind::BeforeTarget, "", {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto move = StoryboardMoveRules::Apply(5, c.selected, c.pressed, c.target, c.kind);
        if (std::string(c.order).empty()) {
            EXPECT_FALSE(move.moved);
            continue;
        }
        ASSERT_TRUE(move.moved);
        EXPECT_EQ(OrderText(move.order), c.order);
        EXPECT_EQ(move.selection, c.selection);
        EXPECT_EQ(move.focus, c.focus);
    }
}

TEST(StoryboardMoveRulesTest, FilesLandWhereTheMarkerShows)
{
    PhotoListLayout layout(18);
    layout.SetLabelsShown(false);
    layout.SetThumbnail(QSize(96, 96));
    layout.SetCellSize(QSize(102, 18 + 76));
    layout.SetClientSize(QSize(1000, 300)); // nine columns: five photos in one row
    const auto at = [&](QPoint p, int hit) {
        const auto marker = StoryboardMoveRules::FileDropMarker(p, hit, 0, 5, layout);
        return StoryboardMoveRules::InsertionIndex(marker, 5);
    };
    const QPoint third = layout.CellRect(2).center();
    EXPECT_EQ(at(third, 2), 2);                       // between photos 2 and 3
    EXPECT_EQ(at(layout.CellRect(0).center(), 0), 0); // before the first
    EXPECT_EQ(at(QPoint(10, 1), -1), 0);              // in the margin above the first
    EXPECT_EQ(at(QPoint(900, 40), -1), 5);            // beside the last
    EXPECT_EQ(at(QPoint(50, 250), -1), 5);            // below the last row
    EXPECT_EQ(StoryboardMoveRules::InsertionIndex({}, 0), 0);
}

class StoryboardTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages, 6);
        window = std::make_unique<CPhotoUserWnd>(*context);
        window->resize(900, 240);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        EditorContextTest::TearDown();
    }

    AlbumModel& album() const { return context->Album(); }
    CPhotoUserList& list() const { return *window->List(); }
    QWidget* viewport() const { return list().viewport(); }
    QPoint cell(int index) const { return list().CellRect(index).center(); }

    QString photo(const QString& name, QColor tint = QColor(200, 120, 60))
    {
        return TestSupport::WritePhoto(pictures + "/" + name, 320, 240, tint);
    }
    // Photos P1..Pn, each with its own effect and a caption naming it.
    void fillAlbum(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("P%1").arg(i + 1);
            ASSERT_EQ(album().AddPhoto(photo(name + ".png", QColor::fromHsv(i * 50, 200, 200))), i);
            album().SetEffect(i, i % effects.Count());
            album().SetCaptionContent(i, CaptionBox{1, 2, 3, 4}, {name}, 0x0000ff, 12, QStringLiteral("Sans"));
            album().SetCaptionUrl(i, "https://example.org/" + name);
        }
    }
    // The photos as shown, by label, and checked against the album.
    QString shown() const
    {
        QStringList labels;
        EXPECT_EQ(list().Count(), album().Count());
        for (int i = 0; i < list().Count(); ++i) {
            EXPECT_EQ(list().PhotoAt(i), album().Photo(i)) << "index " << i;
            EXPECT_EQ(list().ItemAt(i)->label, album().Photo(i)->label);
            labels << QFileInfo(album().Photo(i)->label).completeBaseName();
        }
        return labels.join(' ');
    }
    void mouse(QEvent::Type type, QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, p, viewport()->mapToGlobal(p), button, buttons, modifiers);
        QApplication::sendEvent(viewport(), &event);
    }
    void drag(int from, int to)
    {
        mouse(QEvent::MouseButtonPress, cell(from), Qt::LeftButton);
        mouse(QEvent::MouseMove, cell(from) + QPoint(20, 0), Qt::LeftButton);
        mouse(QEvent::MouseMove, cell(to), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, cell(to), Qt::NoButton);
    }
    struct MenuSeen {
        bool shown = false;
        bool editEnabled = false;
    };
    // A right click; a menu that opens is recorded and closed again.
    MenuSeen rightClick(QPoint p)
    {
        MenuSeen seen;
        QMenu* menu = list().ContextMenu();
        const auto probe = QObject::connect(menu, &QMenu::aboutToShow, menu, [&] {
            seen.shown = true;
            seen.editEnabled = menu->actions().at(2)->isEnabled();
            QTimer::singleShot(0, menu, &QMenu::close);
        });
        QTest::mouseClick(viewport(), Qt::RightButton, {}, p);
        QObject::disconnect(probe);
        return seen;
    }

    QString pictures = TestSupport::MakeFolder("storyboard-pictures");
    TestSupport::RecordedMessages messages;
    std::unique_ptr<CPhotoUserWnd> window;
};

TEST_F(StoryboardTest, DeletingThreePhotosKeepsTheOthersEffectsAndCaptions)
{
    fillAlbum(6);
    std::vector<ThumbHandle> handles;
    for (int i = 0; i < 6; ++i)
        handles.push_back(album().Photo(i)->thumbnail);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(1));
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, cell(3));
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, cell(4));
    ASSERT_EQ(list().Selection(), (std::vector<int>{1, 3, 4}));
    album().SetModified(false);

    QTest::keyClick(&list(), Qt::Key_Delete);

    EXPECT_EQ(shown(), "P1 P3 P6");
    EXPECT_TRUE(list().Selection().empty());
    EXPECT_TRUE(album().Project().modified);
    const int kept[] = {0, 2, 5};
    for (int i = 0; i < 3; ++i) {
        const LrItem& item = album().Item(i);
        EXPECT_EQ(item.effect, kept[i]);
        ASSERT_TRUE(item.caption);
        EXPECT_EQ(item.caption->lines, QStringList{QStringLiteral("P%1").arg(kept[i] + 1)});
        EXPECT_EQ(item.caption->url, QStringLiteral("https://example.org/P%1").arg(kept[i] + 1));
        // The album's one reference, not doubled by the storyboard.
        EXPECT_EQ(thumbnails.EntryOfId(handles[size_t(kept[i])])->references, 1);
    }
    for (int removed : {1, 3, 4}) {
        const auto entry = thumbnails.EntryOfId(handles[size_t(removed)]);
        EXPECT_TRUE(!entry || entry->references == 0) << "photo " << removed + 1;
    }

    // The button and the forwarded Delete key remove the selection too.
    list().Select(2);
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), "P1 P3");
    list().Select(0);
    EXPECT_TRUE(list().OnForwardedCommand(CommandTarget::kDelete));
    EXPECT_EQ(shown(), "P3");
    // Nothing selected: nothing goes, even with a focus photo.
    list().SetFocusItem(0);
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), "P3");
}

TEST_F(StoryboardTest, RightClickSelectsAndOffersTheMenu)
{
    fillAlbum(5);
    QSignalSpy edits(&list(), &CPhotoUserList::EditRequested);

    // One photo selected: the clicked one takes its place; Edit is offered.
    list().Select(0);
    MenuSeen seen = rightClick(cell(2));
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.editEnabled);
    EXPECT_EQ(list().Selection(), std::vector<int>{2});
    EXPECT_EQ(list().FocusItem(), 2);
    list().ContextMenu()->actions().at(2)->trigger();
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits[0][0].toInt(), 2);

    // Three selected: they stay, Edit is greyed.
    list().ClearSelection();
    for (int i : {0, 1, 3})
        list().Select(i);
    seen = rightClick(cell(1));
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(seen.editEnabled);
    EXPECT_EQ(list().Selection(), (std::vector<int>{0, 1, 3}));

    // Empty space: the selection goes, no menu.
    seen = rightClick(QPoint(viewport()->width() - 30, viewport()->height() - 10));
    EXPECT_FALSE(seen.shown);
    EXPECT_TRUE(list().Selection().empty());

    // A double-click edits the photo clicked.
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(4));
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, cell(4));
    ASSERT_EQ(edits.count(), 2);
    EXPECT_EQ(edits[1][0].toInt(), 4);
}

TEST_F(StoryboardTest, DeleteButtonFollowsTheAlbumNotTheSelection)
{
    CQemMFCButton* button = window->DeleteButton();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->accessibleName(), "Delete");
    TestSupport::KeepScreenshot(window->grab().toImage(), "storyboard-empty");
    album().AddPhoto(photo("one.png"));
    EXPECT_TRUE(list().Selection().empty());
    EXPECT_TRUE(button->isEnabled());
    album().AddPhoto(photo("two.png"));
    album().RemovePhoto(0);
    EXPECT_TRUE(button->isEnabled());
    album().RemovePhoto(0);
    EXPECT_FALSE(button->isEnabled());
    album().AddPhoto(photo("three.png"));
    album().Clear();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(list().Count(), 0);
}

TEST_F(StoryboardTest, DraggingMovesPhotosAndTheirTransitions)
{
    fillAlbum(5);
    // P1 and P2 dragged onto P5: the button comes up over P5, which then is
    // the only selected photo.
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(0));
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, cell(1));
    album().SetModified(false);
    drag(0, 4);
    EXPECT_EQ(shown(), "P3 P4 P1 P2 P5");
    EXPECT_EQ(list().Selection(), std::vector<int>{4});
    EXPECT_TRUE(album().Project().modified);
    for (int i = 0; i < 5; ++i) { // each transition went with its photo
        EXPECT_EQ(album().Item(i).photo, album().Photo(i));
        EXPECT_EQ(album().Item(i).caption->lines.first(), QFileInfo(album().Photo(i)->label).completeBaseName());
    }

    // P2 and P5 dragged onto the first photo stay selected: the button comes
    // up over one of them.
    list().ClearSelection();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(3));
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, cell(4));
    drag(4, 0);
    EXPECT_EQ(shown(), "P2 P5 P3 P4 P1");
    EXPECT_EQ(list().Selection(), (std::vector<int>{0, 1}));

    // One photo below the last one.
    list().ClearSelection();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(0));
    mouse(QEvent::MouseButtonPress, cell(0), Qt::LeftButton);
    mouse(QEvent::MouseMove, cell(4) + QPoint(102, 0), Qt::LeftButton);
    EXPECT_EQ(list().DropMarker().kind, Kind::AfterLast);
    mouse(QEvent::MouseButtonRelease, cell(4) + QPoint(102, 0), Qt::NoButton);
    EXPECT_EQ(shown(), "P5 P3 P4 P1 P2");
    EXPECT_EQ(list().Selection(), std::vector<int>{4});
    EXPECT_EQ(list().FocusItem(), 4);
    TestSupport::KeepScreenshot(window->grab().toImage(), "storyboard");
}

TEST_F(StoryboardTest, DroppedFilesAndFoldersAreInsertedAtTheMarker)
{
    fillAlbum(3);
    const QString folder = TestSupport::MakeFolder("storyboard-dropped");
    TestSupport::WritePhoto(folder + "/img10.png", 64, 48);
    TestSupport::WritePhoto(folder + "/IMG1.jpg", 64, 48);
    TestSupport::WritePhoto(folder + "/img2.png", 64, 48);
    TestSupport::WriteAll(folder + "/notes.txt", "not a photo");
    QDir(folder).mkdir("inner");
    TestSupport::WritePhoto(folder + "/inner/deep.png", 64, 48); // below the top level
    const QString text = pictures + "/readme.txt";
    TestSupport::WriteAll(text, "text");

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(photo("b.png")), QUrl::fromLocalFile(photo("a.jpg")),
                  QUrl::fromLocalFile(folder), QUrl::fromLocalFile(text)});
    const QPoint at = cell(2); // between photos 2 and 3
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(list().FileMarker().kind, Kind::BeforeTarget);
    EXPECT_EQ(list().FileMarker().target, 2);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);

    EXPECT_EQ(shown(), "P1 P2 b a IMG1 img2 img10 P3");
    EXPECT_EQ(list().Selection(), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(list().FileMarker().kind, Kind::None);
    for (int i = 0; i < album().Count(); ++i)
        EXPECT_EQ(album().Item(i).photo, album().Photo(i));

    // A drag of nothing but text files is refused.
    QMimeData textOnly;
    textOnly.setUrls({QUrl::fromLocalFile(text)});
    QDragEnterEvent refused(at, Qt::CopyAction, &textOnly, Qt::LeftButton, {});
    QApplication::sendEvent(viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(StoryboardTest, FollowsChangesMadeElsewhere)
{
    fillAlbum(4);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cell(2)); // P3
    ASSERT_EQ(list().Selection(), std::vector<int>{2});

    album().AddPhoto(photo("new.png"), 0);
    EXPECT_EQ(shown(), "new P1 P2 P3 P4");
    EXPECT_EQ(list().Selection(), std::vector<int>{3}); // still P3
    EXPECT_EQ(list().FocusItem(), 3);

    album().RemovePhoto(1);
    EXPECT_EQ(shown(), "new P2 P3 P4");
    EXPECT_EQ(list().Selection(), std::vector<int>{2});

    album().MovePhoto(2, 0); // a move in the transition strip
    EXPECT_EQ(shown(), "P3 new P2 P4");
    EXPECT_EQ(list().Selection(), std::vector<int>{0});
    album().ExchangePhotos(0, 3);
    EXPECT_EQ(shown(), "P4 new P2 P3");
    EXPECT_EQ(list().Selection(), std::vector<int>{3});

    // Pictures come from the cache by handle: giving photo 0 another handle
    // shows that picture.
    window->grab(); // lays out and paints once
    const auto picture = [&](int index) {
        const QRect area = list().Layout().PictureRect(list().Layout().PictureArea(list().CellRect(index)));
        return viewport()->grab().toImage().copy(area.adjusted(2, 2, -2, -2));
    };
    EXPECT_GT(TestSupport::MeanDifference(picture(0), picture(2)), 10);
    const ThumbHandle other = album().Photo(2)->thumbnail;
    const ThumbHandle old = album().Photo(0)->thumbnail;
    thumbnails.AddReference(other);
    album().SetThumbnail(0, other);
    thumbnails.ReleaseReference(old);
    list().ClearSelection();
    EXPECT_LT(TestSupport::MeanDifference(picture(0), picture(2)), 2);

    album().Clear();
    EXPECT_EQ(list().Count(), 0);
    EXPECT_TRUE(list().Selection().empty());
}

TEST_F(StoryboardTest, LayoutAndNames)
{
    EXPECT_EQ(window->DeleteButton()->geometry(), QRect(0, 0, 160, 22));
    EXPECT_EQ(list().geometry(), QRect(0, 24, window->width(), window->height() - 24));
    const PhotoListLayout& layout = list().Layout();
    EXPECT_FALSE(layout.LabelsShown());
    EXPECT_EQ(layout.Cell(), QSize(102, layout.LabelHeight() + 76));
    EXPECT_EQ(layout.PictureRect(layout.PictureArea(list().CellRect(0))).size(), QSize(96, 72));
    QFont bigger = list().font();
    bigger.setPointSize(bigger.pointSize() + 6);
    list().setFont(bigger); // the storyboard keeps its own cell rule
    EXPECT_EQ(list().Layout().Cell(), QSize(102, list().Layout().LabelHeight() + 76));
    EXPECT_EQ(list().ContextMenu()->actions().at(0)->text(), "Delete");
    EXPECT_TRUE(list().ContextMenu()->actions().at(1)->isSeparator());
    EXPECT_FALSE(list().accessibleName().isEmpty());
    EXPECT_FALSE(window->accessibleName().isEmpty());
    EXPECT_TRUE(CPhotoUserList::HintText().startsWith(QString::fromUtf8("点击添加到影集按钮或者拖动图片到此处")));
    EXPECT_EQ(CPhotoUserList::HintText().size(), 18 + 26);
}

} // namespace
