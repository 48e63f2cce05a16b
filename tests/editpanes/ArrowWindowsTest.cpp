// The arrow windows: the band geometry and click rule without a display, and
// the photo edit window offscreen over an album of real photos: where the view
// goes, which arrows are enabled, what a click asks for, and the arrows as a
// screen reader reaches them.
#include "EditPanesFixture.h"
#include "editor/core/StringTable.h"
#include "editor/imaging/widgets/arrows/ArrowRules.h"
#include "editor/imaging/widgets/arrows/QemLRPhotoEditWnd.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

TEST(ArrowRulesTest, HitTestFindsTheBands)
{
    const QRect client(0, 0, 300, 100);
    const struct {
        QPoint point;
        int arrow;
    } cases[] = {
        {{0, 0}, ArrowRules::kLeft},    {{19, 99}, ArrowRules::kLeft},   {{20, 50}, ArrowRules::kNone},
        {{279, 50}, ArrowRules::kNone}, {{280, 50}, ArrowRules::kRight}, {{299, 0}, ArrowRules::kRight},
        {{300, 50}, ArrowRules::kNone}, {{10, 100}, ArrowRules::kNone},  {{-1, 10}, ArrowRules::kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArrowRules::HitTest(client, c.point), c.arrow) << c.point.x() << "," << c.point.y();
}

TEST(ArrowRulesTest, OnlyAnEnabledPressedArrowClicks)
{
    const struct {
        int pressed;
        bool left, right, fires;
    } cases[] = {
        {1, true, false, true},  {1, false, true, false}, {2, false, true, true},
        {2, true, false, false}, {-1, true, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArrowRules::ClickFires(c.pressed, c.left, c.right), c.fires) << c.pressed << c.left << c.right;
}

TEST(ArrowRulesTest, PictureCentredOnlyInABoxLargerThanIt)
{
    EXPECT_EQ(ArrowRules::PicturePosition(QRect(0, 0, 20, 100)), QPoint(4, 17));
    EXPECT_EQ(ArrowRules::PicturePosition(QRect(280, 0, 20, 65)), QPoint(280, 0));
    EXPECT_EQ(ArrowRules::ContentRect(QRect(0, 0, 300, 100)), QRect(20, 0, 260, 100));
    EXPECT_TRUE(ArrowRules::ContentRect(QRect(0, 0, 30, 100)).isEmpty());
}

class PhotoEditWndTest : public EditPanesTest::ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        window = std::make_unique<CQemLRPhotoEditWnd>(*context);
        window->resize(740, 500);
        // The strip's part: an arrow's request makes that photo current.
        QObject::connect(window.get(), &CQemLRPhotoEditWnd::SelectRequested, window.get(), [this](int index) {
            album().SetCurrentIndex(index);
            window->SelectPhoto(index, true);
        });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        ContextTest::TearDown();
    }
    void ClickArrow(int arrow)
    {
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(arrow == ArrowRules::kLeft ? 5 : 735, 250));
    }
    std::unique_ptr<CQemLRPhotoEditWnd> window;
};

TEST_F(PhotoEditWndTest, ViewIsPlacedCentredBetweenTheArrows)
{
    auto* view = new QWidget;
    window->SetView(view);
    EXPECT_EQ(window->objectName(), "QemLREditWnd");
    EXPECT_EQ(view->parentWidget(), window.get());
    EXPECT_EQ(view->geometry(), QRect(130, 70, 480, 360));
    window->resize(900, 600);
    EXPECT_EQ(view->geometry(), QRect(20 + (900 - 20 - 500) / 2, 120, 480, 360));
}

TEST_F(PhotoEditWndTest, WithOnePhotoBothArrowsAreDisabledAndClicksDoNothing)
{
    AddPhotos(1);
    QSignalSpy requests(window.get(), &CQemLRPhotoEditWnd::SelectRequested);
    window->SelectPhoto(0, true);
    EXPECT_FALSE(window->ArrowEnabled(1));
    EXPECT_FALSE(window->ArrowEnabled(2));
    ClickArrow(ArrowRules::kLeft);
    ClickArrow(ArrowRules::kRight);
    EXPECT_EQ(requests.count(), 0);
    EXPECT_EQ(window->SelectedIndex(), 0);
    EXPECT_EQ(display.CurrentPath(), album().PathOf(0)) << "the photo is shown";
    EXPECT_TRUE(messages.texts.isEmpty()) << qPrintable(messages.texts.join('\n'));
}

TEST_F(PhotoEditWndTest, OnTheLastPhotoTheLeftArrowStepsBack)
{
    AddPhotos(3);
    album().SetCurrentIndex(2);
    window->SelectPhoto(2, true);
    EXPECT_TRUE(window->ArrowEnabled(1));
    EXPECT_FALSE(window->ArrowEnabled(2));

    QSignalSpy requests(window.get(), &CQemLRPhotoEditWnd::SelectRequested);
    ClickArrow(ArrowRules::kRight);
    EXPECT_EQ(requests.count(), 0);
    ClickArrow(ArrowRules::kLeft);
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).toInt(), 1);
    EXPECT_EQ(window->SelectedIndex(), 1);
    EXPECT_TRUE(window->ArrowEnabled(1));
    EXPECT_TRUE(window->ArrowEnabled(2));
    EXPECT_EQ(display.CurrentPath(), album().PathOf(1));
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(5, 250));
    TestSupport::KeepScreenshot(window->grab().toImage(), "photo-edit-window-left-pressed");
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(5, 250));
}

TEST_F(PhotoEditWndTest, PhotoWhoseFileVanishedIsRemovedAndReported)
{
    AddPhotos(3);
    ASSERT_TRUE(QFile::remove(album().PathOf(1)));
    album().SetCurrentIndex(1);
    window->SelectPhoto(1, true);
    EXPECT_EQ(album().Count(), 2);
    EXPECT_EQ(messages.texts, QStringList{Strings::Load(Strings::ReadPhotoFailed)});
    EXPECT_FALSE(window->ArrowEnabled(1));
    EXPECT_FALSE(window->ArrowEnabled(2));
}

TEST_F(PhotoEditWndTest, ScreenReaderFindsAndPressesTheArrowsByName)
{
    AddPhotos(2);
    window->SelectPhoto(0, true);
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(root, nullptr);
    QAccessibleInterface* previous = nullptr;
    QAccessibleInterface* next = nullptr;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        if (child->text(QAccessible::Name) == "Previous Photo")
            previous = child;
        if (child->text(QAccessible::Name) == "Next Photo")
            next = child;
    }
    ASSERT_NE(previous, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->role(), QAccessible::Button);
    EXPECT_TRUE(previous->state().disabled);
    EXPECT_FALSE(next->state().disabled);

    QSignalSpy requests(window.get(), &CQemLRPhotoEditWnd::SelectRequested);
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return requests.count() == 1; }, 2000));
    EXPECT_EQ(requests.at(0).at(0).toInt(), 1);
    EXPECT_EQ(window->SelectedIndex(), 1);
}

} // namespace
