// The editor view offscreen over real photo files and the real edit commands:
// where photos are drawn, crop mode with its tracker, Escape and right click,
// red-eye clicks, and the caption window following the shown photo's caption.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/widgets/caption/TxtInputWnd.h"
#include "editor/imaging/widgets/photoview/QemPhotoView.h"
#include "tests/RecordedMessages.h"
#include "tests/TestSupport.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using QemControls::CTxtInputWnd;

class PhotoViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), "<E><Effect id=\"fade\" png=\"p.png\"/></E>");
        ASSERT_EQ(effects.Load(app), 1);
        context = std::make_unique<EditorContext>(
            EditorContext::Services{cache, effects, templates, display, WorkingCopyMap::Instance(),
                                    *CSubjectManager::Manager()},
            settings, messages);
        view = std::make_unique<CQemPhotoView>(*context);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    void TearDown() override
    {
        view.reset();
        context.reset();
        WorkingCopyMap::Instance().DiscardAll();
        display.ClearView();
    }

    AlbumModel& album() const { return context->Album(); }
    PhotoEditCommands& commands() const { return context->EditCommands(); }
    CTxtInputWnd& captionWindow() const { return *view->CaptionWindow(); }
    int addPhoto(const QString& name, int width, int height)
    {
        return album().AddPhoto(TestSupport::WritePhoto(TestSupport::TempDir() + name, width, height));
    }
    // What the transition strip does when a photo cell becomes current.
    void select(int index)
    {
        album().SetCurrentIndex(index);
        commands().SelectPhoto(index, true);
    }
    // The view without its caption window.
    QImage canvas() const
    {
        QImage image(view->size(), QImage::Format_RGB32);
        view->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    }
    void doubleClick(QPoint at)
    {
        // The window system sends press, release, double-click, release.
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at);
    }

    ThumbnailCache cache;
    EffectCatalogue effects;
    TemplateCatalogue templates;
    DisplayCopies display;
    EditorSettings settings;
    TestSupport::RecordedMessages messages;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<CQemPhotoView> view;
};

TEST_F(PhotoViewTest, DrawsThePhotoFittedAndCentredOnBlack)
{
    EXPECT_EQ(view->objectName(), "PhotoDrawArea");
    EXPECT_EQ(view->accessibleName(), "Photo");
    EXPECT_EQ(view->size(), QSize(480, 360));
    const struct {
        QSize photo;
        QRect drawn;
    } cases[] = {
        {{4000, 3000}, {0, 0, 480, 360}},
        {{300, 200}, {90, 80, 300, 200}},
        {{2000, 3000}, {120, 0, 240, 360}},
    };
    for (const auto& c : cases) {
        const int index = addPhoto(QString("p%1x%2.jpg").arg(c.photo.width()).arg(c.photo.height()), c.photo.width(),
                                   c.photo.height());
        ASSERT_GE(index, 0);
        select(index);
        EXPECT_EQ(view->DrawnRect(), c.drawn);
        const QImage shown = canvas();
        const QImage picture = display.ShownPicture().convertToFormat(QImage::Format_RGB32);
        EXPECT_LT(TestSupport::MeanDifference(shown.copy(c.drawn), picture.scaled(c.drawn.size())), 1.0);
        // Black around the picture.
        if (c.drawn.left() > 0) {
            EXPECT_EQ(shown.pixelColor(c.drawn.left() - 1, 180), QColor(Qt::black));
        }
        if (c.drawn.top() > 0) {
            EXPECT_EQ(shown.pixelColor(240, c.drawn.top() - 1), QColor(Qt::black));
        }
        // The canvas part under a rectangle is what the view shows there.
        QImage part(100, 100, QImage::Format_RGB32);
        part.fill(Qt::black);
        QPainter painter(&part);
        view->DrawCanvasPart(painter, QRect(60, 60, 100, 100));
        painter.end();
        EXPECT_EQ(part, shown.copy(60, 60, 100, 100));
    }
}

TEST_F(PhotoViewTest, PaintingShowsAPhotoMadeCurrentOnceEvenWhenItCannotBeDecoded)
{
    const QString good = TestSupport::WritePhoto(TestSupport::TempDir() + "good.jpg", 300, 200);
    const QString bad = TestSupport::TempDir() + "bad.jpg";
    TestSupport::WriteAll(bad, "not a picture");
    QSignalSpy shown(&display, &DisplayCopies::ViewChanged);

    display.ShowPath(good, false, true);
    view->repaint();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !display.ShownPicture().isNull(); }));
    EXPECT_EQ(view->DrawnRect(), QRect(90, 80, 300, 200));

    display.ShowPath(bad, false, true);
    shown.clear();
    for (int i = 0; i < 3; ++i) {
        view->repaint();
        QCoreApplication::processEvents();
    }
    // One try, then black: no decoding at every paint.
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(display.ShownPicture().isNull());
    EXPECT_EQ(canvas().pixelColor(240, 180), QColor(Qt::black));
}

