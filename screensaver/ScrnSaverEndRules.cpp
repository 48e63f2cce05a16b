#include "screensaver/ScrnSaverEndRules.h"

#include "screensaver/ScrnSaverSettings.h"

#include <cstdlib>

void CScrnSaverEndRules::Start(QPoint cursor, qint64 nowMs, const Settings& settings)
{
    m_closeRequested = false;
    m_verifying = false;
    m_startCursor = cursor;
    m_startMs = nowMs;
    m_settings = settings;
}

bool CScrnSaverEndRules::MouseMoveEnds(QPoint cursor) const
{
    if (m_verifying)
        return false;
    const int dx = std::abs(cursor.x() - m_startCursor.x());
    const int dy = std::abs(cursor.y() - m_startCursor.y());
    return dx > m_settings.mouseThreshold || dy > m_settings.mouseThreshold;
}

CScrnSaverEndRules::CloseAction CScrnSaverEndRules::OnClose(qint64 nowMs, QPoint cursor,
                                                            const std::function<bool()>& passwordCheck)
{
    if (!m_closeRequested)
        return CloseAction::Ignore;
    if (!m_verifying && nowMs - m_startMs > qint64(m_settings.passwordDelaySeconds) * 1000) {
        m_verifying = true;
        const bool passed = !passwordCheck || passwordCheck();
        m_verifying = false;
        m_startCursor = cursor;
        if (!passed) {
            // Back to running: only a new request (new input) closes again.
            m_closeRequested = false;
            return CloseAction::StayRunning;
        }
    }
    return CloseAction::Close;
}

CScrnSaverEndRules::Settings CScrnSaverEndRules::LoadSettings()
{
    Settings settings;
    ScrnSaverSettings::Read(settings.passwordDelaySeconds, settings.mouseThreshold);
    return settings;
}
