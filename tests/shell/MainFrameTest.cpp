// The main window driven offscreen: steps, tabs, buttons, the edit step's
// entry, drops, the smallest size, forwarded commands, the close prompt and
// what a screen reader is told.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/widgets/explorer/QemPhotoExplorerList.h"
#include "editor/shell/controls/CommandTarget.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/steps/ViewPane.h"
#include "editor/shell/storyboard/PhotoUserList.h"
#include "editor/shell/storyboard/PhotoUserWnd.h"
#include "editor/shell/tree/QemShellTreeCtrl.h"
#include "editor/shell/dialogs/DlgOption.h"
#include "editor/shell/frame/AppMenu.h"
#include "editor/shell/frame/ChildView.h"
#include "editor/shell/frame/MainFrame.h"
#include "editor/shell/frame/QemRibbonBar.h"
#include "editor/shell/frame/QemTabCtrl.h"
#include "editor/shell/frame/ShellCommands.h"
#include "editor/shell/steps/AddPhotoWnd.h"
#include "editor/catalogues/widgets/effects/LREffectExplorerWnd.h"
#include "editor/catalogues/widgets/strip/QemLREffectWnd.h"
#include "editor/imaging/widgets/editpane/NormalEditPane.h"
#include "editor/shell/steps/QemEditWnd.h"
#include "editor/shell/steps/QemSplitter.h"
#include "tests/ProjectHistoryCleanup.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"
#include "tests/shell/EditorContextTest.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using TestSupport::RecordedMessages;

class MainFrameTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages);
        frame = std::make_unique<CMainFrame>(*context);
        context->Projects().SetPrompts({[this](const QString&) {
                                            ++questions;
                                            return answer;
                                        },
                                        nullptr, nullptr, nullptr});
        frame->resize(1100, 720);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame.reset();
        EditorContextTest::TearDown();
    }

    CChildView& view() const { return *frame->ClientView(); }
    CQemTabCtrl& tabs() const { return *frame->RibbonBar()->Tabs(); }
    void clickTab(int index) { QTest::mouseClick(&tabs(), Qt::LeftButton, {}, tabs().TabRect(index).center()); }
    void addPhoto(const QString& name)
    {
        context->Album().AddPhoto(TestSupport::WritePhoto(pictures + "/" + name, 320, 240));
    }

    QString pictures = TestSupport::MakeFolder("pictures");
    RecordedMessages messages;
    std::unique_ptr<CMainFrame> frame;
    int questions = 0;
    ProjectCommands::Answer answer = ProjectCommands::Answer::Cancel;
};

} // namespace

TEST_F(MainFrameTest, TabsAndButtonsSwitchStepsAndKeepTheirStates)
{
    QSignalSpy clicked(&tabs(), &CQemTabCtrl::TabClicked);
    clickTab(0); // the selected tab
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(view().CurrentStep(), 0);
    EXPECT_FALSE(view().BackButton()->isEnabled());
    EXPECT_TRUE(view().NextButton()->isEnabled());

    clickTab(2);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toString(), QString::fromUtf8("主题和音乐 "));
    EXPECT_EQ(view().CurrentStep(), 2);
    EXPECT_TRUE(view().Step(2)->isVisible());
    EXPECT_FALSE(view().Step(0)->isVisible());

    QTest::mouseClick(view().NextButton(), Qt::LeftButton);
    EXPECT_EQ(view().CurrentStep(), 3);
    EXPECT_EQ(tabs().Rules().Selected(), 3);
    EXPECT_FALSE(view().NextButton()->isEnabled());
    frame->OnCommand(311); // Next on the last step does nothing
    EXPECT_EQ(view().CurrentStep(), 3);

    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(view().BackButton(), Qt::LeftButton);
    EXPECT_EQ(view().CurrentStep(), 0);
    EXPECT_EQ(tabs().Rules().Selected(), 0);
    EXPECT_FALSE(view().BackButton()->isEnabled());
}

