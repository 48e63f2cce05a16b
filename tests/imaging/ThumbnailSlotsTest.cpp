// The thumbnail cache keeps a folder's pictures in their cache-file slots and
// only the last ones read decoded in memory.
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbnailSlots.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <mutex>

namespace {

constexpr qint64 kSeconds = 1600000000;

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

qint64 RecordSize(const QString& path) { return 12 + path.toUtf8().size() + 16 + 110592; }

// `count` photos, each of its own colour, at a fixed time.
QStringList Photos(const QString& folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        ImagingTest::Write(path, ImagingTest::Pattern(240, 180, QColor::fromHsv((i * 47) % 360, 200, 40 + i % 200)));
        ImagingTest::SetModificationTime(path, kSeconds);
        paths << path;
    }
    return paths;
}

// A cache that counts the photos it decodes.
class CountingCache : public ThumbnailCache {
public:
    QImage MakeThumbnail(const QString& path) override
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            ++m_made;
        }
        return ThumbnailCache::MakeThumbnail(path);
    }
    int Made()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_made;
    }

private:
    std::mutex m_mutex;
    int m_made = 0;
};

} // namespace

TEST(ThumbnailSlots, KeepsTheLastPicturesUpToItsCapacity)
{
    ThumbnailSlots kept(3);
    const auto picture = [](int grey) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(qRgb(grey, grey, grey));
        return image;
    };
    for (ThumbHandle handle = 1; handle <= 3; ++handle)
        kept.Put(handle, picture(handle));
    EXPECT_FALSE(kept.Find(1).isNull()); // 1 is now the most recent: 2 goes first
    kept.Put(4, picture(4));
    EXPECT_EQ(kept.Count(), 3);
    EXPECT_TRUE(kept.Find(2).isNull());
    for (ThumbHandle handle : {1, 3, 4})
        EXPECT_EQ(kept.Find(handle).pixel(0, 0), qRgb(handle, handle, handle)) << handle;
    kept.Drop(3);
    EXPECT_TRUE(kept.Find(3).isNull());
    EXPECT_EQ(kept.Count(), 2);
}

TEST(ThumbnailSlots, AFolderLargerThanTheKeptPicturesHoldsOnlyWhatWasLastShown)
{
    const QString folder = TestSupport::MakeFolder("many");
    const int count = ThumbnailSlots::kDecodedPictures + 44;
    const QStringList photos = Photos(folder, count);
    std::map<QString, QImage> fresh;
    for (const QString& photo : photos)
        fresh[photo] = Rgb32(ImageOps::LoadThumbnailBitmap(photo));
    const auto expectAllReadable = [&](ThumbnailCache& cache, const char* when) {
        for (const QString& photo : photos) {
            const QImage picture = cache.PictureOf(cache.FindByPath(photo));
            ASSERT_FALSE(picture.isNull()) << when << " " << qPrintable(photo);
            ASSERT_EQ(Rgb32(picture), fresh[photo]) << when << " " << qPrintable(photo);
            ASSERT_LE(cache.HeldPictureCount(), ThumbnailSlots::kDecodedPictures) << when;
        }
    };

    {
        ThumbnailCache cache;
        for (const QString& photo : photos) {
            ASSERT_TRUE(cache.AddPhoto(photo)) << qPrintable(photo);
            // New thumbnails go to their slots while the folder fills.
            ASSERT_LE(cache.HeldPictureCount(), ThumbnailSlots::kDecodedPictures + ThumbnailCache::kUnwrittenPictures);
        }
        EXPECT_GT(QFileInfo(ThumbnailCache::CacheFilePath(folder)).size(), 0); // before any folder switch
        cache.Flush();
        EXPECT_EQ(QFileInfo(ThumbnailCache::CacheFilePath(folder)).size(), count * RecordSize(photos[0]));
        expectAllReadable(cache, "made");
        expectAllReadable(cache, "read again");
    }

    // Reopened: nothing is decoded, neither the photos nor the stored pictures
    // until they are asked for, and they come from their kept.
    CountingCache cache;
    ASSERT_TRUE(cache.OpenFolder(folder));
    EXPECT_EQ(cache.Count(), count);
    EXPECT_EQ(cache.HeldPictureCount(), 0);
    const QString file = ThumbnailCache::CacheFilePath(folder);
    {
        // The first pixel stored is the bottom row's first (blue, green, red).
        QFile patch(file);
        ASSERT_TRUE(patch.open(QIODevice::ReadWrite));
        ASSERT_TRUE(patch.seek(12 + photos[0].toUtf8().size() + 16));
        ASSERT_EQ(patch.write(QByteArray("\x01\x02\x03", 3)), 3);
    }
    const QImage patched = cache.PictureOf(cache.FindByPath(photos[0]));
    EXPECT_EQ(patched.pixel(0, patched.height() - 1), qRgb(3, 2, 1));
    fresh[photos[0]].setPixel(0, fresh[photos[0]].height() - 1, qRgb(3, 2, 1));
    expectAllReadable(cache, "reopened");
    EXPECT_EQ(cache.Made(), 0);
}

TEST(ThumbnailSlots, ACacheFileDamagedAfterOpeningGivesThePhotosDecodedAgain)
{
    const QString folder = TestSupport::MakeFolder("damaged-later");
    const QStringList photos = Photos(folder, 3);
    const QString file = ThumbnailCache::CacheFilePath(folder);
    const struct {
        const char* what;
        qint64 keep; // bytes of the file kept
    } damages[] = {
        {"file emptied", 0},
        {"last picture cut short", 3 * RecordSize(photos[0]) - 60000}, // into its pixels, past the filler
    };
    for (const auto& damage : damages) {
        QFile::remove(file);
        {
            ThumbnailCache cache;
            for (const QString& photo : photos)
                cache.AddPhoto(photo);
        }
        CountingCache cache;
        ASSERT_TRUE(cache.OpenFolder(folder)) << damage.what;
        ASSERT_TRUE(QFile::resize(file, damage.keep)) << damage.what;
        for (const QString& photo : photos) {
            const ThumbHandle handle = cache.FindByPath(photo);
            const QImage picture = cache.PictureOf(handle);
            EXPECT_EQ(Rgb32(picture), Rgb32(ImageOps::LoadThumbnailBitmap(photo))) << damage.what;
        }
        const int redone = damage.keep == 0 ? 3 : 1;
        EXPECT_EQ(cache.Made(), redone) << damage.what;
        EXPECT_EQ(cache.EntryOfId(cache.FindByPath(photos[2]))->state, ThumbnailCache::Pending) << damage.what;
        cache.Flush(); // rewritten in place
        EXPECT_EQ(QFileInfo(file).size(), 3 * RecordSize(photos[0])) << damage.what;
        cache.Close();

        CountingCache again;
        ASSERT_TRUE(again.OpenFolder(folder));
        for (const QString& photo : photos)
            EXPECT_EQ(Rgb32(again.PictureOf(again.FindByPath(photo))), Rgb32(ImageOps::LoadThumbnailBitmap(photo)))
                << damage.what;
    }
}
