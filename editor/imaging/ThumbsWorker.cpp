#include "editor/imaging/ThumbsWorker.h"

#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QObject>

namespace {

// The application's wait cursor, switched on the user-interface thread (the
// call is queued, so a worker never waits for that thread).
void PostWaitCursor(bool on)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app,
        [on] {
            if (on)
                QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            else
                QGuiApplication::restoreOverrideCursor();
        },
        Qt::QueuedConnection);
}

} // namespace

CQemThumbsThread::CQemThumbsThread(QObject* target, ThumbnailCache* cache, ThumbsWorkerRegistry* registry)
    : m_target(target),
      m_cache(cache ? *cache : ThumbnailCache::Instance()),
      m_registry(registry ? *registry : ThumbsWorkerRegistry::Instance())
{
}

CQemThumbsThread::~CQemThumbsThread()
{
    std::lock_guard<std::mutex> lock(m_threadMutex);
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach(); // cannot happen through the registry; never join oneself
    else
        m_thread.join();
}

void CQemThumbsThread::Start()
{
    std::lock_guard<std::mutex> threadLock(m_threadMutex);
    {
        std::lock_guard<std::mutex> lock(m_endMutex);
        if (m_started)
            return;
        m_started = true;
    }
    m_thread = std::thread([this] { Run(); });
}

void CQemThumbsThread::Join()
{
    std::lock_guard<std::mutex> lock(m_threadMutex);
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void CQemThumbsThread::ShowBusy(bool busy) { PostWaitCursor(busy); }

void CQemThumbsThread::PhotoDone(const QString&) { RequestRepaint(); }

void CQemThumbsThread::Stop()
{
    m_target.store(nullptr);
    m_stop.store(true);
}

void CQemThumbsThread::SetTarget(QObject* target) { m_target.store(target); }

bool CQemThumbsThread::IsStarted() const
{
    std::lock_guard<std::mutex> lock(m_endMutex);
    return m_started;
}

bool CQemThumbsThread::HasEnded() const
{
    std::lock_guard<std::mutex> lock(m_endMutex);
    return !m_started || m_ended;
}

void CQemThumbsThread::WaitUntilEnded()
{
    std::unique_lock<std::mutex> lock(m_endMutex);
    m_endChanged.wait(lock, [this] { return !m_started || m_ended; });
}

void CQemThumbsThread::RequestRepaint()
{
    // The target is read right before the request; Stop clears it first.
    if (QObject* target = m_target.load())
        QMetaObject::invokeMethod(target, "update", Qt::QueuedConnection);
}

void CQemThumbsThread::Run()
{
    ShowBusy(true);
    for (const QString& path : std::as_const(m_queue)) {
        if (m_stop.load())
            break;
        if (m_cache.FindByPath(path) == 0)
            m_cache.AddPhoto(path, nullptr, &m_stop);
        if (!m_stop.load())
            PhotoDone(path);
    }
    RequestRepaint();
    m_registry.Reap(); // this worker is not finished yet, so it stays
    m_finished.store(true);
    ShowBusy(false);
    {
        std::lock_guard<std::mutex> lock(m_endMutex);
        m_ended = true;
    }
    m_endChanged.notify_all();
}

// ---- registry ----------------------------------------------------------------

ThumbsWorkerRegistry::~ThumbsWorkerRegistry()
{
    WaitAll();
    std::vector<std::shared_ptr<CQemThumbsThread>> workers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        workers.swap(m_workers);
    }
}

ThumbsWorkerRegistry& ThumbsWorkerRegistry::Instance()
{
    // The cache is made first so that it outlives the registry, whose end waits
    // for workers that use it.
    ThumbnailCache::Instance();
    static ThumbsWorkerRegistry registry;
    return registry;
}

void ThumbsWorkerRegistry::Register(std::shared_ptr<CQemThumbsThread> worker)
{
    if (!worker)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_workers.push_back(std::move(worker));
}

void ThumbsWorkerRegistry::StopAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& worker : m_workers)
        worker->Stop();
}

void ThumbsWorkerRegistry::Reap()
{
    std::vector<std::shared_ptr<CQemThumbsThread>> done;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if ((*it)->IsFinished() && (*it)->HasEnded()) {
                done.push_back(std::move(*it));
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Deleted here, outside the lock (deletion joins the ended thread).
}

void ThumbsWorkerRegistry::WaitAll()
{
    std::vector<std::shared_ptr<CQemThumbsThread>> workers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        workers = m_workers;
    }
    // A finished worker's thread may still be running its last steps: it is
    // waited for as well, so nothing of it runs once this returns.
    for (const auto& worker : workers) {
        worker->Stop();
        worker->Join();
    }
}

int ThumbsWorkerRegistry::Count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_workers.size());
}

void RegisterWorker(std::shared_ptr<CQemThumbsThread> worker) { ThumbsWorkerRegistry::Instance().Register(std::move(worker)); }
void StopAllWorkers() { ThumbsWorkerRegistry::Instance().StopAll(); }
void ReapWorkers() { ThumbsWorkerRegistry::Instance().Reap(); }
void WaitForWorkers() { ThumbsWorkerRegistry::Instance().WaitAll(); }

PhotoSplit SplitPhotos(const QStringList& listing)
{
    PhotoSplit split;
    int number = 0;
    for (const QString& path : listing) {
        if (!ImageOps::IsPhotoFile(path))
            continue;
        ++number;
        (number % 2 == 1 ? split.odd : split.even).append(path);
    }
    return split;
}

FolderWorkers StartFolderWorkers(const QStringList& listing, QObject* target, ThumbnailCache* cache,
                                 ThumbsWorkerRegistry* registry)
{
    ThumbsWorkerRegistry& workers = registry ? *registry : ThumbsWorkerRegistry::Instance();
    const PhotoSplit split = SplitPhotos(listing);
    FolderWorkers result;
    result.a = std::make_shared<CQemThumbsThread>(target, cache, &workers);
    result.b = std::make_shared<CQemThumbsThread>(target, cache, &workers);
    result.a->Queue() = split.odd;
    result.b->Queue() = split.even;
    for (std::shared_ptr<CQemThumbsThread>* worker : {&result.a, &result.b}) {
        if ((*worker)->Queue().isEmpty()) {
            worker->reset(); // deleted unstarted
            continue;
        }
        workers.Register(*worker);
        (*worker)->Start();
    }
    return result;
}
