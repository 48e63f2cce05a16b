#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ImageTransforms.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace ImageOps;

namespace {

const QColor a(255, 0, 0), b(0, 255, 0), c(0, 0, 255), d(255, 255, 0), e(0, 255, 255), f(255, 0, 255);

// a b c
// d e f
QImage SixPixels()
{
    QImage image(3, 2, QImage::Format_RGB32);
    const QColor colours[] = {a, b, c, d, e, f};
    for (int i = 0; i < 6; ++i)
        image.setPixelColor(i % 3, i / 3, colours[i]);
    return image;
}

const QColor kGrey(120, 200, 200); // not reddish: red below the mean of green and blue
using ImagingTest::Eye;
using ImagingTest::kIris;
using ImagingTest::kPupil;

} // namespace

TEST(ImageTransforms, QuarterTurnsAndMirror)
{
    const QImage right = RotatedRight(SixPixels()); // clockwise: d a / e b / f c
    ASSERT_EQ(right.size(), QSize(2, 3));
    EXPECT_EQ(right.pixelColor(0, 0), d);
    EXPECT_EQ(right.pixelColor(1, 0), a);
    EXPECT_EQ(right.pixelColor(0, 2), f);
    EXPECT_EQ(right.pixelColor(1, 2), c);
    const QImage left = RotatedLeft(SixPixels()); // counter-clockwise: c f / b e / a d
    EXPECT_EQ(left.pixelColor(0, 0), c);
    EXPECT_EQ(left.pixelColor(1, 0), f);
    EXPECT_EQ(left.pixelColor(0, 2), a);
    EXPECT_EQ(left.pixelColor(1, 2), d);
    const QImage mirrored = Mirrored(SixPixels());
    EXPECT_EQ(mirrored.pixelColor(0, 0), c);
    EXPECT_EQ(mirrored.pixelColor(2, 1), d);

    // Through files, a palette GIF included.
    for (const char* name : {"turn.png", "turn.gif", "turn.bmp"}) {
        const QString path = TestSupport::TempDir() + name;
        ASSERT_TRUE(SaveBitmapToFile(path, SixPixels())) << name;
        ASSERT_TRUE(ApplyRotateRight(path)) << name;
        const QImage back = Decode(path);
        ASSERT_EQ(back.size(), QSize(2, 3)) << name;
        EXPECT_EQ(back.pixelColor(1, 0), a) << name;
        ASSERT_TRUE(ApplyRotateLeft(path));
        ASSERT_TRUE(ApplyMirror(path));
        EXPECT_EQ(Decode(path).pixelColor(0, 0), c) << name;
    }
}

