#include "common/FileUtils.h"
#include "editor/imaging/GifWriter.h"
#include "editor/imaging/ImageOps.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <set>
#include <gtest/gtest.h>

using namespace ImageOps;

TEST(ImageOps, PhotoFilesAreKnownByExtensionOnly)
{
    const struct {
        const char* path;
        bool photo;
    } cases[] = {
        {"/p/photo.JPG", true},  {"/p/photo.jpeg", true}, {"/p/a.bmp", true},     {"/p/a.Png", true},
        {"/p/a.gif", true},      {"/p/photo.tif", false}, {"/p/noextension", false}, {"/p.jpg/name", false},
        {"/p/archive.jpg.zip", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPhotoFile(QString::fromUtf8(c.path)), c.photo) << c.path;
}

TEST(ImageOps, FitRuleSizes)
{
    const struct {
        QSize image;
        QSize shrunk;
        float scale;
        QSize thumbResample;
    } cases[] = {
        {{4000, 3000}, {480, 360}, 4000.0f / 480.0f, {192, 144}},
        {{1000, 900}, {400, 360}, 2.5f, {160, 144}},
        {{300, 200}, {300, 200}, 1.0f, {192, 128}},
        {{480, 360}, {480, 360}, 1.0f, {192, 144}},
        {{2000, 3000}, {240, 360}, 3000.0f / 360.0f, {96, 144}},
        {{150, 100}, {150, 100}, 1.0f, {150, 100}}, // never enlarged
        {{9600, 1}, {480, 1}, 20.0f, {192, 1}},
    };
    for (const auto& c : cases) {
        float scale = 0;
        EXPECT_EQ(ShrinkOnlySize(c.image, QSize(480, 360), &scale), c.shrunk) << c.image.width() << "x" << c.image.height();
        EXPECT_FLOAT_EQ(scale, c.scale);
        EXPECT_EQ(ResampleSize(c.image, QSize(192, 144)), c.thumbResample);
    }
}

// Decoding at the JPEG decoder's own reduced scale must still give exactly the
// sizes of the fit rule, also for sizes that are no multiple of 8.
TEST(ImageOps, ReducedDecodingKeepsTheRuleSizes)
{
    const QSize sizes[] = {{4000, 3000}, {4001, 2999}, {3000, 4000}, {1999, 1333}, {641, 481}, {193, 145}, {250, 1900}};
    for (const QSize size : sizes) {
        const QString path = ImagingTest::Write(TestSupport::TempDir() + "size.jpg", ImagingTest::Pattern(size.width(), size.height()));
        float scale = 0;
        int width = 0;
        int height = 0;
        const QImage fitted = LoadFittedBitmap(path, 480, 360, true, &scale, &width, &height);
        float expectedScale = 0;
        EXPECT_EQ(fitted.size(), ShrinkOnlySize(size, QSize(480, 360), &expectedScale)) << size.width() << "x" << size.height();
        EXPECT_FLOAT_EQ(scale, expectedScale);
        EXPECT_EQ(QSize(width, height), size);
        EXPECT_EQ(LoadThumbnailBitmap(path).size(), QSize(192, 144));
    }
}

TEST(ImageOps, WorkingCopySizesFromRealFiles)
{
    const struct {
        QSize image;
        QSize fitted;
    } cases[] = {{{4000, 3000}, {480, 360}}, {{1000, 900}, {400, 360}}, {{300, 200}, {300, 200}}};
    for (const auto& c : cases) {
        const QString path = ImagingTest::Write(TestSupport::TempDir() + "photo.jpg", ImagingTest::Pattern(c.image.width(), c.image.height()));
        EXPECT_EQ(LoadFittedBitmap(path, 480, 360, true).size(), c.fitted);
        // A progressive JPEG ends at its end-of-image marker too.
        QImageWriter writer(TestSupport::TempDir() + "progressive.jpg", "jpeg");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(ImagingTest::Pattern(c.image.width(), c.image.height())));
        EXPECT_EQ(LoadFittedBitmap(TestSupport::TempDir() + "progressive.jpg", 480, 360, true).size(), c.fitted);
    }
}

