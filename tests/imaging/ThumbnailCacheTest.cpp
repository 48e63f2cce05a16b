#include "common/FileUtils.h"
#include "editor/imaging/CacheFileFormat.h"
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 kSeconds = 1600000000; // a fixed photo time, so files can be changed behind the cache's back

qint64 RecordSize(const QString& path) { return 12 + path.toUtf8().size() + 16 + 110592; }

int32_t Read32(const QByteArray& bytes, qint64 at) { return qFromLittleEndian<int32_t>(bytes.constData() + at); }

void Patch32(const QString& file, qint64 at, int32_t value)
{
    QByteArray bytes = TestSupport::ReadAll(file);
    qToLittleEndian(value, bytes.data() + at);
    TestSupport::WriteAll(file, bytes);
}

// A photo at a fixed time.
QString Photo(const QString& path, int width = 400, int height = 300, QColor tint = QColor(200, 120, 60))
{
    ImagingTest::Write(path, ImagingTest::Pattern(width, height, tint));
    ImagingTest::SetModificationTime(path, kSeconds);
    return path;
}

// Replaces the photo's content with bytes no decoder takes, keeping its time:
// only a cache that does not decode can still show it.
void SpoilKeepingTime(const QString& path)
{
    TestSupport::WriteAll(path, "no picture here");
    ImagingTest::SetModificationTime(path, kSeconds);
}

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Writes the cache file of the photos' folder as the explorer leaves it.
void WriteCacheFile(const QStringList& photos)
{
    ThumbnailCache cache;
    for (const QString& photo : photos)
        cache.AddPhoto(photo);
}

// A cache that notes, for every thumbnail it makes, whether another thread
// could take the cache's lock meanwhile.
class ProbingCache : public ThumbnailCache {
public:
    QImage MakeThumbnail(const QString& path) override
    {
        bool locked = true;
        std::thread probe([&] { locked = IsLocked(); });
        probe.join();
        std::lock_guard<std::mutex> guard(m_mutex);
        made << path;
        lockedWhileMaking = lockedWhileMaking || locked;
        return ThumbnailCache::MakeThumbnail(path);
    }
    QStringList Made()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return made;
    }
    bool lockedWhileMaking = false;

private:
    std::mutex m_mutex;
    QStringList made;
};

} // namespace

TEST(ThumbnailCache, CacheFileNames)
{
    const QString temp = FileUtils::TempDir();
    EXPECT_EQ(ThumbnailCache::CacheFilePath("/home/ann/Trip"), temp + "_home_ann_Trip_qemthumbs.Data");
    EXPECT_EQ(ThumbnailCache::CacheFilePath("/home/ann/Trip/"), temp + "_home_ann_Trip__qemthumbs.Data");
    EXPECT_EQ(ThumbnailCache::CacheFilePath("/"), temp + "_Root_qemthumbs.Data");
}

TEST(ThumbnailCache, AFreshCacheReadsTheFileWithoutDecoding)
{
    const QString folder = TestSupport::MakeFolder("trip");
    const QStringList paths = {Photo(folder + "/p1.jpg"), Photo(folder + "/照片.jpg", 300, 400, QColor(40, 90, 200)),
                               Photo(folder + "/small.gif", 100, 60)};
    const QString greyPath = folder + "/grey.jpg";
    ImagingTest::Write(greyPath, ImagingTest::Pattern(640, 480).convertToFormat(QImage::Format_Grayscale8));
    ImagingTest::SetModificationTime(greyPath, kSeconds);
    const QStringList all = paths + QStringList{greyPath};

    std::map<QString, QImage> made;
    qint64 expectedSize = 0;
    {
        ThumbnailCache cache;
        for (const QString& path : all) {
            ThumbHandle handle = 0;
            ASSERT_TRUE(cache.AddPhoto(path, &handle)) << qPrintable(path);
            ASSERT_NE(handle, 0);
            made[path] = cache.PictureOf(handle);
            expectedSize += RecordSize(path);
        }
        EXPECT_EQ(cache.CurrentFolder(), folder);
    } // destruction writes the records
    const QString file = ThumbnailCache::CacheFilePath(folder);
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(QFileInfo(file).size(), expectedSize);

    for (const QString& path : all)
        SpoilKeepingTime(path);
    ThumbnailCache fresh;
    ASSERT_TRUE(fresh.OpenFolder(folder));
    EXPECT_EQ(fresh.Count(), 4);
    for (const QString& path : all) {
        const ThumbHandle handle = fresh.FindByPath(path);
        ASSERT_NE(handle, 0) << qPrintable(path);
        EXPECT_EQ(fresh.EntryOfId(handle)->state, ThumbnailCache::Written);
        EXPECT_EQ(Rgb32(fresh.PictureOf(handle)), Rgb32(made[path])) << qPrintable(path);
    }
    // The JPEG thumbnail is read back in its own depth.
    EXPECT_EQ(fresh.PictureOf(fresh.FindByPath(paths[0])).format(), QImage::Format_RGB888);
}

