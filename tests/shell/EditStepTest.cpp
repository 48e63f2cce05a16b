// The edit step inside the main window, driven offscreen with real photo
// files: which photo shows and which pane, the arrows and keys, rotating,
// crop mode, the storyboard's Edit, captions kept per photo, the font size
// reaching the caption window, and effects given from the effects list.
#include "editor/catalogues/widgets/effects/EffectListCtrl.h"
#include "editor/catalogues/widgets/effects/EffectPhotoWnd.h"
#include "editor/catalogues/widgets/strip/QemLREffectWnd.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/CaptionFont.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/widgets/arrows/QemLRPhotoEditWnd.h"
#include "editor/imaging/widgets/caption/TxtInputWnd.h"
#include "editor/imaging/widgets/editpane/NormalEditPane.h"
#include "editor/imaging/widgets/editpane/PhotoEditPane.h"
#include "editor/imaging/widgets/photoview/QemPhotoView.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/frame/ChildView.h"
#include "editor/shell/frame/MainFrame.h"
#include "editor/shell/steps/AddPhotoWnd.h"
#include "editor/shell/steps/QemEditWnd.h"
#include "editor/shell/storyboard/PhotoUserWnd.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"
#include "tests/shell/EditorContextTest.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Kind = QemControls::CLREffectWnd::Kind;
using Pane = CQemEditWnd::Pane;

// The photos of the album, each of its own size so that the shown picture
// tells which one it is.
const QSize kSizes[] = {{480, 360}, {300, 200}, {400, 300}, {240, 320}};

class EditStepTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages, 3);
        frame = std::make_unique<CMainFrame>(*context);
        frame->resize(1100, 720);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        const QString folder = TestSupport::MakeFolder("edit-photos");
        for (int i = 0; i < int(std::size(kSizes)); ++i) {
            const QString name = folder + QString("/p%1.jpg").arg(i);
            ASSERT_EQ(album().AddPhoto(TestSupport::WritePhoto(name, kSizes[i].width(), kSizes[i].height())), i);
        }
        edit = static_cast<CQemEditWnd*>(frame->ClientView()->Step(1));
    }
    void TearDown() override
    {
        frame.reset();
        context->Display().ClearView();
        EditorContextTest::TearDown();
    }

public:
    AlbumModel& album() const { return context->Album(); }
    void enter()
    {
        frame->SelectStep(1);
        QApplication::processEvents();
    }
    // The album photo the view shows, by its file and by the picture's size.
    int shownPhoto() const
    {
        const DisplayCopies& display = context->Display();
        for (int i = 0; i < album().Count(); ++i) {
            if (display.CurrentPath() == album().PathOf(i))
                return display.ShownPicture().size() == kSizes[i] ? i : -2;
        }
        return -1;
    }
    void clickCell(int index, Kind kind)
    {
        const StripLayout& layout = edit->Strip()->Layout();
        const QRect cell = kind == Kind::Photo ? layout.PhotoCellOf(index) : layout.TransitionCellOf(index);
        QTest::mouseClick(edit->Strip(), Qt::LeftButton, {}, cell.center());
    }
    void clickArrow(bool next)
    {
        CQemLRPhotoEditWnd* window = edit->PhotoWindow();
        const QPoint at(next ? window->width() - 10 : 10, window->height() / 2);
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }
    QemControls::CTxtInputWnd& captionWindow() const { return *edit->View()->CaptionWindow(); }
    void typeCaption(const QString& text)
    {
        QTest::mouseClick(&captionWindow(), Qt::LeftButton, {}, QPoint(20, 10));
        ASSERT_NE(captionWindow().Edit(), nullptr);
        QTest::keyClicks(captionWindow().Edit(), text);
    }

    TestSupport::RecordedMessages messages;
    std::unique_ptr<CMainFrame> frame;
    CQemEditWnd* edit = nullptr;
};

} // namespace

