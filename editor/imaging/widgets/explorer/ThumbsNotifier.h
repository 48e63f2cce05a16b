// How the thumbnail workers of the explorer list report: a notifier that lives
// on the user-interface thread and announces, by typed signals, each photo a
// worker has finished and when a worker starts and ends its run. Receivers on
// the notifier's thread get the signals queued, so a worker never waits for
// that thread.
//
// Workers reach the notifier through a link they share with it: the notifier
// cuts the link when it goes, and a worker that still runs then reports into
// nothing.
#pragma once

#include "editor/imaging/ThumbsWorker.h"

#include <QObject>
#include <QString>
#include <memory>
#include <mutex>

class ThumbsNotifier : public QObject {
    Q_OBJECT
public:
    explicit ThumbsNotifier(QObject* parent = nullptr);
    ~ThumbsNotifier() override; // cuts the link

    // What the workers hold; safe to use from any thread.
    class Link {
    public:
        explicit Link(ThumbsNotifier* notifier) : m_notifier(notifier) {}
        void Ready(const QString& path);
        void Busy(bool busy);
        void Cut();

    private:
        std::mutex m_mutex;
        ThumbsNotifier* m_notifier;
    };
    const std::shared_ptr<Link>& SharedLink() const { return m_link; }

signals:
    // A worker finished this photo: its thumbnail is in the cache unless the
    // photo cannot be decoded.
    void thumbnailReady(const QString& path);
    // A worker started (true) or ended (false) its run.
    void busyChanged(bool busy);

private:
    std::shared_ptr<Link> m_link;
};

// A thumbnail worker that reports through a notifier's link instead of
// repainting a window or switching the application's cursor.
class NotifyingThumbsWorker : public CQemThumbsThread {
public:
    NotifyingThumbsWorker(std::shared_ptr<ThumbsNotifier::Link> link, ThumbnailCache* cache);

protected:
    void ShowBusy(bool busy) override;
    void PhotoDone(const QString& path) override;

private:
    std::shared_ptr<ThumbsNotifier::Link> m_link;
};