TEST(ThumbnailCache, RecordLayoutByteForByte)
{
    const QString folder = TestSupport::MakeFolder("layout");
    // An 8-bit GIF (every GIF is a palette picture).
    const QString gif = Photo(folder + "/a.gif", 192, 144);
    const QString jpeg = Photo(folder + "/b.jpg", 800, 600);
    QImage gifThumb, jpegThumb;
    {
        ThumbnailCache cache;
        ThumbHandle h = 0;
        cache.AddPhoto(gif, &h);
        gifThumb = cache.PictureOf(h);
        cache.AddPhoto(jpeg, &h);
        jpegThumb = cache.PictureOf(h);
    }
    const QByteArray bytes = TestSupport::ReadAll(ThumbnailCache::CacheFilePath(folder));
    const uint64_t time = ImagingTest::FileTimeOfSeconds(kSeconds);

    // a.gif first (records follow the order of the paths).
    const QByteArray gifPath = gif.toUtf8();
    EXPECT_EQ(Read32(bytes, 0), gifPath.size());
    EXPECT_EQ(uint32_t(Read32(bytes, 4)), uint32_t(time >> 32));
    EXPECT_EQ(uint32_t(Read32(bytes, 8)), uint32_t(time));
    EXPECT_EQ(bytes.mid(12, gifPath.size()), gifPath);
    qint64 at = 12 + gifPath.size();
    EXPECT_EQ(Read32(bytes, at), 192);
    EXPECT_EQ(Read32(bytes, at + 4), 144);
    EXPECT_EQ(Read32(bytes, at + 8), 4); // palette expanded to blue, green, red, 0
    EXPECT_EQ(Read32(bytes, at + 12), 110592);
    const qint64 gifPixels = at + 16;
    const QColor gifBottomLeft = gifThumb.pixelColor(0, 143); // bottom-up rows
    EXPECT_EQ(uint8_t(bytes[gifPixels]), gifBottomLeft.blue());
    EXPECT_EQ(uint8_t(bytes[gifPixels + 1]), gifBottomLeft.green());
    EXPECT_EQ(uint8_t(bytes[gifPixels + 2]), gifBottomLeft.red());
    EXPECT_EQ(uint8_t(bytes[gifPixels + 3]), 0);

    at = RecordSize(gif);
    const QByteArray jpegPath = jpeg.toUtf8();
    EXPECT_EQ(Read32(bytes, at), jpegPath.size());
    at += 12 + jpegPath.size();
    EXPECT_EQ(Read32(bytes, at + 8), 3);
    EXPECT_EQ(Read32(bytes, at + 12), 82944);
    const qint64 jpegPixels = at + 16;
    const QColor jpegBottomLeft = jpegThumb.pixelColor(0, 143);
    EXPECT_EQ(uint8_t(bytes[jpegPixels]), jpegBottomLeft.blue());
    EXPECT_EQ(uint8_t(bytes[jpegPixels + 1]), jpegBottomLeft.green());
    EXPECT_EQ(uint8_t(bytes[jpegPixels + 2]), jpegBottomLeft.red());
    const QByteArray filler = bytes.mid(jpegPixels + 82944);
    EXPECT_EQ(filler, QByteArray(27648, char(0xFF)));
    EXPECT_EQ(bytes.size(), RecordSize(gif) + RecordSize(jpeg));
}

