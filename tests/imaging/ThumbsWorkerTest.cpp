#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QCoreApplication>
#include <QObject>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

// Stands for the explorer list: counts the repaint requests it receives.
class RepaintCounter : public QObject {
    Q_OBJECT
public slots:
    void update() { ++count; }

public:
    int count = 0;
};

namespace {

// A cache whose AddPhoto waits at a gate for photos under `gated`, so a test
// can hold a worker in the middle of a photo.
class GatedCache : public ThumbnailCache {
public:
    explicit GatedCache(QString gated) : m_gated(std::move(gated)) {}

    bool AddPhoto(const QString& path, ThumbHandle* handleOut, const std::atomic<bool>* stop) override
    {
        if (path.startsWith(m_gated)) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_calls << path;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
        }
        return ThumbnailCache::AddPhoto(path, handleOut, stop);
    }
    void WaitForCalls(int count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_calls.size() >= count; });
    }
    void Open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    QStringList Calls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }

private:
    QString m_gated;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    QStringList m_calls;
};

void DeliverRepaints() { QCoreApplication::processEvents(); }

// A worker that, after its run has finished, stays in its last steps until it
// is told to stop.
class LingeringWorker : public CQemThumbsThread {
public:
    using CQemThumbsThread::CQemThumbsThread;
    ~LingeringWorker() override
    {
        Stop();
        Join();
    }

protected:
    void ShowBusy(bool busy) override
    {
        while (!busy && !IsStopRequested())
            std::this_thread::yield();
    }
};

} // namespace

TEST(ThumbsWorker, PhotosAreSplitOddAndEven)
{
    const QStringList listing = {"/f/a.jpg", "/f/sub", "/f/b.png", "/f/c.tif", "/f/d.gif", "/f/other", "/f/e.BMP"};
    const PhotoSplit split = SplitPhotos(listing);
    EXPECT_EQ(split.odd, (QStringList{"/f/a.jpg", "/f/d.gif"}));
    EXPECT_EQ(split.even, (QStringList{"/f/b.png", "/f/e.BMP"}));
    // Three photos and two folders: A makes 1 and 3, B makes 2.
    const PhotoSplit three = SplitPhotos({"/f/1.jpg", "/f/x", "/f/2.jpg", "/f/y", "/f/3.jpg"});
    EXPECT_EQ(three.odd, (QStringList{"/f/1.jpg", "/f/3.jpg"}));
    EXPECT_EQ(three.even, QStringList{"/f/2.jpg"});
}

TEST(ThumbsWorker, AOnePhotoFolderStartsOnlyWorkerA)
{
    const QString folder = TestSupport::MakeFolder("one");
    const QStringList photos = ImagingTest::WritePhotos(folder, 1);
    ThumbnailCache cache;
    ThumbsWorkerRegistry registry;
    RepaintCounter list;
    const FolderWorkers workers = StartFolderWorkers({photos[0], folder + "/sub"}, &list, &cache, &registry);
    ASSERT_TRUE(workers.a);
    EXPECT_TRUE(workers.a->IsStarted());
    EXPECT_FALSE(workers.b);
    EXPECT_EQ(registry.Count(), 1);
    workers.a->WaitUntilEnded();
    EXPECT_NE(cache.FindByPath(photos[0]), 0);

    const FolderWorkers none = StartFolderWorkers({folder + "/sub", folder + "/x.tif"}, &list, &cache, &registry);
    EXPECT_FALSE(none.a);
    EXPECT_FALSE(none.b);
    EXPECT_EQ(registry.Count(), 1);
}

TEST(ThumbsWorker, WorkersFillTheCacheAndAskForARepaintAfterEachPhoto)
{
    const QString folder = TestSupport::MakeFolder("five");
    const QStringList photos = ImagingTest::WritePhotos(folder, 5);
    ThumbnailCache cache;
    ThumbsWorkerRegistry registry;
    RepaintCounter list;
    const FolderWorkers workers = StartFolderWorkers(photos, &list, &cache, &registry);
    ASSERT_TRUE(workers.a && workers.b);
    EXPECT_EQ(workers.a->Queue().size(), 3);
    EXPECT_EQ(workers.b->Queue().size(), 2);
    // The user-interface thread blocks without handling events: the requests
    // are queued, so the workers never wait for it.
    workers.a->WaitUntilEnded();
    workers.b->WaitUntilEnded();
    EXPECT_TRUE(workers.a->IsFinished() && workers.b->IsFinished());
    EXPECT_EQ(cache.Count(), 5);
    EXPECT_EQ(cache.CurrentFolder(), folder);
    EXPECT_EQ(list.count, 0);
    DeliverRepaints();
    EXPECT_EQ(list.count, 5 + 2); // one per photo and one at each worker's end
    registry.Reap();
    EXPECT_EQ(registry.Count(), 0);
}

TEST(ThumbsWorker, StopEndsTheRunAfterTheCurrentPhoto)
{
    const QString folder = TestSupport::MakeFolder("stop");
    const QStringList photos = ImagingTest::WritePhotos(folder, 3);
    GatedCache cache(folder);
    ASSERT_TRUE(cache.OpenFolder(folder)); // the folder the worker's earlier photos switched to
    ThumbsWorkerRegistry registry;
    RepaintCounter list;
    auto worker = std::make_shared<CQemThumbsThread>(&list, &cache, &registry);
    worker->Queue() = photos;
    registry.Register(worker);
    worker->Start();
    cache.WaitForCalls(1); // in the middle of the first photo
    worker->Stop();
    EXPECT_EQ(worker->Target(), nullptr);
    cache.Open();
    worker->WaitUntilEnded();
    EXPECT_EQ(cache.Calls(), QStringList{photos[0]});
    EXPECT_NE(cache.FindByPath(photos[0]), 0); // the current photo is finished
    EXPECT_EQ(cache.FindByPath(photos[1]), 0);
    DeliverRepaints();
    EXPECT_EQ(list.count, 0); // no requests once stopped
}