TEST_F(EditStepTest, EnteringShowsTheFirstPhotoWithThePhotoPane)
{
    enter();
    EXPECT_EQ(edit->Strip()->CurrentIndex(), 0);
    EXPECT_TRUE(edit->Strip()->HasCurrentCell(0, Kind::Photo));
    EXPECT_EQ(shownPhoto(), 0);
    EXPECT_EQ(edit->View()->ShownIndex(), 0);
    EXPECT_EQ(edit->CurrentPane(), Pane::PhotoEdit);
    EXPECT_TRUE(edit->PhotoPane()->isVisible());
    EXPECT_TRUE(edit->View()->isVisible());
    EXPECT_FALSE(edit->EffectPane()->isVisible());
    EXPECT_FALSE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kLeft));
    EXPECT_TRUE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kRight));
}

TEST_F(EditStepTest, AStripClickChoosesThePane)
{
    enter();
    const struct {
        int index;
        Kind kind;
        Pane pane;
    } cases[] = {{1, Kind::Transition, Pane::NormalEdit}, {2, Kind::Photo, Pane::PhotoEdit},
                 {2, Kind::Transition, Pane::NormalEdit}, {0, Kind::Photo, Pane::PhotoEdit}};
    for (const auto& c : cases) {
        clickCell(c.index, c.kind);
        const bool photo = c.pane == Pane::PhotoEdit;
        EXPECT_EQ(edit->CurrentPane(), c.pane) << c.index;
        EXPECT_EQ(edit->PhotoPane()->isVisible(), photo) << c.index;
        EXPECT_EQ(edit->EffectPane()->isVisible(), !photo) << c.index;
        EXPECT_TRUE(edit->Strip()->HasCurrentCell(c.index, c.kind)) << c.index;
        if (photo) {
            EXPECT_EQ(shownPhoto(), c.index);
        }
    }
}

TEST_F(EditStepTest, ArrowsAndKeysStepThroughThePhotosAndStopAtTheEnds)
{
    const int last = album().Count() - 1;
    const struct {
        const char* name;
        std::function<void(EditStepTest&, bool)> move;
    } ways[] = {
        {"arrows", [](EditStepTest& t, bool next) { t.clickArrow(next); }},
        {"Left/Right", [](EditStepTest&, bool next) {
             QTest::keyClick(QApplication::focusWidget(), next ? Qt::Key_Right : Qt::Key_Left);
         }},
        {"Page Up/Down", [](EditStepTest&, bool next) {
             QTest::keyClick(QApplication::focusWidget(), next ? Qt::Key_PageDown : Qt::Key_PageUp);
         }},
    };
    enter();
    for (const auto& way : ways) {
        edit->Strip()->setFocus();
        ASSERT_EQ(edit->Strip()->CurrentIndex(), 0) << way.name;
        for (int i = 1; i <= last + 1; ++i) { // one more than there are photos
            way.move(*this, true);
            EXPECT_EQ(edit->Strip()->CurrentIndex(), std::min(i, last)) << way.name << " forward " << i;
        }
        EXPECT_EQ(shownPhoto(), last) << way.name;
        EXPECT_FALSE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kRight)) << way.name;
        for (int i = 1; i <= last + 1; ++i) {
            way.move(*this, false);
            EXPECT_EQ(edit->Strip()->CurrentIndex(), std::max(last - i, 0)) << way.name << " back " << i;
        }
        EXPECT_EQ(shownPhoto(), 0) << way.name;
        EXPECT_TRUE(edit->Strip()->HasCurrentCell(0, Kind::Photo)) << way.name;
        EXPECT_FALSE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kLeft)) << way.name;
    }
}

TEST_F(EditStepTest, CtrlRRotatesTheCurrentPhotosWorkingCopy)
{
    enter();
    album().SetModified(false);
    edit->Strip()->setFocus();
    QTest::keyClick(edit->Strip(), Qt::Key_R, Qt::ControlModifier);
    const QString path = album().PathOf(0);
    EXPECT_TRUE(WorkingCopyMap::Instance().IsWorkingCopy(path)) << path.toStdString();
    EXPECT_EQ(QImage(path).size(), QSize(360, 480));
    EXPECT_EQ(context->Display().ShownPicture().size(), QSize(270, 360));
    EXPECT_TRUE(album().Project().modified);
    EXPECT_FALSE(WorkingCopyMap::Instance().IsWorkingCopy(album().PathOf(1)));
}