TEST(ThumbnailCache, ACorruptRecordRebuildsTheFileKeepingTheRecordsBeforeIt)
{
    const QString folder = TestSupport::MakeFolder("corrupt");
    const QStringList paths = {Photo(folder + "/a.jpg"), Photo(folder + "/b.jpg"), Photo(folder + "/c.jpg")};
    const QString file = ThumbnailCache::CacheFilePath(folder);
    const struct {
        const char* what;
        qint64 offsetInRecord; // of the field patched in record b
        int32_t value;
    } damages[] = {
        {"path length 0", 0, 0},
        {"path length 300", 0, 300},
        {"negative path length", 0, -5},
        {"picture width 0", 12 + paths[1].toUtf8().size(), 0},
        {"picture of 5 bytes per pixel", 12 + paths[1].toUtf8().size() + 8, 5},
    };
    for (const auto& damage : damages) {
        QFile::remove(file);
        {
            ThumbnailCache cache;
            for (const QString& path : paths)
                cache.AddPhoto(path);
        }
        ASSERT_EQ(QFileInfo(file).size(), RecordSize(paths[0]) * 3);
        Patch32(file, RecordSize(paths[0]) + damage.offsetInRecord, damage.value);

        ThumbnailCache cache;
        EXPECT_TRUE(cache.OpenFolder(folder)) << damage.what;
        EXPECT_NE(cache.FindByPath(paths[0]), 0) << damage.what;
        EXPECT_EQ(cache.FindByPath(paths[1]), 0) << damage.what;
        EXPECT_EQ(cache.FindByPath(paths[2]), 0) << damage.what;
        EXPECT_EQ(cache.EntryOfId(cache.FindByPath(paths[0]))->state, ThumbnailCache::Pending);
        EXPECT_EQ(QFileInfo(file).size(), 0) << damage.what;
        cache.Flush();
        EXPECT_EQ(QFileInfo(file).size(), RecordSize(paths[0])) << damage.what;

        ThumbnailCache again;
        again.OpenFolder(folder);
        ASSERT_NE(again.FindByPath(paths[0]), 0) << damage.what;
        EXPECT_EQ(again.EntryOfId(again.FindByPath(paths[0]))->state, ThumbnailCache::Written);
    }
}

TEST(ThumbnailCache, AFileCutShortKeepsItsWholeRecordsAndAppendsAfterThem)
{
    const QString folder = TestSupport::MakeFolder("cut");
    const QStringList paths = {Photo(folder + "/a.jpg"), Photo(folder + "/b.jpg"), Photo(folder + "/c.jpg")};
    {
        ThumbnailCache cache;
        for (const QString& path : paths)
            cache.AddPhoto(path);
    }
    const QString file = ThumbnailCache::CacheFilePath(folder);
    const qint64 record = RecordSize(paths[0]);
    QFile(file).resize(record * 2 + 5000);
    {
        ThumbnailCache cache;
        ASSERT_TRUE(cache.OpenFolder(folder));
        EXPECT_NE(cache.FindByPath(paths[0]), 0);
        EXPECT_NE(cache.FindByPath(paths[1]), 0);
        EXPECT_EQ(cache.FindByPath(paths[2]), 0);
        EXPECT_EQ(QFileInfo(file).size(), record * 2);
        cache.AddPhoto(paths[2]); // made again, as the workers do
    }
    EXPECT_EQ(QFileInfo(file).size(), record * 3);
    for (const QString& path : paths)
        SpoilKeepingTime(path);
    ThumbnailCache fresh;
    fresh.OpenFolder(folder);
    EXPECT_EQ(fresh.Count(), 3);
}

