#include "editor/app/StartupTrace.h"

#include "common/Platform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <cstdio>

namespace {

class Tracer : public QObject {
public:
    Tracer(QWidget* window, bool exitWhenIdle) : m_window(window), m_watchAny(!window), m_exit(exitWhenIdle)
    {
        // A window whose children cover it is not painted itself: its first
        // paint is that of any widget in it.
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_painted)
            return false;
        if (!watched->isWidgetType())
            return false;
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        if (!m_watchAny && window != m_window)
            return false;
        m_painted = true;
        report("painted");
        QCoreApplication::instance()->removeEventFilter(this);
        // The paint itself runs now; the loop is idle once it is about to wait.
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Tracer::idle);
        return false;
    }

private:
    void idle()
    {
        disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
        report("idle");
        if (m_exit)
            QCoreApplication::exit(0);
        deleteLater();
    }
    static void report(const char* what)
    {
        std::fprintf(stderr, "kelvana-startup %s %lld\n", what, static_cast<long long>(Platform::MillisecondsSinceProcessStart()));
        std::fflush(stderr);
    }

    QPointer<QWidget> m_window;
    bool m_watchAny;
    bool m_exit;
    bool m_painted = false;
};

} // namespace

void StartupTrace::Watch(QWidget* window)
{
    const QByteArray mode = qgetenv("KELVANA_STARTUP_TRACE");
    if (mode != "1" && mode != "exit")
        return;
    new Tracer(window, mode == "exit");
}