TEST_F(MainFrameTest, EnteringTheEditStepMakesTheFirstPhotoCurrentOnlyWhenNoneIs)
{
    frame->SelectStep(1);
    EXPECT_EQ(context->Album().CurrentIndex(), -1); // empty album: nothing changes

    frame->SelectStep(0);
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    frame->SelectStep(1);
    EXPECT_EQ(context->Album().CurrentIndex(), 0);
    EXPECT_EQ(context->Album().Item(0).photoState, LrItem::Current);

    // A current cell elsewhere stays current.
    frame->SelectStep(0);
    context->Album().SetCellStates(0, LrItem::Normal, LrItem::Normal);
    context->Album().SetCellStates(1, LrItem::Current, LrItem::Normal);
    context->Album().SetCurrentIndex(1);
    frame->SelectStep(1);
    EXPECT_EQ(context->Album().CurrentIndex(), 1);
    EXPECT_EQ(context->Album().Item(0).photoState, LrItem::Normal);
}

TEST_F(MainFrameTest, EditStepLowerAreaFollowsTheWindowHeight)
{
    frame->SelectStep(1);
    auto* edit = static_cast<CQemEditWnd*>(view().Step(1));
    for (int height : {625, 700, 775}) {
        frame->resize(1100, height);
        QApplication::processEvents();
        const int outer = frame->frameGeometry().height(); // the rule takes the outer height
        const int area = outer <= 600 ? 150 : std::min(outer - 450, 325);
        EXPECT_EQ(edit->Strip()->geometry().top(), edit->height() - area) << height;
        EXPECT_EQ(edit->Strip()->width(), edit->width());
    }
}

TEST_F(MainFrameTest, SelectingAGapWhileAGapIsCurrentKeepsThePreviewMovie)
{
    using Kind = QemControls::CLREffectWnd::Kind;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        addPhoto(name);
    frame->SelectStep(1);
    auto* edit = static_cast<CQemEditWnd*>(view().Step(1));
    edit->Strip()->Select(0, Kind::Transition);
    ASSERT_EQ(edit->CurrentPane(), CQemEditWnd::Pane::NormalEdit);
    CLREffectExplorerWnd& explorer = *edit->Explorer();
    ASSERT_TRUE(explorer.Player().IsCreated());
    const QPointer<QWidget> movie = explorer.Player().Window();

    // Loading the movie again would drop the preview just asked for.
    edit->Strip()->Select(1, Kind::Transition);
    EXPECT_EQ(explorer.Player().Window(), movie.data());
    EXPECT_TRUE(edit->EffectPane()->isVisible());

    // A photo hides the pane but keeps the loaded movie for the next gap.
    edit->Strip()->Select(2, Kind::Photo);
    EXPECT_EQ(edit->CurrentPane(), CQemEditWnd::Pane::PhotoEdit);
    edit->Strip()->Select(2, Kind::Transition);
    EXPECT_EQ(explorer.Player().Window(), movie.data());
}

TEST_F(MainFrameTest, WindowIsNeverSmallerThan900By625)
{
    frame->resize(700, 500);
    QApplication::processEvents();
    EXPECT_GE(frame->width(), 900);
    EXPECT_GE(frame->height(), 625);
}

TEST_F(MainFrameTest, DroppedProjectsOpenOnlyWhenTheNameEndsInDotQem)
{
    const QString trip = TestSupport::MakeFolder("Trip");
    addPhoto("a.jpg");
    ASSERT_TRUE(ProjectFile::Save(context->Album(), trip, false));
    TestSupport::WriteAll(trip + "/Upper.QEM", "");
    const QString folderNamedLikeAProject = TestSupport::MakeFolder("x.qem");
    context->Album().Clear();
    context->Album().SetModified(false);

    frame->SelectStep(2);
    frame->OpenDropped({trip + "/Upper.QEM"});
    frame->OpenDropped({folderNamedLikeAProject});
    EXPECT_EQ(view().CurrentStep(), 2);
    EXPECT_TRUE(context->Album().IsEmpty());

    frame->OpenDropped({trip + "/Trip.qem"});
    EXPECT_EQ(view().CurrentStep(), 0);
    EXPECT_EQ(tabs().Rules().Selected(), 0);
    EXPECT_EQ(context->Album().Count(), 1);
    EXPECT_EQ(frame->windowTitle(), "Vantri Kelvana (Trip)");
}

