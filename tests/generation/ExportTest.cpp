#include "editor/generation/PhotoExport.h"
#include "tests/generation/GenerationFixture.h"

#include <QImageReader>
#include <QPainter>

namespace {

class ExportTest : public GenerationFixture {
protected:
    void SetUp() override
    {
        GenerationFixture::SetUp();
        ASSERT_TRUE(output.MakeFolders(TestSupport::TempDir() + "Out/"));
    }
    QByteArray formatOf(const QString& path) const
    {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        return reader.format();
    }
    AlbumOutput output;
};

} // namespace

TEST_F(ExportTest, NamesAreMadeUniqueAndBitmapsBecomeJpeg)
{
    addPhoto("1/a.jpg");
    addPhoto("2/a.jpg");
    addPhoto("3/a.jpg");
    addPhoto("my.photo.jpg");
    addPhoto("4/my.photo.jpg");
    addPhoto("b.bmp");
    addPhoto("c.png", 300, 200);
    album->SetCaptionContent(6, CaptionBox{10, 10, 200, 60}, {"caption"}, 0xffffff, 20, "Sans");

    PhotoExporter exporter(*album, output);
    QStringList addresses, thumbs;
    for (int i = 0; i < album->Count(); ++i) {
        thumbs << exporter.WriteThumbnail(i);
        addresses << exporter.ExportPhoto(i, false);
    }
    EXPECT_EQ(addresses, QStringList({"photo/a.jpg", "photo/a1.jpg", "photo/a2.jpg", "photo/my.photo.jpg",
                                      "photo/my1.photo", "photo/b.jpg", "photo/c.png"}));
    EXPECT_EQ(thumbs, QStringList({"thumb_a.jpg", "thumb_a0.jpg", "thumb_a1.jpg", "thumb_my.photo.jpg",
                                   "thumb_my.photo0.jpg", "thumb_b0.jpg", "thumb_c.png"}));
    ASSERT_TRUE(exporter.Run());

    const QString photo = output.PhotoFolder();
    // Uncaptioned photos carry the display copy (PNG data) under their own
    // name; bitmaps and captioned photos are JPEG whatever their extension.
    EXPECT_EQ(formatOf(photo + "a.jpg"), "png");
    EXPECT_EQ(formatOf(photo + "my1.photo"), "png");
    EXPECT_EQ(formatOf(photo + "b.jpg"), "jpeg");
    EXPECT_EQ(formatOf(photo + "c.png"), "jpeg");
    EXPECT_EQ(QImageReader(photo + "a.jpg").size(), QSize(480, 360));
    EXPECT_EQ(QImageReader(photo + "c.png").size(), QSize(300, 200)); // never enlarged
    EXPECT_EQ(formatOf(output.ThumbsFolder() + "thumb_b0.jpg"), "jpeg");
    EXPECT_EQ(formatOf(output.ThumbsFolder() + "thumb_c.png"), "png");
    EXPECT_EQ(QImageReader(output.ThumbsFolder() + "thumb_a.jpg").size(), QSize(192, 144));
    EXPECT_EQ(QDir(photo).count() - 2, 7u);
}

TEST_F(ExportTest, ThumbnailsAlreadyWrittenKeepTheirNames)
{
    addPhoto("1/a.jpg");
    addPhoto("2/a.jpg");
    addPhoto("1/b.bmp");
    addPhoto("2/b.bmp");
    WrittenThumbnails::Instance().Clear();
    QStringList first, second;
    {
        PhotoExporter exporter(*album, output);
        for (int i = 0; i < album->Count(); ++i)
            first << exporter.WriteThumbnail(i);
    }
    EXPECT_EQ(first, QStringList({"thumb_a.jpg", "thumb_a0.jpg", "thumb_b0.jpg", "thumb_b1.jpg"}));
    // The same output again (a second preview): every photo finds its own file.
    {
        PhotoExporter exporter(*album, output);
        for (int i = 0; i < album->Count(); ++i)
            second << exporter.WriteThumbnail(i);
    }
    EXPECT_EQ(second, first);
    EXPECT_EQ(QDir(output.ThumbsFolder()).entryList(QDir::Files).size(), 4);
}

TEST_F(ExportTest, PreviewPlaysUncaptionedPhotosWhereTheyLie)
{
    addPhoto("c.png");
    addPhoto("d.bmp", 1000, 800);
    addPhoto("e.jpg");
    album->SetCaptionUrl(2, "http://e.example/"); // a caption without lines
    PhotoExporter exporter(*album, output);
    const QStringList addresses{exporter.ExportPhoto(0, true), exporter.ExportPhoto(1, true),
                                exporter.ExportPhoto(2, true)};
    ASSERT_TRUE(exporter.Run());
    EXPECT_EQ(addresses, QStringList({pictures + "c.png", "photo/d.jpg", "photo/e.jpg"}));
    EXPECT_EQ(QImageReader(output.PhotoFolder() + "d.jpg").size(), QSize(1000, 800)); // full size
    EXPECT_EQ(formatOf(output.PhotoFolder() + "e.jpg"), "png");                      // the display copy
    EXPECT_FALSE(QFile::exists(output.PhotoFolder() + "c.png"));
}

