// When the full-screen saver ends: on a mouse movement beyond the threshold,
// a button, the wheel, a key or the loss of activation it asks to close; the
// close then runs the password check unless the password delay has not yet
// passed. While the check runs (verifying) input is ignored, so it cannot
// re-enter the close path. Kept free of windows so that it can be tested.
#pragma once

#include <QPoint>
#include <QtGlobal>
#include <functional>

class CScrnSaverEndRules {
public:
    struct Settings {
        int passwordDelaySeconds = 0;
        int mouseThreshold = 3; // pixels in x or in y
    };

    enum class CloseAction {
        Ignore,      // nobody asked the saver to close: keep running
        StayRunning, // the password check refused
        Close,       // stop the movie and end
    };

    // Called when the full-screen control starts: clears the close request and
    // remembers the cursor and the time.
    void Start(QPoint cursor, qint64 nowMs, const Settings& settings);

    // True when the input should end the saver (and so RequestClose is due).
    bool MouseMoveEnds(QPoint cursor) const;
    bool InputEnds() const { return !m_verifying; } // button, wheel, key, deactivation

    void RequestClose() { m_closeRequested = true; }
    bool CloseRequested() const { return m_closeRequested; }
    bool Verifying() const { return m_verifying; }
    const Settings& CurrentSettings() const { return m_settings; }
    QPoint StartCursor() const { return m_startCursor; }

    // The close message: ignored unless the saver asked for it; past the
    // password delay the check runs (with the verifying flag set) and the
    // cursor position becomes the new start position.
    CloseAction OnClose(qint64 nowMs, QPoint cursor, const std::function<bool()>& passwordCheck);

    // "Password Delay" and "Mouse Threshold" from the saver settings (see
    // ScrnSaverSettings.h); missing values keep the defaults.
    static Settings LoadSettings();

private:
    bool m_verifying = false;
    bool m_closeRequested = false;
    QPoint m_startCursor;
    qint64 m_startMs = 0;
    Settings m_settings;
};
