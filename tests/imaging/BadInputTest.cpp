// Damaged and unreadable photos: no crash, no thumbnail, no display copy,
// and the user's file stays exactly as it was. Photos cut short (from a
// damaged card) show what decodes.
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray Overwritten(QByteArray bytes, qsizetype at, const QByteArray& with)
{
    bytes.replace(at, with.size(), with);
    return bytes;
}

struct BadFile {
    const char* name;
    QByteArray bytes; // ignored for the folder
};

// Every kind of damaged photo, written into `folder`.
QStringList WriteBadFiles(const QString& folder)
{
    const QImage picture = ImagingTest::Pattern(320, 240);
    const QByteArray jpeg = Encoded(picture, "jpeg");
    const QByteArray png = Encoded(picture, "png");
    const QByteArray bmp = Encoded(picture, "bmp");
    ImagingTest::Write(folder + "/whole.gif", picture);
    const QByteArray gif = TestSupport::ReadAll(folder + "/whole.gif");
    QFile::remove(folder + "/whole.gif");
    QByteArray hugeBmp = bmp.left(54);
    qToLittleEndian<int32_t>(200000, hugeBmp.data() + 18);
    qToLittleEndian<int32_t>(200000, hugeBmp.data() + 22);

    const BadFile files[] = {
        {"cut.jpg", jpeg.left(100)}, // inside its header
        {"header.jpg", jpeg.left(2) + QByteArray(600, '\x5A')},
        {"truncated.png", png.left(png.size() / 2)},
        {"depth.png", Overwritten(png, 24, "\x03")}, // a bit depth PNG does not have
        {"cut.gif", gif.left(20)},
        {"garbage.gif", gif.left(13) + QByteArray(400, '\x7F')},
        {"cut.bmp", bmp.left(30)},
        {"huge.bmp", hugeBmp},
        {"empty.jpg", QByteArray()},
        {"notes.png", QByteArray("just some text, not a picture\n")},
    };
    QStringList paths;
    for (const BadFile& file : files) {
        const QString path = folder + "/" + file.name;
        TestSupport::WriteAll(path, file.bytes);
        paths << path;
    }
    QDir().mkpath(folder + "/folder.jpg");
    paths << folder + "/folder.jpg";
    return paths;
}

void ExpectUndecodableEverywhere(const QString& path)
{
    const ImagingTest::FileState before = ImagingTest::StateOf(path);
    EXPECT_TRUE(ImageOps::Decode(path).isNull()) << qPrintable(path);
    EXPECT_TRUE(ImageOps::LoadThumbnailBitmap(path).isNull()) << qPrintable(path);
    EXPECT_TRUE(ImageOps::LoadFittedBitmap(path, 480, 360, true).isNull()) << qPrintable(path);
    ThumbnailCache cache;
    ThumbHandle handle = 0;
    EXPECT_FALSE(cache.AddPhoto(path, &handle)) << qPrintable(path);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(cache.FindOrAddPhoto(path), 0);
    EXPECT_EQ(cache.AddUnsavedPhoto(path), 0);
    EXPECT_EQ(cache.Count(), 0);
    DisplayCopies copies;
    EXPECT_FALSE(copies.MakeDisplayCopy(path, true));
    EXPECT_FALSE(copies.DisplayRecordOf(path));
    copies.ShowPath(path, true, true);
    EXPECT_TRUE(copies.ShownPicture().isNull());
    EXPECT_EQ(copies.Count(), 0);
    EXPECT_EQ(ImagingTest::StateOf(path), before) << qPrintable(path);
}

} // namespace

TEST(BadInput, DamagedFilesGiveNoThumbnailAndStayUntouched)
{
    const QString folder = TestSupport::MakeFolder("bad");
    const QStringList paths = WriteBadFiles(folder);
    QStringList expectedFiles = ImagingTest::TempFiles();
    for (const QString& path : paths)
        ExpectUndecodableEverywhere(path);
    // Nothing was written beside them: only the folder's (empty) cache file.
    expectedFiles << QFileInfo(ThumbnailCache::CacheFilePath(folder)).fileName();
    expectedFiles.sort();
    EXPECT_EQ(ImagingTest::TempFiles().join(" | "), expectedFiles.join(" | "));
    EXPECT_EQ(QFileInfo(ThumbnailCache::CacheFilePath(folder)).size(), 0);
}