TEST(ThumbsWorker, WaitingForWorkersNeverDeadlocks)
{
    const QString folder = TestSupport::MakeFolder("wait");
    const QStringList photos = ImagingTest::WritePhotos(folder, 4);
    GatedCache cache(folder);
    ThumbsWorkerRegistry registry;
    RepaintCounter list;
    const FolderWorkers workers = StartFolderWorkers(photos, &list, &cache, &registry);
    cache.WaitForCalls(2); // both workers are in the middle of a photo
    registry.StopAll();
    std::thread opener([&cache] { cache.Open(); });
    registry.WaitAll();
    opener.join();
    EXPECT_TRUE(workers.a->HasEnded());
    EXPECT_TRUE(workers.b->HasEnded());
    EXPECT_EQ(cache.Calls().size(), 2);
    registry.Reap();
    EXPECT_EQ(registry.Count(), 0);
}

TEST(ThumbsWorker, WaitingForWorkersWaitsForFinishedThreadsToEnd)
{
    const QString folder = TestSupport::MakeFolder("linger");
    const QStringList photos = ImagingTest::WritePhotos(folder, 1);
    ThumbnailCache cache;
    ThumbsWorkerRegistry registry;
    auto worker = std::make_shared<LingeringWorker>(nullptr, &cache, &registry);
    worker->Queue() = photos;
    registry.Register(worker);
    worker->Start();
    while (!worker->IsFinished())
        std::this_thread::yield();
    registry.WaitAll();
    EXPECT_TRUE(worker->HasEnded());
}

TEST(ThumbsWorker, ChangingFolderStopsTheOldWorkersWithoutSwitchingBack)
{
    const QString a = TestSupport::MakeFolder("A");
    const QString b = TestSupport::MakeFolder("B");
    const QStringList photosA = ImagingTest::WritePhotos(a, 6);
    const QStringList photosB = ImagingTest::WritePhotos(b, 3);
    GatedCache cache(a);
    ThumbsWorkerRegistry registry;
    RepaintCounter list;
    const FolderWorkers old = StartFolderWorkers(photosA, &list, &cache, &registry);
    cache.WaitForCalls(2);
    registry.StopAll(); // the explorer lists another folder
    const FolderWorkers shown = StartFolderWorkers(photosB, &list, &cache, &registry);
    shown.a->WaitUntilEnded();
    shown.b->WaitUntilEnded();
    cache.Open();
    old.a->WaitUntilEnded();
    old.b->WaitUntilEnded();
    EXPECT_EQ(cache.CurrentFolder(), b);
    for (const QString& photo : photosB)
        EXPECT_NE(cache.FindByPath(photo), 0);
    for (const QString& photo : photosA)
        EXPECT_EQ(cache.FindByPath(photo), 0);
}

// Workers, the user-interface thread and further threads use one cache at the
// same time (run under ThreadSanitizer with -DKELVANA_TSAN=ON).
TEST(ThumbsWorker, ConcurrentUseKeepsTheCacheConsistent)
{
    const QString first = TestSupport::MakeFolder("first");
    const QString second = TestSupport::MakeFolder("second");
    const QStringList photos1 = ImagingTest::WritePhotos(first, 12, 240, 180);
    const QStringList photos2 = ImagingTest::WritePhotos(second, 6, 240, 180);
    const QString loose = ImagingTest::Write(TestSupport::TempDir() + "loose.png", ImagingTest::Pattern(100, 80));
    ThumbnailCache cache;
    ThumbsWorkerRegistry registry;
    RepaintCounter list;

    std::atomic<bool> done{false};
    std::thread unsaved([&] {
        while (!done.load()) {
            const ThumbHandle handle = cache.AddUnsavedPhoto(loose);
            cache.EntryOfId(handle);
            cache.ReleaseReference(handle);
            cache.RemoveByPath(loose);
        }
    });

    const FolderWorkers workers1 = StartFolderWorkers(photos1, &list, &cache, &registry);
    int seen = 0;
    // At least one pass, also when the workers end before the first look
    // (a loaded machine): then every photo is found.
    do {
        for (const QString& photo : photos1) {
            const ThumbHandle handle = cache.FindByPath(photo);
            if (handle == 0)
                continue;
            cache.AddReference(handle);
            seen += cache.PathOf(handle) == photo ? 1 : 0;
            cache.PictureOf(handle);
            cache.ReleaseReference(handle);
        }
    } while (!workers1.a->HasEnded() || !workers1.b->HasEnded());
    EXPECT_GT(seen, 0);
    const ThumbHandle kept = cache.FindByPath(photos1[0]);
    ASSERT_NE(kept, 0);
    cache.AddReference(kept); // an album photo: survives the switch
    registry.StopAll();
    const FolderWorkers workers2 = StartFolderWorkers(photos2, &list, &cache, &registry);
    registry.Reap();
    workers2.a->WaitUntilEnded();
    workers2.b->WaitUntilEnded();
    done = true;
    unsaved.join();
    registry.WaitAll();
    for (const QString& photo : photos2)
        EXPECT_NE(cache.FindByPath(photo), 0);
    EXPECT_EQ(cache.FindByPath(photos1[0]), kept);
    EXPECT_EQ(cache.Count(), 6 + 1);
}

#include "ThumbsWorkerTest.moc"