// A photo deleted (or spoilt) outside the editor costs only its own record:
// the records after it are still used.
TEST(ThumbnailCache, AGoneOrUndecodablePhotoKeepsTheOtherRecords)
{
    const struct {
        const char* what;
        bool remove;
    } cases[] = {{"deleted", true}, {"changed into something no decoder takes", false}};
    for (const auto& c : cases) {
        const QString folder = TestSupport::MakeFolder(c.remove ? "deleted" : "undecodable");
        const QStringList paths = {Photo(folder + "/a.jpg"), Photo(folder + "/b.jpg"), Photo(folder + "/c.jpg")};
        WriteCacheFile(paths);
        const QString file = ThumbnailCache::CacheFilePath(folder);
        const QByteArray bytes = TestSupport::ReadAll(file);
        if (c.remove) {
            QFile::remove(paths[1]);
        } else {
            TestSupport::WriteAll(paths[1], "spoilt");
            ImagingTest::SetModificationTime(paths[1], kSeconds + 60);
        }
        SpoilKeepingTime(paths[2]); // only the file can show it now
        {
            ThumbnailCache cache;
            ASSERT_TRUE(cache.OpenFolder(folder)) << c.what;
            EXPECT_EQ(cache.Count(), 2) << c.what;
            EXPECT_EQ(cache.FindByPath(paths[1]), 0) << c.what;
            for (const QString& kept : {paths[0], paths[2]}) {
                const auto entry = cache.EntryOfId(cache.FindByPath(kept));
                ASSERT_TRUE(entry) << c.what << " " << qPrintable(kept);
                EXPECT_EQ(entry->state, ThumbnailCache::Written) << c.what;
            }
            EXPECT_EQ(cache.EntryOfId(cache.FindByPath(paths[2]))->offset, 2 * RecordSize(paths[0]));
        }
        EXPECT_EQ(TestSupport::ReadAll(file), bytes) << c.what; // nothing to rewrite
    }
}

// The records of a folder left a moment ago are taken from memory when the
// cache goes back to it, and come out as reading its file would give them.
TEST(ThumbnailCache, GoingBackToARecentFolderGivesWhatItsFileWould)
{
    const QString a = TestSupport::MakeFolder("recentA");
    const QString b = TestSupport::MakeFolder("recentB");
    const QStringList photos = {Photo(a + "/1.jpg"), Photo(a + "/2.jpg"), Photo(a + "/3.jpg"), Photo(a + "/4.jpg")};
    const QString other = Photo(b + "/1.jpg");
    ThumbnailCache cache;
    std::map<QString, QImage> made;
    for (const QString& photo : photos) {
        ThumbHandle handle = 0;
        ASSERT_TRUE(cache.AddPhoto(photo, &handle));
        made[photo] = cache.PictureOf(handle);
    }
    const ThumbHandle album = cache.FindByPath(photos[0]);
    cache.AddReference(album);
    ASSERT_TRUE(cache.AddPhoto(other));
    EXPECT_EQ(cache.RememberedFolders(), QStringList{a});
    EXPECT_EQ(cache.FindByPath(photos[3]), 0); // unreferenced thumbnails of A are gone from the cache

    // Meanwhile, outside the editor: 2 edited, 3 deleted, 4 spoilt keeping its time.
    ImagingTest::Write(photos[1], ImagingTest::Pattern(400, 300, QColor(20, 200, 90)));
    ImagingTest::SetModificationTime(photos[1], kSeconds + 100);
    QFile::remove(photos[2]);
    SpoilKeepingTime(photos[3]);

    ThumbHandle back = 0;
    ASSERT_TRUE(cache.AddPhoto(photos[3], &back));
    EXPECT_EQ(cache.CurrentFolder(), a);
    EXPECT_EQ(cache.RememberedFolders(), QStringList{b});
    EXPECT_EQ(cache.FindByPath(photos[0]), album);
    EXPECT_EQ(cache.FindByPath(photos[2]), 0);
    const auto edited = cache.EntryOfId(cache.FindByPath(photos[1]));
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->state, ThumbnailCache::Pending);
    EXPECT_EQ(edited->offset, RecordSize(photos[0]));
    EXPECT_EQ(edited->time, ImagingTest::FileTimeOfSeconds(kSeconds + 100));
    EXPECT_EQ(Rgb32(edited->thumbnail), Rgb32(ImageOps::LoadThumbnailBitmap(photos[1])));
    const auto kept = cache.EntryOfId(back);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->state, ThumbnailCache::Written);
    EXPECT_EQ(kept->offset, 3 * RecordSize(photos[0]));
    EXPECT_EQ(Rgb32(kept->thumbnail), Rgb32(made[photos[3]]));
    cache.Flush();

    // The file agrees: its four records in place, the edited one rewritten.
    const QString file = ThumbnailCache::CacheFilePath(a);
    EXPECT_EQ(QFileInfo(file).size(), 4 * RecordSize(photos[0]));
    ThumbnailCache fresh;
    ASSERT_TRUE(fresh.OpenFolder(a));
    EXPECT_EQ(fresh.Count(), 3);
    for (const QString& photo : {photos[0], photos[1], photos[3]}) {
        const auto entry = fresh.EntryOfId(fresh.FindByPath(photo));
        ASSERT_TRUE(entry) << qPrintable(photo);
        EXPECT_EQ(entry->state, ThumbnailCache::Written) << qPrintable(photo);
        EXPECT_EQ(Rgb32(entry->thumbnail), Rgb32(cache.PictureOf(cache.FindByPath(photo)))) << qPrintable(photo);
    }

    // Only the last two folders left are remembered.
    const QString c = TestSupport::MakeFolder("recentC");
    const QString d = TestSupport::MakeFolder("recentD");
    ASSERT_TRUE(cache.AddPhoto(Photo(c + "/1.jpg")));
    ASSERT_TRUE(cache.AddPhoto(Photo(d + "/1.jpg")));
    EXPECT_EQ(cache.RememberedFolders(), (QStringList{c, a}));
}

