// The thumbnail workers: when the photo explorer list shows a folder, two
// threads make the thumbnails of its photos in the background (odd-numbered
// photos on one, even-numbered on the other) and ask the list to repaint after
// every photo. A process-wide registry lets the list stop them when the folder
// changes, wait for them when it is destroyed, and delete finished workers.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QObject;
class ThumbnailCache;
class ThumbsWorkerRegistry;

class CQemThumbsThread {
public:
    // The target is asked to repaint through a queued call of its update()
    // slot (every QWidget has one), so a worker never waits for the
    // user-interface thread.
    explicit CQemThumbsThread(QObject* target, ThumbnailCache* cache = nullptr,
                              ThumbsWorkerRegistry* registry = nullptr);
    virtual ~CQemThumbsThread(); // joins the thread when it ran
    CQemThumbsThread(const CQemThumbsThread&) = delete;
    CQemThumbsThread& operator=(const CQemThumbsThread&) = delete;

    // Filled completely before Start and never changed afterwards.
    QStringList& Queue() { return m_queue; }
    const QStringList& Queue() const { return m_queue; }

    // Starts the thread (once).
    void Start();
    // Clears the target, then sets the stop flag: the run ends after the photo
    // it is making.
    void Stop();
    void SetTarget(QObject* target);
    QObject* Target() const { return m_target.load(); }

    bool IsStarted() const;
    bool IsStopRequested() const { return m_stop.load(); }
    // The run has ended (set just before the thread ends).
    bool IsFinished() const { return m_finished.load(); }
    // The thread itself has ended (or never started).
    bool HasEnded() const;
    // Waits for the thread's end without stopping it.
    void WaitUntilEnded();
    // Waits until the thread is gone (its last instruction run), without
    // stopping it. Nothing when it never started or was joined already.
    void Join();

protected:
    // Switches the application's wait cursor on at the start of the run and
    // off at its end (after the finished flag is set).
    virtual void ShowBusy(bool busy);
    // Told after each photo of the queue while the worker is not stopped (its
    // thumbnail is in the cache unless the photo cannot be decoded). Asks the
    // target to repaint; a worker that reports otherwise replaces it and must
    // not wait for the user-interface thread.
    virtual void PhotoDone(const QString& path);

private:
    void Run();
    void RequestRepaint();

    QStringList m_queue;
    std::atomic<QObject*> m_target;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    ThumbnailCache& m_cache;
    ThumbsWorkerRegistry& m_registry;
    std::thread m_thread;
    std::mutex m_threadMutex;      // guards m_thread: started by one thread, joined by another
    mutable std::mutex m_endMutex; // guards the two flags below
    std::condition_variable m_endChanged;
    bool m_started = false;
    bool m_ended = false;
};

// The process-wide list of workers, guarded by its own lock (never held while
// waiting for a thread).
class ThumbsWorkerRegistry {
public:
    ThumbsWorkerRegistry() = default;
    ~ThumbsWorkerRegistry(); // stops and waits for every worker, then deletes them
    static ThumbsWorkerRegistry& Instance();

    void Register(std::shared_ptr<CQemThumbsThread> worker);
    // Stop on every registered worker.
    void StopAll();
    // Deletes every worker whose run finished and whose thread ended.
    void Reap();
    // Stop every worker, then wait until each one's thread is gone, also the
    // threads of workers whose run has finished but that still end.
    void WaitAll();
    int Count() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<CQemThumbsThread>> m_workers;
};

// The editor's registry.
void RegisterWorker(std::shared_ptr<CQemThumbsThread> worker);
void StopAllWorkers();
void ReapWorkers();
void WaitForWorkers();

// The photos of a folder listing for the two workers: only paths that pass the
// photo test count, numbered from 1 in listing order; odd-numbered ones go to
// the first list, even-numbered ones to the second.
struct PhotoSplit {
    QStringList odd;
    QStringList even;
};
PhotoSplit SplitPhotos(const QStringList& listing);

// Creates workers A and B for the target, gives them the split photos and,
// in the order A then B, registers and starts each one that has photos; a
// worker without photos is deleted unstarted (null in the result).
struct FolderWorkers {
    std::shared_ptr<CQemThumbsThread> a;
    std::shared_ptr<CQemThumbsThread> b;
};
FolderWorkers StartFolderWorkers(const QStringList& listing, QObject* target, ThumbnailCache* cache = nullptr,
                                 ThumbsWorkerRegistry* registry = nullptr);
