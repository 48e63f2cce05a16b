// The shared state of one upload run between the upload worker and its
// progress dialog. The worker tells the dialog what happens by posted notices
// (never waiting for the user-interface thread):
//   1, 0        generation started
//   2, 0        packing started
//   3, percent  packing progress, 0 to 100
//   4, 0        the run has ended, whatever its result
// A notice reaches the dialog as a CZipNoticeEvent posted to it, and anyone
// else through the Notice signal.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class CZipNoticeEvent : public QEvent {
public:
    static QEvent::Type EventType();
    CZipNoticeEvent(int notice, int value) : QEvent(EventType()), notice(notice), value(value) {}
    const int notice;
    const int value;
};

class CZipProcessNotify : public QObject {
    Q_OBJECT
public:
    enum Notice { GenerationStarted = 1, PackingStarted = 2, PackingProgress = 3, RunEnded = 4 };
    enum Result { Success = 0, GenerationFailed = 1, PackingFailed = 2, PackingCancelled = 3 };

    // The amount of work of the current packing action and how much is done.
    std::atomic<uint64_t> total{0};
    std::atomic<uint64_t> processed{0};
    // Set by the progress dialog's Cancel button; read by the worker between
    // the library's steps.
    std::atomic<bool> cancelRequested{false};
    // The progress dialog: receiver of the posted notices.
    QPointer<QObject> dialog;
    // Set between the start and the end of a library action.
    std::atomic<bool> active{false};
    // 0 success, 1 generation failed, 2 packing failed, 3 packing cancelled.
    std::atomic<int> result{Success};
    // The archive of a successful run (read it once the end event is set).
    QString archivePath;
    // The temporary folder the run generated the album into (empty when none
    // could be made); it is left in place for the caller.
    QString albumFolder;

    // The end event: set by the worker as its last step.
    void SetEnd();
    void ResetEnd();
    void WaitForEnd();
    bool WaitForEnd(int timeoutMs);

    // Posts a notice to the dialog and emits Notice; callable from any thread.
    void Post(int notice, int value = 0);

    // The library's callbacks: an action begins with its total, makes
    // progress, ends. OnProgress posts notice 3 when the percentage changed.
    void OnActionStart(uint64_t actionTotal);
    void OnProgress(double fraction);
    void OnActionEnd();
    // True when the library should abort the action.
    bool ShouldCancel() const;

signals:
    void Notice(int notice, int value);

private:
    std::mutex m_endMutex;
    std::condition_variable m_endChanged;
    bool m_ended = false;
    int m_lastPercent = -1;
};
