// The folder tree over real folders: what it shows and in which order, the
// folder it starts on and announces, its context menu, the two commands that
// add a folder's photos to the album, and the width it remembers.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/StringTable.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/shell/steps/AddPhotoWnd.h"
#include "editor/shell/steps/ViewPane.h"
#include "editor/shell/tree/QemShellTreeCtrl.h"
#include "editor/shell/tree/ShellTreeRules.h"
#include "tests/TestSupport.h"
#include "tests/shell/EditorContextTest.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// root/  a/{p.jpg, sub/q.jpg}  b9/r.jpg  B10/  .hid/h.jpg
//        B1.JPG b2.png b10.jpg .x.jpg broken.jpg notes.txt  loop -> root
QString MakeAlbumFolders()
{
    const QString root = QDir::cleanPath(TestSupport::MakeFolder("folder-tree"));
    for (const char* folder : {"a/sub", "b9", "B10", ".hid"})
        QDir(root).mkpath(QString::fromLatin1(folder));
    for (const char* photo : {"a/p.jpg", "a/sub/q.jpg", "b9/r.jpg", ".hid/h.jpg", "B1.JPG", "b2.png", "b10.jpg", ".x.jpg"})
        TestSupport::WritePhoto(root + "/" + photo, 64, 48);
    TestSupport::WriteAll(root + "/broken.jpg", "not a picture");
    TestSupport::WriteAll(root + "/notes.txt", "text");
    QFile::link(root, root + "/loop");
    return root;
}

QStringList RelativeTo(const QString& root, const QStringList& paths)
{
    QStringList relative;
    for (const QString& path : paths)
        relative << QDir(root).relativeFilePath(path);
    return relative;
}

TEST(ShellTreeRulesTest, FolderPhotosComeInFileManagerOrderWithSubFoldersWhereTheyFall)
{
    const QString root = MakeAlbumFolders();
    struct Case {
        bool withSubFolders;
        QStringList expected;
    };
    const Case cases[] = {
        {false, {"B1.JPG", "b2.png", "b10.jpg", "broken.jpg"}},
        // "loop" leads back to root, which has been read already.
        {true, {"a/p.jpg", "a/sub/q.jpg", "B1.JPG", "b2.png", "b9/r.jpg", "b10.jpg", "broken.jpg"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeTo(root, ShellTreeRules::FolderPhotos(root + "/", c.withSubFolders)), c.expected)
            << c.withSubFolders;
    EXPECT_TRUE(ShellTreeRules::FolderPhotos(root + "/b2.png", true).isEmpty());
    EXPECT_TRUE(ShellTreeRules::FolderPhotos(root + "/missing", true).isEmpty());
}

TEST(ShellTreeRulesTest, OnlyTheSubFolderVariantAsksAndTheWidthNeverGoesBelow200)
{
    EXPECT_FALSE(ShellTreeRules::AsksBeforeAdding(false));
    EXPECT_TRUE(ShellTreeRules::AsksBeforeAdding(true));
    for (const auto& [given, stored] : {std::pair{150, 200}, {199, 200}, {200, 200}, {333, 333}})
        EXPECT_EQ(ShellTreeRules::WidthToStore(given), stored) << given;
}

class AnsweringMessages : public UserMessages {
public:
    QStringList texts;
    bool answer = false;
    bool Present(Kind, const QString& text) override
    {
        texts << text;
        return answer;
    }
};

class FolderTreeTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages);
    }
    void TearDown() override
    {
        tree.reset();
        EditorContextTest::TearDown();
    }
    // Shown; `beforeShowing` runs before the event loop does (the tree selects
    // the last path from the event loop).
    CQemShellTreeCtrl& makeTree(const std::function<void(CQemShellTreeCtrl&)>& beforeShowing = {})
    {
        tree = std::make_unique<CQemShellTreeCtrl>(*context);
        if (beforeShowing)
            beforeShowing(*tree);
        tree->resize(300, 400);
        tree->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
        return *tree;
    }
    QStringList albumLabels() const
    {
        QStringList labels;
        for (int i = 0; i < context->Album().Count(); ++i)
            labels << context->Album().Photo(i)->label;
        return labels;
    }

    QString root = MakeAlbumFolders();
    AnsweringMessages messages;
    std::unique_ptr<CQemShellTreeCtrl> tree;
};

TEST_F(FolderTreeTest, ShowsFoldersOnlyHiddenOnesLeftOutInNumberAwareOrder)
{
    CQemShellTreeCtrl& view = makeTree();
    view.SelectFolder(root);
    // Persistent: the sorting proxy moves its rows while the folder loads.
    const QPersistentModelIndex folder = view.IndexOf(root);
    ASSERT_TRUE(folder.isValid());
    view.expand(folder);
    QAbstractItemModel& model = *view.model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(folder) >= 4; }, 10000));
    QStringList names;
    for (int row = 0; row < model.rowCount(folder); ++row)
        names << model.index(row, 0, folder).data().toString();
    EXPECT_EQ(names, QStringList({"a", "b9", "B10", "loop"}));
}