TEST(BadInput, WorkersPassOverDamagedFiles)
{
    const QString folder = TestSupport::MakeFolder("bad");
    QStringList listing = WriteBadFiles(folder);
    listing << ImagingTest::WritePhotos(folder, 2);
    ThumbnailCache cache;
    ThumbsWorkerRegistry registry;
    const FolderWorkers workers = StartFolderWorkers(listing, nullptr, &cache, &registry);
    workers.a->WaitUntilEnded();
    workers.b->WaitUntilEnded();
    EXPECT_EQ(cache.Count(), 2);
    cache.Close();
    ThumbnailCache fresh;
    fresh.OpenFolder(folder);
    EXPECT_EQ(fresh.Count(), 2);
}

TEST(BadInput, APhotoWithoutReadPermission)
{
    const QString folder = TestSupport::MakeFolder("locked");
    const QString photo = ImagingTest::Write(folder + "/locked.jpg", ImagingTest::Pattern(640, 480));
    ASSERT_FALSE(ImageOps::Decode(photo).isNull());
    const ImagingTest::FileState before = ImagingTest::StateOf(photo);
    {
        ImagingTest::ReadDenied denied(photo);
        ExpectUndecodableEverywhere(photo);
    }
    EXPECT_EQ(ImagingTest::StateOf(photo), before);
    EXPECT_FALSE(ImageOps::Decode(photo).isNull()); // readable again afterwards
}

// A JPEG, GIF or BMP cut short, or a JPEG without its end marker, is still a
// photo: it shows what decodes, a JPEG's missing rows and a BMP's grey.
TEST(BadInput, PhotosCutShortShowWhatDecodes)
{
    const QString folder = TestSupport::MakeFolder("cut");
    const QImage picture = ImagingTest::Pattern(320, 240);
    const QByteArray jpeg = Encoded(picture, "jpeg");
    const QByteArray bmp = Encoded(picture, "bmp"); // bottom-up rows
    ImagingTest::Write(folder + "/whole.gif", picture);
    const QByteArray gif = TestSupport::ReadAll(folder + "/whole.gif");
    QFile::remove(folder + "/whole.gif");
    const QColor grey(128, 128, 128);
    const struct {
        const char* name;
        QByteArray whole;
        qsizetype kept; // bytes left of the file
        int greyRow;    // a row that the file no longer holds, -1 for none
        int keptRow;    // a row that it holds
    } cases[] = {
        {"truncated.jpg", jpeg, jpeg.size() * 6 / 10, 230, 10},
        {"noend.jpg", jpeg, jpeg.size() - 2, -1, 230},
        {"truncated.gif", gif, gif.size() / 2, -1, 10},
        {"truncated.bmp", bmp, bmp.size() / 2, 10, 230},
    };
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 12 && std::abs(a.green() - b.green()) <= 12
               && std::abs(a.blue() - b.blue()) <= 12;
    };
    for (const auto& c : cases) {
        const QString path = folder + "/" + c.name;
        TestSupport::WriteAll(path, c.whole.left(c.kept));
        const ImagingTest::FileState before = ImagingTest::StateOf(path);
        const QImage decoded = ImageOps::Decode(path);
        const QImage whole = QImage::fromData(c.whole);
        ASSERT_EQ(decoded.size(), QSize(320, 240)) << c.name;
        for (int x : {20, 160, 300}) {
            EXPECT_TRUE(near(decoded.pixelColor(x, c.keptRow), whole.pixelColor(x, c.keptRow)))
                << c.name << " kept row at " << x;
            if (c.greyRow >= 0) {
                EXPECT_EQ(decoded.pixelColor(x, c.greyRow), grey) << c.name << " missing row at " << x;
            }
        }
        EXPECT_EQ(ImageOps::LoadThumbnailBitmap(path).size(), QSize(192, 144)) << c.name;
        EXPECT_EQ(ImageOps::LoadFittedBitmap(path, 160, 120, true).size(), QSize(160, 120)) << c.name;
        ThumbnailCache cache;
        EXPECT_NE(cache.FindOrAddPhoto(path), 0) << c.name;
        DisplayCopies copies;
        EXPECT_TRUE(copies.DisplayRecordOf(path)) << c.name;
        EXPECT_EQ(ImagingTest::StateOf(path), before) << c.name;
    }
}