// Reading a folder's file and decoding its changed photos leave the cache
// free for the other threads.
TEST(ThumbnailCache, LoadingAFolderDecodesWithoutTheLock)
{
    const QString folder = TestSupport::MakeFolder("load");
    const QStringList paths = {Photo(folder + "/a.jpg"), Photo(folder + "/b.jpg"), Photo(folder + "/c.jpg")};
    WriteCacheFile(paths);
    ImagingTest::SetModificationTime(paths[1], kSeconds + 30); // to be decoded again
    ProbingCache cache;
    ASSERT_TRUE(cache.OpenFolder(folder));
    EXPECT_EQ(cache.Made(), QStringList{paths[1]});
    EXPECT_FALSE(cache.lockedWhileMaking);
    EXPECT_EQ(cache.Count(), 3);

    // The same for a new photo and for a folder taken back from memory.
    const QString other = TestSupport::MakeFolder("other");
    ASSERT_TRUE(cache.AddPhoto(Photo(other + "/x.jpg")));
    ImagingTest::SetModificationTime(paths[2], kSeconds + 40);
    ASSERT_TRUE(cache.AddPhoto(paths[0]));
    EXPECT_EQ(cache.Made(), (QStringList{paths[1], other + "/x.jpg", paths[2]}));
    EXPECT_FALSE(cache.lockedWhileMaking);
}

TEST(ThumbnailCache, AcquirePhotoHandsOutAReferencedHandle)
{
    const QString a = TestSupport::MakeFolder("acquireA");
    const QString b = TestSupport::MakeFolder("acquireB");
    const QString a1 = Photo(a + "/1.jpg"), b1 = Photo(b + "/1.jpg");
    const QString junk = a + "/junk.jpg";
    TestSupport::WriteAll(junk, "not a picture");
    ThumbnailCache cache;
    const ThumbHandle handle = cache.AcquirePhoto(a1);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(cache.EntryOfId(handle)->references, 1);
    EXPECT_EQ(cache.AcquirePhoto(a1), handle);
    EXPECT_EQ(cache.EntryOfId(handle)->references, 2);
    EXPECT_EQ(cache.AcquirePhoto(junk), 0);
    ASSERT_NE(cache.AcquirePhoto(b1), 0); // switches to B: the held thumbnail of A stays
    EXPECT_EQ(cache.PathOf(handle), a1);
}

// The message about a cache file that cannot be made reaches the
// application's thread, also when a worker met the failure.
TEST(ThumbnailCache, CacheFileErrorsAreReportedOnTheApplicationThread)
{
    const QString folder = TestSupport::MakeFolder(QString(240, QLatin1Char('w')));
    const QString photo = Photo(folder + "/p.jpg");
    ThumbnailCache cache;
    QStringList reported;
    QThread* reportedOn = nullptr;
    cache.SetFileErrorSink([&](const QString& path, const QString&) {
        reported << path;
        reportedOn = QThread::currentThread();
    });
    std::thread worker([&] { cache.AddPhoto(photo); });
    worker.join();
    EXPECT_TRUE(reported.isEmpty()); // not on the worker
    QCoreApplication::processEvents();
    EXPECT_EQ(reported, QStringList{ThumbnailCache::CacheFilePath(folder)});
    EXPECT_EQ(reportedOn, QCoreApplication::instance()->thread());
    EXPECT_NE(cache.FindByPath(photo), 0);
}