TEST_F(MainFrameTest, NewCancelledInTheSavePromptKeepsTheStepAndTheWindowOpen)
{
    addPhoto("a.jpg");
    frame->SelectStep(2);
    context->Album().SetModified(true);
    answer = ProjectCommands::Answer::Cancel;
    frame->OnCommand(ShellCommands::kNew);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(view().CurrentStep(), 2);
    EXPECT_EQ(context->Album().Count(), 1);

    EXPECT_FALSE(frame->close()); // the close box asks too
    EXPECT_EQ(questions, 2);
    EXPECT_TRUE(frame->isVisible());

    answer = ProjectCommands::Answer::No;
    frame->OnCommand(ShellCommands::kNew);
    EXPECT_EQ(view().CurrentStep(), 0);
    EXPECT_TRUE(context->Album().IsEmpty());
    EXPECT_EQ(frame->windowTitle(), "Vantri Kelvana (Untitled)");
}

namespace {
class TargetEdit : public QWidget, public CommandTarget {
public:
    using QWidget::QWidget;
    QList<int> commands;
    bool OnForwardedCommand(int id) override
    {
        commands << id;
        return true;
    }
};
} // namespace

TEST_F(MainFrameTest, SelectAllAndDeleteGoToTheFocusWindow)
{
    auto* target = new TargetEdit(view().Step(0));
    target->setFocusPolicy(Qt::StrongFocus);
    target->show();
    target->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    EXPECT_EQ(target->commands, (QList<int>{CommandTarget::kSelectAll, CommandTarget::kDelete}));

    target->clearFocus();
    frame->OnCommand(ShellCommands::kDelete); // no focus window: nothing happens
    EXPECT_EQ(target->commands.size(), 2);
}

TEST_F(MainFrameTest, SplitterCollapsesAndRestoresTwoThirds)
{
    auto* step = static_cast<CAddPhotoWnd*>(view().Step(0));
    CQemSplitter* splitter = step->Splitter();
    const int h = splitter->height();
    EXPECT_EQ(splitter->sizes().value(0), 2 * h / 3);
    QTest::mouseClick(splitter->ToggleButton(), Qt::LeftButton);
    EXPECT_TRUE(splitter->Collapsed());
    EXPECT_EQ(splitter->sizes().value(0), 0);
    QTest::mouseClick(splitter->ToggleButton(), Qt::LeftButton);
    EXPECT_EQ(splitter->sizes().value(0), 2 * h / 3);
    EXPECT_GE(step->BrowseRow()->sizes().value(0), 200);
}

TEST_F(MainFrameTest, ScreenReadersFindTheTabsAndButtonsByName)
{
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(&tabs());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->role(), QAccessible::PageTabList);
    ASSERT_EQ(strip->childCount(), 4);
    const QStringList names = {"添加图片", "编辑效果", "主题和音乐", "生成影集"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(strip->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(strip->child(i)->text(QAccessible::Name), names[i]);
        EXPECT_EQ(strip->child(i)->state().selected, i == 0);
    }
    // A screen reader's press switches the step like a click.
    strip->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(view().CurrentStep(), 3);
    EXPECT_TRUE(strip->child(3)->state().selected);

    const struct {
        QWidget* widget;
        const char* name;
    } controls[] = {{view().SaveButton(), "保存"},
                    {view().NextButton(), "下一步"},
                    {view().BackButton(), "上一步"},
                    {frame->RibbonBar()->ApplicationButton(), "文件"}};
    for (const auto& control : controls)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control.widget)->text(QAccessible::Name), QString::fromUtf8(control.name));
}