TEST_F(PhotoViewTest, LinkAndStylesGoIntoTheShownPhotosCaption)
{
    const int index = addPhoto("photo.jpg", 480, 360);
    select(index);
    album().SetModified(false);
    view->SetUrl("");
    EXPECT_FALSE(album().Item(index).caption); // no link on a photo without caption: nothing to record
    EXPECT_FALSE(album().Project().modified);
    view->SetUrl("http://example.org/");
    ASSERT_TRUE(album().Item(index).caption);
    EXPECT_EQ(album().Item(index).caption->url, "http://example.org/");
    EXPECT_TRUE(album().Project().modified);

    QTest::mouseClick(&captionWindow(), Qt::LeftButton, {}, QPoint(60, 15));
    QTest::keyClicks(captionWindow().Edit(), "Hi");
    view->SetCaptionFace("DejaVu Sans");
    view->SetCaptionSize(28);
    view->SetCaptionColour(QColor(0, 128, 255));
    const Caption& caption = *album().Item(index).caption;
    EXPECT_EQ(caption.lines, QStringList({"Hi"}));
    EXPECT_EQ(caption.font, "DejaVu Sans");
    EXPECT_EQ(caption.size, 28);
    EXPECT_EQ(caption.colour, 0xff8000u);
    EXPECT_EQ(caption.url, "http://example.org/");
}

TEST_F(PhotoViewTest, CropModeStartsOnTheMiddleThirdAndCropsOnlyInside)
{
    select(addPhoto("full.jpg", 480, 360));
    QSignalSpy requests(view.get(), &CQemPhotoView::CropRequested);
    QObject::connect(view.get(), &CQemPhotoView::CropRequested, &commands(), &PhotoEditCommands::ApplyCrop);
    commands().EnterCropMode();
    EXPECT_EQ(view->Crop().TrackerRect(), QRect(160, 120, 160, 120));
    TestSupport::KeepScreenshot(view->grab().toImage(), "photoview-crop");

    // Beside the tracker: crop mode ends, nothing is cropped, the tracker stays.
    doubleClick(QPoint(40, 40));
    EXPECT_EQ(requests.count(), 0);
    EXPECT_FALSE(commands().CropMode());
    EXPECT_TRUE(view->Crop().HasTracker());
    EXPECT_EQ(display.ShownPicture().size(), QSize(480, 360));

    commands().EnterCropMode();
    EXPECT_EQ(view->Crop().TrackerRect(), QRect(160, 120, 160, 120));
    doubleClick(QPoint(240, 180));
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).value<ImageOps::EdgeRect>(), (ImageOps::EdgeRect{160, 120, 320, 240}));
    // The commands cropped the working copy and left crop mode.
    EXPECT_FALSE(commands().CropMode());
    EXPECT_FALSE(view->Crop().HasTracker());
    EXPECT_EQ(display.ShownPicture().size(), QSize(160, 120));
}

TEST_F(PhotoViewTest, EscapeLeavesCropModeOnlyInCropMode)
{
    select(addPhoto("full.jpg", 480, 360));
    commands().EnterCropMode();
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(commands().CropMode());
    EXPECT_FALSE(view->Crop().HasTracker());

    // Crop mode ended by a click beside the tracker: Escape leaves the kept tracker alone.
    commands().EnterCropMode();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_FALSE(commands().CropMode());
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(view->Crop().HasTracker());
}

TEST_F(PhotoViewTest, RightClickLeavesBothModes)
{
    select(addPhoto("full.jpg", 480, 360));
    for (bool crop : {true, false}) {
        if (crop)
            commands().EnterCropMode();
        else
            commands().EnterRedEyeMode();
        QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(240, 180));
        EXPECT_FALSE(commands().CropMode());
        EXPECT_FALSE(commands().RedEyeMode());
        EXPECT_FALSE(view->Crop().HasTracker());
    }
}

TEST_F(PhotoViewTest, RedEyeClicksCountOnlyOnThePicture)
{
    select(addPhoto("small.jpg", 300, 200));
    QSignalSpy requests(view.get(), &CQemPhotoView::RedEyeRequested);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(requests.count(), 0); // red-eye mode is off
    commands().EnterRedEyeMode();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(requests.count(), 0);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(150, 150));
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).toPoint(), QPoint(150, 150));
}