// The cache file lies in the shared temporary folder under a name anyone can
// guess: it is made owner-only, and a link or another user's file planted at
// its name is never opened.
TEST(ThumbnailCache, CacheFilesAreOwnerOnlyAndNeverPlantedOnes)
{
    ::umask(022);
    const QString victim = TestSupport::MakeFolder("victim");
    const struct {
        const char* what;
        bool rootOnly;
    } cases[] = {{"no file yet", false}, {"a link to a file", false}, {"a link to nothing", false},
                 {"a file of another user", true}, {"an old file readable by all", false}};
    int n = 0;
    for (const auto& c : cases) {
        if (c.rootOnly && ::geteuid() != 0)
            continue; // only root can give a file away
        const QString folder = TestSupport::MakeFolder(QStringLiteral("f%1").arg(n++));
        const QString photo = Photo(folder + "/p.jpg");
        const QString file = ThumbnailCache::CacheFilePath(folder);
        const QString target = victim + QStringLiteral("/target%1").arg(n);
        const QByteArray native = QFile::encodeName(file);
        const std::string what = c.what;
        if (what == "a link to a file") {
            TestSupport::WriteAll(target, "");
            ASSERT_TRUE(QFile::link(target, file));
        } else if (what == "a link to nothing") {
            ASSERT_TRUE(QFile::link(target, file));
        } else if (what == "a file of another user") {
            TestSupport::WriteAll(file, "");
            ASSERT_EQ(::chown(native.constData(), 65534, 65534), 0);
            ::chmod(native.constData(), 0666);
        } else if (what == "an old file readable by all") {
            WriteCacheFile({photo});
            ::chmod(native.constData(), 0644);
        }
        const bool planted = what.rfind("a link", 0) == 0 || what == "a file of another user";
        const QByteArray before = TestSupport::ReadAll(file);
        {
            ThumbnailCache cache;
            cache.SetFileErrorSink([](const QString&, const QString&) {});
            ThumbHandle handle = 0;
            ASSERT_TRUE(cache.AddPhoto(photo, &handle)) << what;
            EXPECT_EQ(cache.EntryOfId(handle)->hasCacheFile, !planted) << what;
        }
        if (planted) {
            EXPECT_EQ(TestSupport::ReadAll(file), before) << what; // through the link too
            if (what == "a link to nothing") {
                EXPECT_FALSE(QFileInfo::exists(target)) << what;
            }
            continue;
        }
        EXPECT_EQ(ImagingTest::ModeOf(file), 0600) << what;
        EXPECT_EQ(QFileInfo(file).size(), RecordSize(photo)) << what;
    }
}

TEST(ThumbnailCache, AChangedPhotoGetsANewThumbnailRewrittenInPlace)
{
    const QString folder = TestSupport::MakeFolder("changed");
    const QStringList paths = {Photo(folder + "/a.jpg"), Photo(folder + "/b.jpg"), Photo(folder + "/c.jpg")};
    QImage oldThumb;
    {
        ThumbnailCache cache;
        for (const QString& path : paths)
            cache.AddPhoto(path);
        oldThumb = cache.PictureOf(cache.FindByPath(paths[1]));
    }
    const QString file = ThumbnailCache::CacheFilePath(folder);
    const qint64 size = QFileInfo(file).size();

    // Edited outside the editor.
    ImagingTest::Write(paths[1], ImagingTest::Pattern(400, 300, QColor(20, 200, 90)));
    ImagingTest::SetModificationTime(paths[1], kSeconds + 100);
    QImage newThumb;
    {
        ThumbnailCache cache;
        cache.OpenFolder(folder);
        const auto entry = cache.EntryOfId(cache.FindByPath(paths[1]));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->state, ThumbnailCache::Pending);
        EXPECT_EQ(entry->offset, RecordSize(paths[0]));
        EXPECT_EQ(entry->time, ImagingTest::FileTimeOfSeconds(kSeconds + 100));
        EXPECT_NE(Rgb32(entry->thumbnail), Rgb32(oldThumb));
        newThumb = entry->thumbnail;
        EXPECT_EQ(cache.EntryOfId(cache.FindByPath(paths[0]))->state, ThumbnailCache::Written);
    }
    EXPECT_EQ(QFileInfo(file).size(), size);
    const QByteArray bytes = TestSupport::ReadAll(file);
    const uint64_t time = ImagingTest::FileTimeOfSeconds(kSeconds + 100);
    EXPECT_EQ(uint32_t(Read32(bytes, RecordSize(paths[0]) + 8)), uint32_t(time));

    ImagingTest::SetModificationTime(paths[1], kSeconds + 100);
    TestSupport::WriteAll(paths[1], "spoilt");
    ImagingTest::SetModificationTime(paths[1], kSeconds + 100);
    ThumbnailCache fresh;
    fresh.OpenFolder(folder);
    EXPECT_EQ(Rgb32(fresh.PictureOf(fresh.FindByPath(paths[1]))), Rgb32(newThumb));
}

