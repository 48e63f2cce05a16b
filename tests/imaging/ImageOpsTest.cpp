#include "common/FileUtils.h"
#include "editor/imaging/GifWriter.h"
#include "editor/imaging/ImageOps.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <QImageWriter>
#include <QPainter>
#include <climits>
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

TEST(ImageOps, ContentDecidesTheFormat)
{
    const QString dir = TestSupport::TempDir();
    // PNG data under a ".jpg" name (what display copies are) decodes.
    const QString png = dir + "copy.jpg";
    ImagingTest::Pattern(64, 48).save(png, "png");
    EXPECT_EQ(Decode(png).size(), QSize(64, 48));
    EXPECT_EQ(PictureSize(png), QSize(64, 48));
    // A portable pixmap is no photo format here, whatever its name.
    const QString ppm = dir + "pixmap.jpg";
    ImagingTest::Pattern(64, 48).save(ppm, "ppm");
    EXPECT_TRUE(Decode(ppm).isNull());
    EXPECT_FALSE(PictureSize(ppm).isValid());
}

// Every decoding entry point gives the photo upright, for all eight EXIF
// orientations: the full decode, the fitted one (through the JPEG decoder's
// reduced decoding), the thumbnail and the size probe. The stored picture has
// four coloured quarters; the table says which colour the upright picture
// shows at its top-left, top-right and bottom-left.
TEST(ImageOps, ExifOrientationIsApplied)
{
    const QColor red(220, 20, 20), green(20, 200, 20), blue(20, 20, 220), yellow(230, 230, 20);
    QImage stored(1600, 800, QImage::Format_RGB32);
    {
        QPainter painter(&stored);
        painter.fillRect(0, 0, 800, 400, red);
        painter.fillRect(800, 0, 800, 400, green);
        painter.fillRect(0, 400, 800, 400, blue);
        painter.fillRect(800, 400, 800, 400, yellow);
    }
    const struct {
        int orientation;
        bool portrait;
        QColor topLeft, topRight, bottomLeft;
    } cases[] = {
        {1, false, red, green, blue},   {2, false, green, red, yellow}, {3, false, yellow, blue, green},
        {4, false, blue, yellow, red},  {5, true, red, blue, green},    {6, true, blue, red, yellow},
        {7, true, yellow, green, blue}, {8, true, green, yellow, red},
    };
    const auto nearest = [&](QColor c) {
        QColor best;
        int bestDistance = INT_MAX;
        for (const QColor& candidate : {red, green, blue, yellow}) {
            const int d = std::abs(c.red() - candidate.red()) + std::abs(c.green() - candidate.green())
                          + std::abs(c.blue() - candidate.blue());
            if (d < bestDistance) {
                bestDistance = d;
                best = candidate;
            }
        }
        return best;
    };
    // The colours at a quarter of the way in from the corners of `area`.
    const auto expectCorners = [&](const QImage& image, QRect area, const auto& c, const char* what) {
        const int x0 = area.left() + area.width() / 4, x1 = area.left() + area.width() * 3 / 4;
        const int y0 = area.top() + area.height() / 4, y1 = area.top() + area.height() * 3 / 4;
        EXPECT_EQ(nearest(image.pixelColor(x0, y0)), c.topLeft) << what << " orientation " << c.orientation;
        EXPECT_EQ(nearest(image.pixelColor(x1, y0)), c.topRight) << what << " orientation " << c.orientation;
        EXPECT_EQ(nearest(image.pixelColor(x0, y1)), c.bottomLeft) << what << " orientation " << c.orientation;
    };
    for (const auto& c : cases) {
        const QString path = ImagingTest::WriteJpegWithOrientation(
            TestSupport::TempDir() + QStringLiteral("o%1.jpg").arg(c.orientation), stored, c.orientation);
        const QSize upright = c.portrait ? QSize(800, 1600) : QSize(1600, 800);
        EXPECT_EQ(PictureSize(path), upright) << c.orientation;

        const QImage full = Decode(path);
        ASSERT_EQ(full.size(), upright) << c.orientation;
        expectCorners(full, full.rect(), c, "decoded");

        int width = 0;
        int height = 0;
        const QImage fitted = LoadFittedBitmap(path, 480, 360, true, nullptr, &width, &height);
        EXPECT_EQ(QSize(width, height), upright) << c.orientation;
        ASSERT_EQ(fitted.size(), c.portrait ? QSize(180, 360) : QSize(480, 240)) << c.orientation;
        expectCorners(fitted, fitted.rect(), c, "fitted");

        const QImage thumb = LoadThumbnailBitmap(path);
        ASSERT_EQ(thumb.size(), QSize(192, 144));
        expectCorners(thumb, c.portrait ? QRect(60, 0, 72, 144) : QRect(0, 24, 192, 96), c, "thumbnail");
    }
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

// Common camera sizes fill their fitted size exactly: no truncated side and no
// white row or column left at the picture's edge, in working copies and in
// thumbnails, through the JPEG decoder's reduced decoding and the full one.
TEST(ImageOps, CameraSizesFillTheirFittedSizeExactly)
{
    const struct {
        QSize image;
        QSize fitted;   // shrink-only into 480 x 360
        QSize thumbnail; // the picture's part of the 192 x 144 thumbnail
    } cases[] = {
        {{4608, 3456}, {480, 360}, {192, 144}}, // 4:3
        {{2592, 1944}, {480, 360}, {192, 144}},
        {{5472, 3648}, {480, 320}, {192, 128}}, // 3:2
        {{3840, 2160}, {480, 270}, {192, 108}}, // 16:9
        {{3456, 4608}, {270, 360}, {108, 144}}, // portrait
        {{2160, 3840}, {202, 360}, {81, 144}},
    };
    const QColor colour(40, 80, 120);
    const auto isWhite = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    for (const auto& c : cases) {
        QImage picture(c.image, QImage::Format_RGB32);
        picture.fill(colour);
        for (const char* name : {"camera.jpg", "camera.png"}) {
            const QString path = TestSupport::TempDir() + name;
            ASSERT_TRUE(picture.save(path, nullptr, 90)); // PNG: the fast compression
            const QString what = QStringLiteral("%1 %2x%3").arg(name).arg(c.image.width()).arg(c.image.height());
            EXPECT_EQ(ShrinkOnlySize(c.image, QSize(480, 360)), c.fitted) << qPrintable(what);
            EXPECT_EQ(ResampleSize(c.image, QSize(192, 144)), c.thumbnail) << qPrintable(what);
            const QImage fitted = LoadFittedBitmap(path, 480, 360, true);
            ASSERT_EQ(fitted.size(), c.fitted) << qPrintable(what);
            const QImage thumb = LoadThumbnailBitmap(path);
            ASSERT_EQ(thumb.size(), QSize(192, 144)) << qPrintable(what);
            const QRect placed((192 - c.thumbnail.width()) / 2, (144 - c.thumbnail.height()) / 2, c.thumbnail.width(),
                               c.thumbnail.height());
            for (const auto& [image, area] : {std::pair{fitted, fitted.rect()}, std::pair{thumb, placed}}) {
                for (int x = area.left(); x <= area.right(); ++x)
                    ASSERT_FALSE(isWhite(image.pixelColor(x, area.top())) || isWhite(image.pixelColor(x, area.bottom())))
                        << qPrintable(what) << " column " << x;
                for (int y = area.top(); y <= area.bottom(); ++y)
                    ASSERT_FALSE(isWhite(image.pixelColor(area.left(), y)) || isWhite(image.pixelColor(area.right(), y)))
                        << qPrintable(what) << " row " << y;
            }
        }
    }
}

// Photos beyond Qt's default 128 MB allocation limit are ordinary photos: a
// 16-bit PNG from a raw converter, large PNGs and BMPs.
TEST(ImageOps, LargePhotosDecode)
{
    const struct {
        const char* name;
        QSize size;
        QImage::Format format;
        QSize fitted;
    } cases[] = {
        {"deep.png", {6000, 4000}, QImage::Format_RGBX64, {480, 320}},
        {"large.png", {7000, 5000}, QImage::Format_RGB32, {480, 342}},
        {"large.bmp", {7000, 5000}, QImage::Format_RGB32, {480, 342}},
    };
    for (const auto& c : cases) {
        const QString path = TestSupport::TempDir() + c.name;
        {
            QImage picture(c.size, c.format);
            picture.fill(QColor(40, 80, 120));
            ASSERT_TRUE(picture.save(path, nullptr, 90)) << c.name; // PNG: the fast compression
        }
        EXPECT_EQ(PictureSize(path), c.size) << c.name;
        EXPECT_EQ(Decode(path).size(), c.size) << c.name;
        int width = 0;
        int height = 0;
        const QImage fitted = LoadFittedBitmap(path, 480, 360, true, nullptr, &width, &height);
        EXPECT_EQ(fitted.size(), c.fitted) << c.name;
        EXPECT_EQ(QSize(width, height), c.size) << c.name;
        EXPECT_EQ(fitted.pixelColor(fitted.width() / 2, fitted.height() / 2), QColor(40, 80, 120)) << c.name;
        QFile::remove(path);
    }
}

namespace {

uint32_t Crc32(const QByteArray& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QStringList g_imageIoMessages;

void CollectMessages(QtMsgType, const QMessageLogContext&, const QString& message) { g_imageIoMessages << message; }

} // namespace

// A tiny file whose header claims 60,000 x 60,000 pixels is refused from its
// header: no decoder is asked for the memory (Qt would log its refusal).
TEST(ImageOps, DecompressionBombsAreRefusedFromTheirHeader)
{
    const QString dir = TestSupport::TempDir();
    const QImage small = ImagingTest::Pattern(16, 16);
    // PNG: the IHDR chunk's width and height, and its CRC over type and data.
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "png");
    }
    qToBigEndian<uint32_t>(60000, png.data() + 16);
    qToBigEndian<uint32_t>(60000, png.data() + 20);
    qToBigEndian<uint32_t>(Crc32(png.mid(12, 17)), png.data() + 29);
    TestSupport::WriteAll(dir + "bomb.png", png);
    // JPEG: the frame header's height and width.
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "jpeg");
    }
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    qToBigEndian<uint16_t>(60000, jpeg.data() + frame + 5);
    qToBigEndian<uint16_t>(60000, jpeg.data() + frame + 7);
    TestSupport::WriteAll(dir + "bomb.jpg", jpeg);

    g_imageIoMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectMessages);
    for (const char* name : {"bomb.png", "bomb.jpg"}) {
        const QString path = dir + name;
        ASSERT_EQ(QImageReader(path).size(), QSize(60000, 60000)) << name;
        EXPECT_TRUE(Decode(path).isNull()) << name;
        EXPECT_TRUE(LoadFittedBitmap(path, 480, 360, true).isNull()) << name;
        EXPECT_TRUE(LoadThumbnailBitmap(path).isNull()) << name;
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_imageIoMessages.filter(QStringLiteral("allocation limit")).isEmpty())
        << qPrintable(g_imageIoMessages.join("\n"));
    EXPECT_GT(qint64(60000) * 60000, kMaxPhotoPixels);
}