TEST_F(PhotoViewTest, CursorFollowsTheModeAndThePlace)
{
    select(addPhoto("small.jpg", 300, 200)); // drawn at (90, 80), 300 x 200
    const struct {
        bool crop;
        QPoint at;
        Qt::CursorShape shape;
    } cases[] = {
        {false, {150, 150}, Qt::BitmapCursor}, // red-eye cursor on the picture
        {false, {20, 20}, Qt::ArrowCursor},
        {true, {187, 143}, Qt::SizeFDiagCursor}, // top-left handle of (190, 146, 100, 68)
        {true, {240, 180}, Qt::SizeAllCursor},
        {true, {20, 20}, Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        if (c.crop)
            commands().EnterCropMode();
        else
            commands().EnterRedEyeMode();
        QTest::mouseMove(view.get(), c.at);
        EXPECT_EQ(view->cursor().shape(), c.shape) << c.at.x() << "," << c.at.y();
    }
    EXPECT_FALSE(RedEyeTool::Cursor().pixmap().isNull());
}

TEST_F(PhotoViewTest, CaptionWindowFollowsTheShownPhotosCaption)
{
    const int plain = addPhoto("plain.jpg", 480, 360);
    const int hidden = addPhoto("hidden.jpg", 480, 360);
    const int shown = addPhoto("shown.jpg", 480, 360);
    album().SetCaptionContent(hidden, CaptionBox{10, 10, 200, 60}, {"Hidden"}, 0, 20, "DejaVu Sans");
    album().CaptionOf(hidden)->state = Caption::NoText;
    album().SetCaptionContent(shown, CaptionBox{20, 30, 240, 130}, {"Shown ", "here"}, 0x0000ff, 24, "DejaVu Sans");
    album().SetModified(false);
    QSignalSpy properties(view.get(), &CQemPhotoView::CaptionShown);

    select(shown);
    EXPECT_EQ(captionWindow().State(), CTxtInputWnd::Editing);
    EXPECT_EQ(captionWindow().geometry(), QRect(20, 30, 220, 100));
    EXPECT_EQ(captionWindow().Text(), "Shown here");
    EXPECT_EQ(captionWindow().TextColour(), QColor(255, 0, 0));
    ASSERT_EQ(properties.count(), 1);
    EXPECT_EQ(properties.at(0).at(1).toInt(), 24);
    // Showing a caption changes nothing in the project.
    EXPECT_FALSE(album().Project().modified);

    for (int index : {hidden, plain}) {
        select(index);
        EXPECT_EQ(captionWindow().State(), CTxtInputWnd::Prompt) << index;
        EXPECT_EQ(captionWindow().geometry(), QRect(180, 300, 120, 30)) << index;
        EXPECT_TRUE(captionWindow().Text().isEmpty()) << index;
    }
    EXPECT_EQ(captionWindow().accessibleName(), "Caption");
}

TEST_F(PhotoViewTest, TypedLinesComeBackAsOneRun)
{
    const int first = addPhoto("first.jpg", 480, 360);
    const int second = addPhoto("second.jpg", 480, 360);
    select(first);
    view->SetCaptionFace("DejaVu Sans");
    view->SetCaptionSize(20);
    QTest::mouseClick(&captionWindow(), Qt::LeftButton, {}, QPoint(60, 15));
    ASSERT_EQ(captionWindow().State(), CTxtInputWnd::Editing);
    QTest::keyClicks(captionWindow().Edit(), "Sun");
    QTest::keyClick(captionWindow().Edit(), Qt::Key_Return);
    QTest::keyClicks(captionWindow().Edit(), "set");
    TestSupport::KeepScreenshot(view->grab().toImage(), "photoview-caption-editing");
    // Leaving the edit stores the caption.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(20, 20));
    const Caption* caption = album().Item(first).caption.get();
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->lines, QStringList({"Sun", "set"}));
    EXPECT_EQ(caption->state, Caption::HasText);
    EXPECT_EQ(QRect(caption->box.left, caption->box.top, caption->box.right - caption->box.left, 30),
              QRect(180, 300, 120, 30));
    EXPECT_GE(caption->box.bottom, 330);
    EXPECT_EQ(caption->font, "DejaVu Sans");
    EXPECT_EQ(caption->size, 20);
    EXPECT_TRUE(album().Project().modified);

    select(second);
    EXPECT_EQ(captionWindow().State(), CTxtInputWnd::Prompt);
    TestSupport::KeepScreenshot(view->grab().toImage(), "photoview-caption-prompt");
    select(first);
    EXPECT_EQ(captionWindow().Text(), "Sunset");
    EXPECT_EQ(captionWindow().TextLines(), QStringList({"Sunset"}));
}

TEST_F(PhotoViewTest, DoubleClickInTheEditStoresAndReturnsToThePrompt)
{
    const int index = addPhoto("photo.jpg", 480, 360);
    select(index);
    QTest::mouseClick(&captionWindow(), Qt::LeftButton, {}, QPoint(60, 15));
    QTest::keyClicks(captionWindow().Edit(), "Hello");
    QTest::mouseDClick(captionWindow().Edit()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(captionWindow().State(), CTxtInputWnd::Prompt);
    EXPECT_EQ(captionWindow().geometry(), QRect(180, 300, 120, 30));
    const Caption* caption = album().Item(index).caption.get();
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->lines, QStringList({"Hello"}));
    // A click on the prompt brings the stored text back.
    QTest::mouseClick(&captionWindow(), Qt::LeftButton, {}, QPoint(60, 15));
    EXPECT_EQ(captionWindow().Text(), "Hello");
}

} // namespace