TEST(ThumbnailCache, SwitchingFoldersKeepsReferencedThumbnails)
{
    const QString a = TestSupport::MakeFolder("A");
    const QString b = TestSupport::MakeFolder("B");
    const QString a1 = Photo(a + "/1.jpg"), a2 = Photo(a + "/2.jpg"), b1 = Photo(b + "/1.jpg"), b2 = Photo(b + "/2.jpg");
    ThumbnailCache cache;
    ThumbHandle h1 = 0, h2 = 0;
    ASSERT_TRUE(cache.AddPhoto(a1, &h1));
    ASSERT_TRUE(cache.AddPhoto(a2, &h2));
    EXPECT_NE(h1, h2);
    cache.AddReference(h1); // an album photo

    ASSERT_TRUE(cache.AddPhoto(b1));
    EXPECT_EQ(cache.CurrentFolder(), b);
    EXPECT_EQ(cache.FindByPath(a1), h1);
    EXPECT_EQ(cache.PathOf(h1), a1);
    EXPECT_EQ(cache.FindByPath(a2), 0);
    EXPECT_TRUE(cache.PathOf(h2).isEmpty());
    EXPECT_EQ(QFileInfo(ThumbnailCache::CacheFilePath(a)).size(), RecordSize(a1) * 2); // A's file keeps both
    EXPECT_EQ(cache.OpenCacheFileCount(), 2);

    // Pruning by itself keeps the current folder's file for its next photos.
    cache.Prune();
    EXPECT_EQ(cache.FindByPath(b1), 0);
    ASSERT_TRUE(cache.AddPhoto(b2));
    cache.Flush();
    EXPECT_EQ(QFileInfo(ThumbnailCache::CacheFilePath(b)).size(), RecordSize(b2));

    // Back to A: the open file is read again, the known photo skipped, the
    // other taken from the file.
    SpoilKeepingTime(a2);
    ThumbHandle again = 0;
    ASSERT_TRUE(cache.AddPhoto(a2, &again));
    EXPECT_EQ(cache.CurrentFolder(), a);
    EXPECT_EQ(cache.FindByPath(a1), h1);
    EXPECT_EQ(cache.EntryOfId(again)->state, ThumbnailCache::Written);
    EXPECT_EQ(cache.FindByPath(b2), 0);
    EXPECT_EQ(cache.OpenCacheFileCount(), 2); // B's file stays open while its records are remembered
}