TEST_F(EditStepTest, EscapeLeavesCropMode)
{
    enter();
    QTest::mouseClick(edit->PhotoPane()->ToolButton(CPhotoEditPane::CropTool), Qt::LeftButton);
    ASSERT_TRUE(context->EditCommands().CropMode());
    EXPECT_TRUE(edit->View()->Crop().Active());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(context->EditCommands().CropMode());
    EXPECT_FALSE(edit->View()->Crop().Active());
    EXPECT_EQ(shownPhoto(), 0); // nothing was cropped
}

TEST_F(EditStepTest, StoryboardEditShowsThatPhotoAndNoOtherFirst)
{
    QStringList shown;
    QObject::connect(&context->Display(), &DisplayCopies::PhotoChanged, frame.get(),
            [&] { shown << context->Display().CurrentPath(); });
    emit static_cast<CAddPhotoWnd*>(frame->ClientView()->Step(0))->Storyboard()->EditRequested(3);
    QApplication::processEvents();
    EXPECT_EQ(frame->ClientView()->CurrentStep(), 1);
    EXPECT_EQ(shown, QStringList{album().PathOf(3)});
    EXPECT_EQ(shownPhoto(), 3);
    EXPECT_EQ(edit->View()->ShownIndex(), 3);
    EXPECT_EQ(edit->PhotoWindow()->SelectedIndex(), 3);
    EXPECT_TRUE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kLeft));
    EXPECT_FALSE(edit->PhotoWindow()->ArrowEnabled(ArrowRules::kRight));
}

TEST_F(EditStepTest, ACaptionTypedStaysWithItsPhotoWhenAnotherIsShown)
{
    const struct {
        const char* name;
        std::function<void(EditStepTest&)> next;
    } ways[] = {
        {"strip click", [](EditStepTest& t) { t.clickCell(1, Kind::Photo); }},
        {"Next Photo arrow", [](EditStepTest& t) { t.clickArrow(true); }},
    };
    enter();
    for (const auto& way : ways) {
        edit->Strip()->Select(0, Kind::Photo);
        album().SetModified(false);
        typeCaption(QStringLiteral("Dunes"));
        way.next(*this);
        ASSERT_EQ(edit->View()->ShownIndex(), 1) << way.name;
        const Caption* first = album().Item(0).caption.get();
        ASSERT_NE(first, nullptr) << way.name;
        EXPECT_EQ(first->lines.join(QString()), "Dunes") << way.name;
        EXPECT_EQ(first->state, Caption::HasText) << way.name;
        EXPECT_EQ(album().Item(1).caption, nullptr) << way.name;
        EXPECT_EQ(captionWindow().State(), QemControls::CTxtInputWnd::Prompt) << way.name;
        EXPECT_TRUE(album().Project().modified) << way.name;

        // Back on the first photo the box shows the caption again; the next
        // round types it anew.
        edit->Strip()->Select(0, Kind::Photo);
        EXPECT_TRUE(captionWindow().IsEditing()) << way.name;
        EXPECT_EQ(captionWindow().Text(), "Dunes") << way.name;
        captionWindow().Edit()->clear();
        edit->Strip()->Select(2, Kind::Photo);
        EXPECT_EQ(album().Item(0).caption->state, Caption::NoText) << way.name;
    }
}

TEST_F(EditStepTest, AFontSizeChosenInThePaneReachesTheCaptionWindow)
{
    enter();
    typeCaption(QStringLiteral("Big"));
    QComboBox* sizes = edit->PhotoPane()->SizeBox();
    const int index = sizes->findText("36");
    ASSERT_GE(index, 0);
    sizes->setCurrentIndex(index);
    EXPECT_EQ(captionWindow().FontSize(), 36);
    EXPECT_EQ(captionWindow().CaptionFont(), CaptionFont::Make(captionWindow().Face(), 36, QGuiApplication::font()))
        << captionWindow().Face().toStdString();
    ASSERT_NE(album().Item(0).caption, nullptr);
    EXPECT_EQ(album().Item(0).caption->size, 36);
}

