#include "editor/generation/ZipProcessNotify.h"

#include <QCoreApplication>
#include <chrono>

QEvent::Type CZipNoticeEvent::EventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void CZipProcessNotify::SetEnd()
{
    {
        std::lock_guard lock(m_endMutex);
        m_ended = true;
    }
    m_endChanged.notify_all();
}

void CZipProcessNotify::ResetEnd()
{
    std::lock_guard lock(m_endMutex);
    m_ended = false;
}

void CZipProcessNotify::WaitForEnd()
{
    std::unique_lock lock(m_endMutex);
    m_endChanged.wait(lock, [this] { return m_ended; });
}

bool CZipProcessNotify::WaitForEnd(int timeoutMs)
{
    std::unique_lock lock(m_endMutex);
    return m_endChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_ended; });
}

void CZipProcessNotify::Post(int notice, int value)
{
    if (QObject* receiver = dialog.data())
        QCoreApplication::postEvent(receiver, new CZipNoticeEvent(notice, value));
    emit Notice(notice, value);
}

void CZipProcessNotify::OnActionStart(uint64_t actionTotal)
{
    active = true;
    processed = 0;
    total = actionTotal;
    m_lastPercent = -1;
}

void CZipProcessNotify::OnProgress(double fraction)
{
    if (!active)
        return;
    const uint64_t all = total;
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    processed = uint64_t(clamped * double(all));
    const int percent = all == 0 ? 100 : int(processed * 100 / all);
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        Post(PackingProgress, percent);
    }
}

void CZipProcessNotify::OnActionEnd() { active = false; }

bool CZipProcessNotify::ShouldCancel() const { return active && cancelRequested; }