TEST(ThumbnailCache, HandlesReferencesAndUnsavedEntries)
{
    const QString folder = TestSupport::MakeFolder("work");
    const QString copy = Photo(folder + "/copy0.png", 300, 200);
    ThumbnailCache cache;
    const ThumbHandle handle = cache.AddUnsavedPhoto(copy);
    ASSERT_NE(handle, 0);
    auto entry = cache.EntryOfId(handle);
    EXPECT_EQ(entry->references, 1);
    EXPECT_EQ(entry->state, ThumbnailCache::Unsaved);
    EXPECT_FALSE(entry->hasCacheFile);
    EXPECT_EQ(entry->offset, -1);
    EXPECT_EQ(cache.AddUnsavedPhoto(copy), handle);
    EXPECT_EQ(cache.EntryOfId(handle)->references, 2);
    cache.ReleaseReference(handle);
    cache.ReleaseReference(12345); // unknown: nothing happens

    // Refresh follows the file's time (or is forced) and keeps the handle.
    EXPECT_FALSE(cache.Refresh(handle));
    ImagingTest::Write(copy, ImagingTest::Pattern(300, 200, QColor(0, 0, 255)));
    ImagingTest::SetModificationTime(copy, kSeconds + 5);
    const QImage before = cache.PictureOf(handle);
    EXPECT_TRUE(cache.Refresh(handle));
    EXPECT_NE(Rgb32(cache.PictureOf(handle)), Rgb32(before));
    EXPECT_EQ(cache.EntryOfId(handle)->time, ImagingTest::FileTimeOfSeconds(kSeconds + 5));
    EXPECT_TRUE(cache.Refresh(handle, true));
    EXPECT_EQ(cache.EntryOfId(handle)->state, ThumbnailCache::Unsaved);

    cache.Flush();
    EXPECT_FALSE(QFileInfo::exists(ThumbnailCache::CacheFilePath(folder)));
    cache.RemoveByPath(copy);
    EXPECT_FALSE(cache.EntryOfId(handle));
    const ThumbHandle next = cache.AddUnsavedPhoto(copy);
    EXPECT_NE(next, 0);
    EXPECT_NE(next, handle); // never reused for another entry

    // A photo with a cache file has its record rewritten by Refresh at once.
    const QString photo = Photo(folder + "/photo.jpg");
    ThumbHandle photoHandle = 0;
    ASSERT_TRUE(cache.AddPhoto(photo, &photoHandle));
    cache.Flush();
    ImagingTest::SetModificationTime(photo, kSeconds + 7);
    ASSERT_TRUE(cache.Refresh(photoHandle));
    const QByteArray bytes = TestSupport::ReadAll(ThumbnailCache::CacheFilePath(folder));
    EXPECT_EQ(uint32_t(Read32(bytes, 8)), uint32_t(ImagingTest::FileTimeOfSeconds(kSeconds + 7)));
    EXPECT_EQ(cache.EntryOfId(photoHandle)->state, ThumbnailCache::Written);
    EXPECT_EQ(cache.FindOrAddPhoto(photo), photoHandle);
}

TEST(ThumbnailCache, WithoutACacheFileThumbnailsLiveInMemory)
{
    // The cache file's name would be longer than a file name may be.
    const QString folder = TestSupport::MakeFolder(QString(240, QLatin1Char('a')));
    const QString photo = Photo(folder + "/p.jpg");
    QStringList reported;
    ThumbnailCache cache;
    cache.SetFileErrorSink([&](const QString& path, const QString&) { reported << path; });
    ThumbHandle handle = 0;
    EXPECT_TRUE(cache.AddPhoto(photo, &handle));
    EXPECT_NE(handle, 0);
    EXPECT_EQ(reported, QStringList{ThumbnailCache::CacheFilePath(folder)});
    EXPECT_FALSE(cache.EntryOfId(handle)->hasCacheFile);
    cache.Flush();
    EXPECT_EQ(cache.OpenCacheFileCount(), 0);
    EXPECT_FALSE(cache.OpenFolder(TestSupport::MakeFolder(QString(241, QLatin1Char('b')))));
}

TEST(ThumbnailCache, APathTooLongForARecordIsNotWritten)
{
    // A folder whose cache file name still fits, holding a photo whose path does not fit a record.
    const QString folder = TestSupport::MakeFolder(QString(235 - TestSupport::TempDir().size(), QLatin1Char('d')));
    const QString longPhoto = Photo(folder + "/" + QString(40, QLatin1Char('x')) + ".jpg");
    const QString shortPhoto = Photo(folder + "/s.jpg");
    ASSERT_GT(longPhoto.toUtf8().size(), 256);
    {
        ThumbnailCache cache;
        EXPECT_TRUE(cache.AddPhoto(longPhoto));
        EXPECT_TRUE(cache.AddPhoto(shortPhoto));
    }
    EXPECT_EQ(QFileInfo(ThumbnailCache::CacheFilePath(folder)).size(), RecordSize(shortPhoto));
    ThumbnailCache fresh;
    fresh.OpenFolder(folder);
    EXPECT_NE(fresh.FindByPath(shortPhoto), 0);
    EXPECT_EQ(fresh.FindByPath(longPhoto), 0);
}