TEST(ImageTransforms, CropClampsOrdersAndSkipsEmptyRectangles)
{
    QImage image(10, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixelColor(x, y, QColor(x * 20, y * 30, 0));
    const struct {
        EdgeRect rect;
        QRect expected;
    } cases[] = {
        {{2, 1, 6, 5}, QRect(2, 1, 4, 4)},
        {{6, 5, 2, 1}, QRect(2, 1, 4, 4)},     // edges in either order
        {{-5, -5, 3, 100}, QRect(0, 0, 3, 8)}, // clamped into the picture
        {{3, 3, 3, 7}, QRect(0, 0, 10, 8)},    // empty width: unchanged
        {{20, 20, 30, 30}, QRect(0, 0, 10, 8)},
    };
    for (const auto& test : cases) {
        const QImage cropped = Cropped(image, test.rect);
        EXPECT_EQ(cropped, image.copy(test.expected)) << test.rect.left << "," << test.rect.top;
    }
    // The file is rewritten even when the rectangle is empty.
    const QString path = TestSupport::TempDir() + "crop.png";
    ASSERT_TRUE(SaveBitmapToFile(path, image));
    ImagingTest::SetModificationTime(path, 1000000000);
    EXPECT_TRUE(ApplyCrop(EdgeRect{3, 3, 3, 7}, path));
    EXPECT_NE(ImagingTest::StateOf(path).time, ImagingTest::FileTimeOfSeconds(1000000000));
    EXPECT_EQ(Decode(path).size(), QSize(10, 8));
    EXPECT_TRUE(ApplyCrop(EdgeRect{2, 1, 6, 5}, path));
    EXPECT_EQ(Decode(path).size(), QSize(4, 4));
}

TEST(ImageTransforms, LightTableTruncatesAndClamps)
{
    const struct {
        int brightness, contrast, in, out;
    } cases[] = {
        {30, 0, 0, 30},     {30, 0, 250, 255},  {-30, 0, 10, 0},     {40, 0, 100, 140},
        {0, 50, 0, 0},      {0, 50, 100, 86},   {0, 50, 129, 129},   // 129.5 truncates to 129
        {0, -50, 1, 64},    // 64.5 truncates to 64
        {0, 10, 200, 207},  {0, 100, 255, 255}, {0, -100, 17, 128},  {0, 0, 77, 77},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LightTable(c.brightness, c.contrast)[size_t(c.in)], c.out)
            << "brightness " << c.brightness << " contrast " << c.contrast << " value " << c.in;
}

TEST(ImageTransforms, LightTableReachesEveryChannelButNotAlpha)
{
    const auto table = LightTable(40, 0);
    QImage rgb(2, 1, QImage::Format_RGB888);
    rgb.setPixelColor(0, 0, QColor(10, 100, 230));
    rgb.setPixelColor(1, 0, QColor(0, 0, 0));
    const QImage lighter = WithLightTable(rgb, table);
    EXPECT_EQ(lighter.pixelColor(0, 0), QColor(50, 140, 255));
    EXPECT_EQ(lighter.pixelColor(1, 0), QColor(40, 40, 40));

    QImage translucent(1, 1, QImage::Format_ARGB32);
    translucent.setPixel(0, 0, qRgba(10, 20, 30, 77));
    EXPECT_EQ(WithLightTable(translucent, table).pixel(0, 0), qRgba(50, 60, 70, 77));

    QImage indexed(1, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3)});
    indexed.setPixel(0, 0, 0);
    EXPECT_EQ(WithLightTable(indexed, table).pixel(0, 0), qRgb(41, 42, 43));
}

TEST(ImageTransforms, RedEyeDarkensTheRedPupilOnly)
{
    QImage eye = Eye(480, 360, 240, 180);
    const QImage before = eye;
    ASSERT_TRUE(RemoveRedEyeAt(eye, 240, 180));
    int changed = 0;
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 480; ++x) {
            const QColor was = before.pixelColor(x, y);
            const QColor now = eye.pixelColor(x, y);
            if (was == kPupil) {
                EXPECT_EQ(now, QColor(30, 30, 30)) << x << "," << y; // red down to the mean of green and blue
                ++changed;
            } else {
                EXPECT_EQ(now, was) << x << "," << y;
            }
        }
    }
    EXPECT_GT(changed, 400);

    // A point that is not reddish, with no reddish pixel in its window.
    QImage iris = Eye(480, 360, 240, 180);
    ASSERT_TRUE(RemoveRedEyeAt(iris, 240 + 20, 180));
    EXPECT_EQ(iris, before);
    // Outside the picture nothing happens.
    EXPECT_FALSE(RemoveRedEyeAt(iris, 480, 10));
    EXPECT_FALSE(RemoveRedEyeAt(iris, -1, 10));
}