TEST_F(EditStepTest, AnEffectDoubleClickedWhileATransitionIsCurrentBecomesThatPhotosEffect)
{
    enter();
    for (int i = 0; i < album().Count(); ++i)
        album().SetEffect(i, 0);
    clickCell(1, Kind::Transition);
    ASSERT_EQ(edit->CurrentPane(), Pane::NormalEdit);
    CEffectListCtrl* list = edit->EffectList()->List();
    // The window system sends press, release, double-click, release.
    const QPoint at = list->CellRect(2).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(album().Item(1).effect, 2);
    EXPECT_EQ(album().Item(0).effect, 0);
    EXPECT_EQ(album().Item(2).effect, 0);
    EXPECT_TRUE(edit->Strip()->HasCurrentCell(1, Kind::Transition));
    EXPECT_EQ(edit->CurrentPane(), Pane::NormalEdit);
}

TEST_F(EditStepTest, ACaptionBeingTypedIsSavedAndAskedAboutOnClose)
{
    const QString folder = TestSupport::MakeFolder("Typed");
    ASSERT_TRUE(ProjectFile::Save(album(), folder, false));
    album().SetProjectFolder(folder);
    album().SetOpened(true);
    album().SetModified(false);
    enter();
    typeCaption(QStringLiteral("Still typing"));
    // Ctrl+S while the caption box has the focus.
    QTest::keyClick(captionWindow().Edit(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_NE(album().Item(0).caption, nullptr);
    EXPECT_EQ(album().Item(0).caption->lines.join(QString()), "Still typing");
    EXPECT_TRUE(TestSupport::ReadAll(ProjectFile::PathIn(folder)).contains("Still typing"));

    // Typing more and closing the window asks to save it.
    int questions = 0;
    context->Projects().SetPrompts({[&](const QString&) {
                                        ++questions;
                                        return ProjectCommands::Answer::Cancel;
                                    },
                                    nullptr, nullptr, nullptr});
    QTest::keyClicks(captionWindow().Edit(), "!");
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(questions, 1);
}

TEST_F(EditStepTest, TheLinkFieldShowsTheCurrentPhotosLink)
{
    enter();
    QLineEdit* link = edit->PhotoPane()->LinkEdit();
    link->setFocus();
    link->end(false);
    QTest::keyClicks(link, "example.com/a");
    ASSERT_NE(album().Item(0).caption, nullptr);
    EXPECT_EQ(album().Item(0).caption->url, "http://example.com/a");

    const struct {
        int photo;
        const char* shown;
    } steps[] = {{1, "http://"}, {0, "http://example.com/a"}, {2, "http://"}};
    for (const auto& s : steps) {
        clickCell(s.photo, Kind::Photo);
        EXPECT_EQ(link->text(), s.shown) << s.photo;
    }
    EXPECT_EQ(album().Item(1).caption, nullptr);
}

TEST_F(EditStepTest, APhotoEditedWhileACaptionIsTypedKeepsTheCaption)
{
    const struct {
        const char* name;
        std::function<void(EditStepTest&)> edit;
    } ways[] = {
        {"Mirror tool", [](EditStepTest& t) {
             QTest::mouseClick(t.edit->PhotoPane()->ToolButton(CPhotoEditPane::MirrorTool), Qt::LeftButton);
         }},
        {"Ctrl+R in the caption box",
         [](EditStepTest& t) { QTest::keyClick(t.captionWindow().Edit(), Qt::Key_R, Qt::ControlModifier); }},
    };
    enter();
    int photo = 0;
    for (const auto& way : ways) {
        edit->Strip()->Select(photo, Kind::Photo);
        typeCaption(QStringLiteral("Kept"));
        way.edit(*this);
        ASSERT_TRUE(WorkingCopyMap::Instance().IsWorkingCopy(album().PathOf(photo))) << way.name;
        ASSERT_NE(album().Item(photo).caption, nullptr) << way.name;
        EXPECT_EQ(album().Item(photo).caption->lines.join(QString()), "Kept") << way.name;
        EXPECT_TRUE(captionWindow().IsEditing()) << way.name;
        EXPECT_EQ(captionWindow().Text(), "Kept") << way.name;
        ++photo;
    }
}