TEST(ImageOps, ThumbnailIsCentredOnWhite)
{
    QImage red(300, 200, QImage::Format_RGB32);
    red.fill(QColor(200, 0, 0));
    const QString path = ImagingTest::Write(TestSupport::TempDir() + "red.png", red);
    const QImage thumb = LoadThumbnailBitmap(path);
    ASSERT_EQ(thumb.size(), QSize(192, 144));
    EXPECT_EQ(thumb.format(), QImage::Format_RGB888); // no more bytes than the pixels need
    for (int y : {0, 7, 136, 143})
        EXPECT_EQ(thumb.pixelColor(96, y), QColor(Qt::white)) << y;
    for (int y : {8, 72, 135})
        EXPECT_EQ(thumb.pixelColor(96, y), QColor(200, 0, 0)) << y;

    // A small picture is not enlarged: 150 x 100 sits at (21, 22).
    const QString small = ImagingTest::Write(TestSupport::TempDir() + "small.png", red.copy(0, 0, 150, 100));
    const QImage smallThumb = LoadThumbnailBitmap(small);
    EXPECT_EQ(smallThumb.pixelColor(20, 72), QColor(Qt::white));
    EXPECT_EQ(smallThumb.pixelColor(21, 72), QColor(200, 0, 0));
    EXPECT_EQ(smallThumb.pixelColor(170, 72), QColor(200, 0, 0));
    EXPECT_EQ(smallThumb.pixelColor(171, 72), QColor(Qt::white));
    EXPECT_EQ(smallThumb.pixelColor(96, 21), QColor(Qt::white));
    EXPECT_EQ(smallThumb.pixelColor(96, 22), QColor(200, 0, 0));
}

