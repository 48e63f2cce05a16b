#include "ThumbsNotifier.h"

ThumbsNotifier::ThumbsNotifier(QObject* parent)
    : QObject(parent), m_link(std::make_shared<Link>(this))
{
}

ThumbsNotifier::~ThumbsNotifier() { m_link->Cut(); }

// The signals are emitted under the link's lock, so the notifier cannot go
// while one is under way; emitting to receivers of another thread only posts
// an event.
void ThumbsNotifier::Link::Ready(const QString& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_notifier)
        emit m_notifier->thumbnailReady(path);
}

void ThumbsNotifier::Link::Busy(bool busy)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_notifier)
        emit m_notifier->busyChanged(busy);
}

void ThumbsNotifier::Link::Cut()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_notifier = nullptr;
}

NotifyingThumbsWorker::NotifyingThumbsWorker(std::shared_ptr<ThumbsNotifier::Link> link, ThumbnailCache* cache)
    : CQemThumbsThread(nullptr, cache), m_link(std::move(link))
{
}

void NotifyingThumbsWorker::ShowBusy(bool busy) { m_link->Busy(busy); }

void NotifyingThumbsWorker::PhotoDone(const QString& path) { m_link->Ready(path); }