TEST_F(MainFrameTest, ApplicationMenuListsTheCommandsAndRecentProjects)
{
    frame->RibbonBar()->ShowMenu();
    AppMenu* menu = frame->RibbonBar()->Menu();
    ASSERT_TRUE(menu->isVisible());
    QStringList captions;
    for (auto* button : menu->findChildren<QAbstractButton*>())
        captions << button->text();
    for (const char* caption : {"新建", "打开", "保存", "另存...", "选项.", "帮助", "关于Vantri Kelvana", "退出"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_TRUE(menu->findChild<QLabel*>() != nullptr);
    bool heading = false;
    for (auto* label : menu->findChildren<QLabel*>())
        heading |= label->text() == QString::fromUtf8("当前文档") && label->parentWidget()->width() == AppMenu::kRecentWidth;
    EXPECT_TRUE(heading);
    menu->hide();
}

TEST_F(MainFrameTest, KeyboardFocusFollowsTheLayout)
{
    auto* step = static_cast<CAddPhotoWnd*>(view().Step(0));
    const QList<QWidget*> expected = {frame->RibbonBar()->ApplicationButton(), &tabs(),
                                      step->ExplorerPane()->ExistingAlbumButton(), step->ExplorerPane()->Tree(),
                                      step->findChild<CQemPhotoExplorerList*>(), step->Splitter()->ToggleButton(), step->Storyboard()->List(),
                                      view().SaveButton(), view().NextButton()};
    // Back, the storyboard's Delete and the explorer's add button are disabled
    // on a new album's first step with no folder shown.
    frame->RibbonBar()->ApplicationButton()->setFocus();
    QList<QWidget*> visited = {QApplication::focusWidget()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    auto names = [](const QList<QWidget*>& widgets) {
        QStringList list;
        for (QWidget* widget : widgets)
            list << (widget ? QString::fromLatin1(widget->metaObject()->className()) : QStringLiteral("none"));
        return list.join(", ").toStdString();
    };
    EXPECT_EQ(visited, expected) << names(visited) << "\n" << names(expected);
}

TEST_F(MainFrameTest, LooksAreCommandsThatPersist)
{
    EXPECT_EQ(ShellTheme::Current().Number(), 215);
    const QColor blue = ShellTheme::Current().Colours().panel;
    frame->OnCommand(216);
    EXPECT_EQ(ShellTheme::Current().Number(), 216);
    EXPECT_NE(ShellTheme::Current().Colours().panel, blue);
    EXPECT_EQ(QSettings("Qem", "Kelvana").value("Settings/ApplicationLook").toInt(), 216);
    frame->OnCommand(ShellTheme::kDefault);
}

TEST_F(MainFrameTest, StoryboardEditShowsTheEditStepOnThatPhoto)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    addPhoto("c.jpg");
    auto* step = static_cast<CAddPhotoWnd*>(view().Step(0));
    emit step->Storyboard()->EditRequested(2);
    EXPECT_EQ(view().CurrentStep(), 1);
    EXPECT_EQ(tabs().Rules().Selected(), 1);
    EXPECT_EQ(context->Album().CurrentIndex(), 2);
    EXPECT_EQ(context->Album().Item(2).photoState, LrItem::Current);
    EXPECT_EQ(context->Album().Item(0).photoState, LrItem::Normal);
}

TEST_F(MainFrameTest, OptionsKeepsOnlyAnExistingFolderWithoutBlockingTheWindow)
{
    const QString before = settings.projectPath;
    const QString albums = TestSupport::MakeFolder("albums");
    for (const QString& typed : {QString("/no/such/folder"), albums}) {
        frame->OnCommand(ShellCommands::kOptions); // returns at once: the dialog is open, not running a loop
        auto* dialog = frame->findChild<CDlgOption*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        dialog->SetPrompts([](const QString&) { return OptionsPathRule::Answer::No; }, [](const QString&) {});
        dialog->PathEdit()->setText(typed);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(settings.projectPath, typed == albums ? albums : before) << typed.toStdString();
    }
}
