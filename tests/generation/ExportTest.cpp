#include "editor/core/PhotoEditCommands.h"
#include "editor/generation/PhotoExport.h"
#include "tests/generation/GenerationFixture.h"

#include <QDateTime>
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

TEST_F(ExportTest, PhotosWithExtensionsNoEncoderNamesGetJpegThumbnails)
{
    // JPEG data under names whose extension names no encoder; x.jpg comes
    // after x.ico, whose thumbnail took the name thumb_x.jpg.
    const QStringList names{"noext", "x.ico", "y.wbmp", "x.JPG.1", "x.jpg"};
    for (const QString& name : names) {
        const QString jpeg = TestSupport::WritePhoto(pictures + "tmp.jpg", 400, 300);
        ASSERT_TRUE(QFile::rename(jpeg, pictures + name));
        ASSERT_GE(album->AddPhoto(pictures + name), 0) << name.toStdString();
    }
    PhotoExporter exporter(*album, output);
    QStringList thumbs;
    for (int i = 0; i < album->Count(); ++i) {
        thumbs << exporter.WriteThumbnail(i);
        exporter.ExportPhoto(i, false);
    }
    EXPECT_TRUE(exporter.Run()) << exporter.Errors().join('\n').toStdString();
    EXPECT_EQ(thumbs, QStringList({"thumb_noext.jpg", "thumb_x.jpg", "thumb_y.jpg", "thumb_x.JPG.jpg", "thumb_x0.jpg"}));
    for (const QString& thumb : thumbs) {
        EXPECT_EQ(formatOf(output.ThumbsFolder() + thumb), "jpeg") << thumb.toStdString();
        EXPECT_EQ(QImageReader(output.ThumbsFolder() + thumb).size(), QSize(192, 144)) << thumb.toStdString();
    }
}

TEST_F(ExportTest, AThumbnailEditedAfterItWasWrittenIsWrittenAgain)
{
    addPhoto("a.jpg", 800, 600);
    addPhoto("b.bmp", 800, 600, QColor(20, 200, 40));
    PhotoEditCommands commands(*album, ThumbnailCache::Instance(), WorkingCopyMap::Instance(), DisplayCopies::Instance());
    commands.SetMessageSink([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
    WrittenThumbnails::Instance().Clear();
    for (int i = 0; i < album->Count(); ++i) {
        album->SetCurrentIndex(i);
        commands.Mirror(); // the photo now stands on its working copy
    }
    auto writeAll = [&] {
        QStringList names;
        PhotoExporter exporter(*album, output);
        for (int i = 0; i < album->Count(); ++i)
            names << exporter.WriteThumbnail(i);
        return names;
    };
    const QStringList first = writeAll(); // a template preview
    QList<QByteArray> before;
    for (const QString& name : first)
        before << TestSupport::ReadAll(output.ThumbsFolder() + name);
    const QList<ThumbHandle> handles{album->Photo(0)->thumbnail, album->Photo(1)->thumbnail};

    // Edited again: same handles, new pictures.
    for (int i = 0; i < album->Count(); ++i) {
        album->SetCurrentIndex(i);
        commands.RotateLeft();
    }
    ASSERT_EQ(album->Photo(0)->thumbnail, handles[0]);
    ASSERT_EQ(album->Photo(1)->thumbnail, handles[1]);
    const QStringList second = writeAll();
    EXPECT_EQ(second, first); // written again under the name each had
    for (int i = 0; i < album->Count(); ++i) {
        const QImage written(output.ThumbsFolder() + second[i]);
        const QImage current = album->Thumbnails().PictureOf(handles[i]);
        EXPECT_NE(TestSupport::ReadAll(output.ThumbsFolder() + second[i]), before[i]) << second[i].toStdString();
        EXPECT_LT(TestSupport::MeanDifference(written, current), 6.0) << second[i].toStdString();
    }
    EXPECT_EQ(QDir(output.ThumbsFolder()).entryList(QDir::Files).size(), 2);

    // Unchanged since: nothing is written.
    const QDateTime stamp = QFileInfo(output.ThumbsFolder() + first[0]).lastModified();
    EXPECT_EQ(writeAll(), first);
    EXPECT_EQ(QFileInfo(output.ThumbsFolder() + first[0]).lastModified(), stamp);
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

TEST(CaptionBox, LinesAreAsHighAsTheCaptionSize)
{
    // Two lines of the same glyph: the second starts one line height below
    // the first, and a line is as high as the caption's size.
    for (const int size : {20, 40, 64}) {
        Caption caption;
        caption.box = CaptionBox{0, 0, 480, 360};
        caption.lines = QStringList{"国", "国"};
        caption.colour = 0xffffff;
        caption.size = size;
        caption.font = "WenQuanYi Micro Hei";
        QImage picture(480, 360, QImage::Format_RGB32);
        picture.fill(Qt::black);
        PhotoExporter::RenderCaption(caption, picture);
        QList<int> starts; // the first row of each run of rows with ink
        bool inked = false;
        for (int y = 0; y < picture.height(); ++y) {
            bool row = false;
            for (int x = 0; x < picture.width() && !row; ++x)
                row = qGray(picture.pixel(x, y)) > 128;
            if (row && !inked)
                starts << y;
            inked = row;
        }
        ASSERT_EQ(starts.size(), 2) << size;
        EXPECT_NEAR(starts[1] - starts[0], size, 1) << size;
    }
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