TEST(ImageOps, ThumbnailsKeepTheirDepth)
{
    const QString dir = TestSupport::TempDir();
    EXPECT_EQ(LoadThumbnailBitmap(ImagingTest::Write(dir + "a.jpg", ImagingTest::Pattern(800, 600))).format(),
              QImage::Format_RGB888);
    const QImage grey = ImagingTest::Pattern(800, 600).convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(LoadThumbnailBitmap(ImagingTest::Write(dir + "grey.jpg", grey)).format(), QImage::Format_Grayscale8);
    const QImage gifThumb = LoadThumbnailBitmap(ImagingTest::Write(dir + "a.gif", ImagingTest::Pattern(192, 144)));
    EXPECT_EQ(gifThumb.format(), QImage::Format_RGB32); // a palette picture is widened to 32 bits
    const QImage palettePng = ImagingTest::Pattern(800, 600).convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(LoadThumbnailBitmap(ImagingTest::Write(dir + "palette.png", palettePng)).format(), QImage::Format_RGB32);

    // Transparent parts show the white canvas.
    QImage clear(300, 200, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage thumb = LoadThumbnailBitmap(ImagingTest::Write(dir + "clear.png", clear));
    EXPECT_EQ(thumb.format(), QImage::Format_RGB888);
    EXPECT_EQ(thumb.pixelColor(96, 72), QColor(Qt::white));
}

TEST(ImageOps, ContentDecidesTheFormatAndExifOrientationIsIgnored)
{
    const QString dir = TestSupport::TempDir();
    // PNG data under a ".jpg" name (what display copies are) decodes.
    const QString png = dir + "copy.jpg";
    ImagingTest::Pattern(64, 48).save(png, "png");
    EXPECT_EQ(Decode(png).size(), QSize(64, 48));
    // A portable pixmap is no photo format here, whatever its name.
    const QString ppm = dir + "pixmap.jpg";
    ImagingTest::Pattern(64, 48).save(ppm, "ppm");
    EXPECT_TRUE(Decode(ppm).isNull());

    const QString turned = ImagingTest::WriteJpegWithOrientation(dir + "turned.jpg", 40, 20);
    ASSERT_EQ(QImageReader(turned).transformation(), QImageIOHandler::TransformationRotate90);
    EXPECT_EQ(Decode(turned).size(), QSize(40, 20));
    int width = 0;
    int height = 0;
    LoadFittedBitmap(turned, 480, 360, true, nullptr, &width, &height);
    EXPECT_EQ(QSize(width, height), QSize(40, 20));
}

TEST(ImageOps, CanvasPlacement)
{
    EXPECT_EQ(CanvasPlacement(QSize(4000, 3000)), QRect(0, 0, 480, 360));
    EXPECT_EQ(CanvasPlacement(QSize(300, 200)), QRect(90, 80, 300, 200));
    EXPECT_EQ(CanvasPlacement(QSize(2000, 3000)), QRect(120, 0, 240, 360));
    EXPECT_EQ(CanvasPlacement(QSize(400, 360)), QRect(40, 0, 400, 360));
}

TEST(ImageOps, TemporaryNamesAreChosenByExistence)
{
    const QString first = FileUtils::MakeTempPath(QStringLiteral("~tmp"), QStringLiteral("jpg"));
    EXPECT_EQ(first, TestSupport::TempDir() + "~tmp0.jpg");
    EXPECT_EQ(FileUtils::MakeTempPath(QStringLiteral("~tmp"), QStringLiteral("jpg")), first); // nothing was written
    TestSupport::WriteAll(first, "x");
    EXPECT_EQ(FileUtils::MakeTempPath(QStringLiteral("~tmp"), QStringLiteral("jpg")), TestSupport::TempDir() + "~tmp1.jpg");
    QFile::remove(first); // the display copies that later tests make start at ~tmp0.jpg
}

TEST(ImageOps, SavesWithTheEncoderTheExtensionNames)
{
    const QString dir = TestSupport::TempDir();
    const QImage picture = ImagingTest::Pattern(120, 90);
    const struct {
        const char* name;
        QByteArray magic;
    } cases[] = {
        {"a.jpg", QByteArray("\xFF\xD8\xFF", 3)}, {"a.JPEG", QByteArray("\xFF\xD8\xFF", 3)},
        {"a.png", QByteArray("\x89PNG", 4)},      {"a.bmp", QByteArray("BM")},
        {"a.gif", QByteArray("GIF8")},            {"a.tif", QByteArray("II*\0", 4)},
    };
    for (const auto& c : cases) {
        const QString path = dir + c.name;
        ASSERT_TRUE(SaveBitmapToFile(path, picture)) << c.name;
        EXPECT_TRUE(TestSupport::ReadAll(path).startsWith(c.magic)) << c.name;
        EXPECT_EQ(Decode(path).size(), QSize(120, 90)) << c.name;
    }
    EXPECT_FALSE(SaveBitmapToFile(dir + "a.xyz", picture));
    EXPECT_FALSE(SaveBitmapToFile(dir + "noextension", picture));
    EXPECT_FALSE(SaveBitmapToFile(dir + "b.png", QImage()));
    EXPECT_FALSE(SaveBitmapToFile(QString(), picture));
    EXPECT_FALSE(QFileInfo::exists(dir + "a.xyz"));
    EXPECT_FALSE(SaveBitmapToFile(dir + "missing/folder/a.png", picture));
}

TEST(ImageOps, GifKeepsFewColoursExactlyAndQuantisesMany)
{
    const QString dir = TestSupport::TempDir();
    QImage four(40, 30, QImage::Format_RGB32);
    four.fill(QColor(10, 20, 30));
    for (int x = 0; x < 40; ++x) {
        four.setPixelColor(x, 0, QColor(250, 0, 0));
        four.setPixelColor(x, 1, QColor(0, 250, 0));
        four.setPixelColor(x, 2, QColor(0, 0, 250));
    }
    ASSERT_TRUE(SaveBitmapToFile(dir + "four.gif", four));
    const QImage back = Decode(dir + "four.gif").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, four);

    const QImage many = ImagingTest::Pattern(200, 150); // a gradient: thousands of colours
    ASSERT_TRUE(SaveBitmapToFile(dir + "many.gif", many));
    const QImage decoded = Decode(dir + "many.gif").convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> colours;
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width(); ++x)
            colours.insert(decoded.pixel(x, y));
    EXPECT_GT(colours.size(), 64u);
    EXPECT_LE(colours.size(), 256u);
    const QColor centre = decoded.pixelColor(100, 75);
    EXPECT_NEAR(centre.red(), 255, 12); // the white disc stays white
    EXPECT_NEAR(centre.green(), 255, 12);

    // Transparent pixels get the transparent index.
    QImage holes(20, 20, QImage::Format_ARGB32);
    holes.fill(QColor(0, 0, 255));
    holes.setPixelColor(5, 5, Qt::transparent);
    ASSERT_TRUE(SaveBitmapToFile(dir + "holes.gif", holes));
    const QImage holesBack = Decode(dir + "holes.gif");
    EXPECT_EQ(qAlpha(holesBack.pixel(5, 5)), 0);
    EXPECT_EQ(holesBack.pixelColor(6, 6), QColor(0, 0, 255));
}