TEST_F(FolderTreeTest, StartsOnTheLastPathAndAnnouncesAndRemembersTheCurrentFolder)
{
    settings.lastPath = root + "/a";
    std::unique_ptr<QSignalSpy> spy;
    CQemShellTreeCtrl& view =
        makeTree([&](CQemShellTreeCtrl& made) { spy = std::make_unique<QSignalSpy>(&made, &CQemShellTreeCtrl::FolderSelected); });
    QSignalSpy& selected = *spy;
    ASSERT_TRUE(QTest::qWaitFor([&] { return selected.count() == 1; }, 5000));
    EXPECT_EQ(selected[0][0].toString(), root + "/a");
    EXPECT_EQ(view.CurrentPath(), root + "/a");

    view.SelectFolder(root + "/b9");
    ASSERT_EQ(selected.count(), 2);
    EXPECT_EQ(selected[1][0].toString(), root + "/b9");
    EXPECT_EQ(settings.lastPath, root + "/b9");

    view.SelectFolder(root + "/notes.txt"); // not a folder
    EXPECT_EQ(view.CurrentPath(), root + "/b9");

    // A click on the current folder brings the photo explorer back on it.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(view.currentIndex()).center());
    ASSERT_EQ(selected.count(), 3);
    EXPECT_EQ(selected[2][0].toString(), root + "/b9");
}

TEST_F(FolderTreeTest, RightClickSelectsTheFolderBeforeTheMenuAndEmptySpaceShowsNone)
{
    CQemShellTreeCtrl& view = makeTree();
    view.SelectFolder(root + "/a");
    const QModelIndex b9 = view.IndexOf(root + "/b9");
    ASSERT_TRUE(b9.isValid());
    QSignalSpy selected(&view, &CQemShellTreeCtrl::FolderSelected);
    QSignalSpy shown(view.ContextMenu(), &QMenu::aboutToShow);
    QString selectedWhenShown;
    QObject::connect(view.ContextMenu(), &QMenu::aboutToShow, &view, [&] {
        selectedWhenShown = view.CurrentPath();
        QTimer::singleShot(0, view.ContextMenu(), &QMenu::close);
    });
    const auto rightClick = [&](const QPoint& at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view.viewport(), &event);
    };
    rightClick(view.visualRect(b9).center());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(selectedWhenShown, root + "/b9");
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].toString(), root + "/b9");

    view.collapseAll(); // only "/" is left, the rest is empty space
    rightClick(QPoint(5, view.viewport()->height() - 2));
    EXPECT_EQ(shown.count(), 1);
}

TEST_F(FolderTreeTest, MenuShowsItsCommandsAndHandsTheFolderToTheDesktop)
{
    CQemShellTreeCtrl& view = makeTree();
    QStringList shown;
    for (QAction* action : view.ContextMenu()->actions())
        shown << (action->isSeparator() ? QString("-") : action->iconText());
    EXPECT_EQ(shown, QStringList({"Open", "-", "Explore", "-", "Add Photos in This Parent Folder to Album",
                                  "Add Photos in Parent & Sub Folders to Album"}));

    QStringList handed;
    view.SetShellOpener([&](const QString& verb, const QString& folder) { handed << verb + " " + folder; });
    view.SelectFolder(root + "/a");
    view.CommandAction(ShellTreeRules::kOpenCommand)->trigger();
    view.CommandAction(ShellTreeRules::kExploreCommand)->trigger();
    EXPECT_EQ(handed, QStringList({"open " + root + "/a", "explore " + root + "/a"}));
}

TEST_F(FolderTreeTest, AddCommandsAddTheFolderPhotosInOrderAskingFirstForSubFolders)
{
    struct Case {
        int command;
        bool answer;
        QStringList labels;
        int questions;
    };
    const Case cases[] = {
        {ShellTreeRules::kAddFolderCommand, false, {"B1.JPG", "b2.png", "b10.jpg"}, 0},
        {ShellTreeRules::kAddFolderTreeCommand, true, {"p.jpg", "q.jpg", "B1.JPG", "b2.png", "r.jpg", "b10.jpg"}, 1},
        {ShellTreeRules::kAddFolderTreeCommand, false, {}, 1},
    };
    CQemShellTreeCtrl& view = makeTree();
    view.SelectFolder(root);
    for (const Case& c : cases) {
        context->Album().Clear();
        messages.texts.clear();
        messages.answer = c.answer;
        view.CommandAction(c.command)->trigger();
        EXPECT_EQ(albumLabels(), c.labels) << c.command << c.answer;
        EXPECT_EQ(messages.texts, QStringList(c.questions, Strings::Load(Strings::DeepFolderQuestion)));
    }
}

TEST_F(FolderTreeTest, RemembersItsWidthNeverBelow200)
{
    CQemShellTreeCtrl& view = makeTree();
    for (const auto& [given, stored] : {std::pair{150, 200}, {260, 260}}) {
        view.resize(given, 300);
        QCoreApplication::processEvents();
        EXPECT_EQ(settings.treeWidth, stored) << given;
    }
    // A stored 150 gives the pane 200 in the add-photos step.
    tree.reset();
    settings.treeWidth = 150;
    CAddPhotoWnd step(*context);
    step.resize(900, 600);
    step.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&step));
    EXPECT_EQ(step.ExplorerPane()->width(), 200);
    EXPECT_EQ(settings.treeWidth, 200);
}

TEST_F(FolderTreeTest, ProjectStateShowsAndHidesTheTreeInThePane)
{
    CViewPane pane(*context);
    pane.resize(250, 400);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    EXPECT_EQ(pane.Tree()->geometry(), QRect(0, 50, 250, 350));
    for (const int value : {0, 1}) {
        hub.Find(kSubjectPrjState)->Notify(value);
        EXPECT_EQ(pane.Tree()->isVisible(), value != 0);
        EXPECT_EQ(pane.Tree()->isEnabled(), value != 0);
    }
}

} // namespace