TEST(ImageTransforms, RedEyeWindowRules)
{
    // Left of and above the picture reads as white: a bright red pixel next
    // to the fill counts as reddish through those white readings.
    QImage corner(8, 3, QImage::Format_RGB32);
    corner.fill(kGrey);
    for (int x = 0; x < 3; ++x)
        corner.setPixelColor(x, 0, QColor(100, 20, 20));
    corner.setPixelColor(3, 0, QColor(255, 40, 40));
    ASSERT_TRUE(RemoveRedEyeAt(corner, 0, 0));
    EXPECT_EQ(corner.pixelColor(2, 0), QColor(20, 20, 20));
    EXPECT_EQ(corner.pixelColor(3, 0), QColor(40, 40, 40));
    EXPECT_EQ(corner.pixelColor(4, 0), kGrey);

    // At the right edge the window moves left to end there, so it sees x = 5.
    QImage edge(10, 3, QImage::Format_RGB32);
    edge.fill(kGrey);
    edge.setPixelColor(5, 1, QColor(77, 10, 10));
    for (int x = 6; x < 10; ++x)
        edge.setPixelColor(x, 1, QColor(150, 20, 20));
    ASSERT_TRUE(RemoveRedEyeAt(edge, 9, 1));
    EXPECT_EQ(edge.pixelColor(5, 1), QColor(10, 10, 10));
    EXPECT_EQ(edge.pixelColor(6, 1), QColor(20, 20, 20));
    EXPECT_EQ(edge.pixelColor(4, 1), kGrey);

    // A picture narrower than 5: from column 2 the window is the picture's
    // width (no white column), from column 3 it moves left past the edge.
    const struct {
        int column;
        int redAfter;
    } narrow[] = {{2, 255}, {3, 40}};
    for (const auto& c : narrow) {
        QImage tall(4, 10, QImage::Format_RGB32);
        tall.fill(kGrey);
        for (int y = 5; y < 8; ++y)
            tall.setPixelColor(c.column, y, QColor(100, 20, 20));
        tall.setPixelColor(c.column, 8, QColor(255, 40, 40)); // below the window
        ASSERT_TRUE(RemoveRedEyeAt(tall, c.column, 5));
        EXPECT_EQ(tall.pixelColor(c.column, 7), QColor(20, 20, 20)) << c.column;
        EXPECT_EQ(tall.pixelColor(c.column, 8).red(), c.redAfter) << c.column;
    }
}

TEST(ImageTransforms, RedEyeThroughAFileTakesViewCoordinates)
{
    // A 300 x 200 picture is drawn at (90, 80) on the editor canvas.
    const QString path = TestSupport::TempDir() + "eye.png";
    ASSERT_TRUE(SaveBitmapToFile(path, Eye(300, 200, 150, 100)));
    const ImagingTest::FileState before = ImagingTest::StateOf(path);
    EXPECT_FALSE(RemoveRedEye(path, 10, 10)); // beside the picture: nothing written
    EXPECT_EQ(ImagingTest::StateOf(path), before);
    ASSERT_TRUE(RemoveRedEye(path, 90 + 150, 80 + 100));
    EXPECT_EQ(Decode(path).pixelColor(150, 100), QColor(30, 30, 30));
    EXPECT_EQ(Decode(path).pixelColor(150, 100 + 20), kIris);

    // A working copy turned upright (360 x 480) is drawn reduced to 270 x 360
    // at (105, 0): a click on its drawn eye reaches the eye.
    const QString upright = TestSupport::TempDir() + "upright.png";
    ASSERT_TRUE(SaveBitmapToFile(upright, Eye(360, 480, 100, 100)));
    ASSERT_TRUE(RemoveRedEye(upright, 105 + 75, 75));
    EXPECT_EQ(Decode(upright).pixelColor(100, 100), QColor(30, 30, 30));

    // A non-red point changes nothing but still rewrites the file.
    ImagingTest::SetModificationTime(path, 1000000000);
    const QImage unchanged = Decode(path);
    ASSERT_TRUE(RemoveRedEye(path, 90 + 150 + 20, 80 + 100));
    EXPECT_EQ(Decode(path), unchanged);
    EXPECT_NE(ImagingTest::StateOf(path).time, ImagingTest::FileTimeOfSeconds(1000000000));
}
