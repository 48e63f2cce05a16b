#include "editor/app/StartupTrace.h"

#include "common/Platform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// How long the loop must then stay asleep for its wait to count as idle: the
// dispatcher announces every wait, also when events are already queued.
const int kQuietMs = 10;

class Tracer : public QObject {
public:
    Tracer(QWidget* window, bool exitWhenIdle) : m_window(window), m_watchAny(!window), m_exit(exitWhenIdle)
    {
        m_quiet.setSingleShot(true);
        m_quiet.setInterval(kQuietMs);
        connect(&m_quiet, &QTimer::timeout, this, &Tracer::quiet);
        // Every event of the program passes here: a window whose children
        // cover it is not painted itself (its first paint is that of any
        // widget in it), and any event after a wait began ends the idle time.
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_painted) {
            if (watched != &m_quiet)
                m_waitStart = -1;
            return false;
        }
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        if (!m_watchAny && static_cast<QWidget*>(watched)->window() != m_window)
            return false;
        m_painted = true;
        report("painted", Platform::MillisecondsSinceProcessStart());
        m_clock.start();
        m_sinceStartAtClock = Platform::MillisecondsSinceProcessStart();
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Tracer::aboutToWait);
        return false;
    }

private:
    void aboutToWait()
    {
        if (m_waitStart >= 0)
            return; // still asleep since an earlier announcement
        m_waitStart = m_clock.elapsed();
        m_quiet.start();
    }
    void quiet()
    {
        if (m_waitStart < 0)
            return; // woken by other work meanwhile; the next wait starts again
        QCoreApplication::instance()->removeEventFilter(this);
        disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
        report("idle", m_sinceStartAtClock + m_waitStart);
        if (m_exit)
            QCoreApplication::exit(0);
        deleteLater();
    }
    static void report(const char* what, qint64 ms)
    {
        std::fprintf(stderr, "kelvana-startup %s %lld\n", what, static_cast<long long>(ms));
        std::fflush(stderr);
    }

    QPointer<QWidget> m_window;
    bool m_watchAny;
    bool m_exit;
    bool m_painted = false;
    QTimer m_quiet;
    QElapsedTimer m_clock;        // from the first paint
    qint64 m_sinceStartAtClock = 0;
    qint64 m_waitStart = -1;      // m_clock time the current quiet wait began
};

} // namespace

void StartupTrace::Watch(QWidget* window)
{
    const QByteArray mode = qgetenv("KELVANA_STARTUP_TRACE");
    if (mode != "1" && mode != "exit")
        return;
    new Tracer(window, mode == "exit");
}