TEST_F(ExportTest, PhotosThatCannotBeReadWriteNoFile)
{
    addPhoto("gone.jpg");
    addPhoto("kept.jpg");
    QFile::remove(pictures + "gone.jpg");
    PhotoExporter exporter(*album, output);
    EXPECT_EQ(exporter.ExportPhoto(0, false), "photo/gone.jpg");
    EXPECT_EQ(exporter.ExportPhoto(1, false), "photo/kept.jpg");
    EXPECT_TRUE(exporter.Run());
    EXPECT_EQ(QDir(output.PhotoFolder()).entryList(QDir::Files), QStringList{"kept.jpg"});
}

TEST(CaptionBox, MapsFromTheCanvasOntoTheDisplayCopy)
{
    struct Case {
        CaptionBox box;
        int width, height;
        QRect expected; // left, top, right, bottom as QRect(QPoint, QPoint) with inclusive ends
    } cases[] = {
        {{100, 50, 200, 100}, 400, 300, QRect(QPoint(64, 26), QPoint(155, 67))},
        {{100, 50, 200, 100}, 480, 360, QRect(QPoint(104, 56), QPoint(195, 97))},
        {{0, 0, 480, 360}, 240, 360, QRect(QPoint(-116, 6), QPoint(355, 357))},
        {{10, 10, 11, 11}, 480, 360, QRect(QPoint(14, 16), QPoint(6, 8))}, // shrinks to nothing
        // Wider than the canvas (never a display copy, but the rule is kept):
        // left scaled by 2, moved up by (360 - 300) / 2, then top scaled by 2.
        {{100, 50, 200, 100}, 960, 600, QRect(QPoint(204, 46), QPoint(295, 87))},
    };
    for (const Case& c : cases) {
        const QRect r = PhotoExporter::MapCaptionBox(c.box, c.width, c.height);
        EXPECT_EQ(r, c.expected) << c.box.left << "," << c.box.top << " on " << c.width << "x" << c.height;
    }
    // Coordinates at the ends of the int range do not overflow.
    const QRect far = PhotoExporter::MapCaptionBox(CaptionBox{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 400, 300);
    EXPECT_LT(far.left(), 0);
    EXPECT_GT(far.right(), 0);
    EXPECT_TRUE(PhotoExporter::MapCaptionBox(CaptionBox{INT32_MAX, 0, INT32_MIN, 5}, 400, 300).isEmpty());
}

TEST(CaptionBox, TextIsDrawnInsideTheBoxOnly)
{
    Caption caption;
    caption.box = CaptionBox{100, 50, 200, 100}; // (64, 26, 156, 68) on 400 x 300
    caption.lines = QStringList{"MMMMMMMMMMMMMMMMMMMMMMMM", "MMMMMMMMMMMMMMMMMMMM", "MMMMMMMMMMMMMMMMMMMMM"};
    caption.colour = 0x0000ff; // red in 0x00BBGGRR
    caption.size = 30;
    caption.font = "WenQuanYi Micro Hei";
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::black);
    PhotoExporter::RenderCaption(caption, picture);
    QRect touched;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != qRgb(0, 0, 0)) {
                touched |= QRect(x, y, 1, 1);
                const QColor c = picture.pixelColor(x, y);
                EXPECT_GE(c.red(), c.blue());
            }
    EXPECT_GE(touched.left(), 64);
    EXPECT_LE(touched.left(), 68); // starts at the box's left, glyph bearing aside
    EXPECT_GE(touched.top(), 26);
    EXPECT_LE(touched.right(), 155); // clipped: the lines are wider than the box
    EXPECT_LE(touched.bottom(), 67);
    EXPECT_GE(touched.right(), 150);

    // A face that is not installed still draws, with the painter's own font,
    // inside the box.
    caption.font = "No Such Face 12345";
    picture.fill(Qt::black);
    PhotoExporter::RenderCaption(caption, picture);
    int inside = 0, outside = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != qRgb(0, 0, 0))
                ++(QRect(QPoint(64, 26), QPoint(155, 67)).contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

TEST(CaptionBox, SaveJpegWritesJpegWhateverTheExtension)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString path = TestSupport::TempDir() + "x.png";
    ASSERT_TRUE(PhotoExporter::SaveJpeg(path, picture));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_FALSE(PhotoExporter::SaveJpeg(TestSupport::TempDir() + "no/folder/x.jpg", picture));
}
