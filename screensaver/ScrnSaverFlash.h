// The full-screen control of the screen saver: its input (mouse, keys, wheel,
// loss of focus or activation) is handed to the saver, which decides when to end.
#pragma once

#include "screensaver/ShockwaveFlash.h"

#include <functional>

class CScrnSaverFlash : public CShockwaveFlash {
public:
    // Sees every input event of the control before the movie does; returning
    // true consumes it.
    std::function<bool(QObject* watched, QEvent* event)> inputHook;

    bool Create(const QString& windowName, bool visible, const QRect& rect, QWidget* parent, int controlId) override
    {
        const bool created = CShockwaveFlash::Create(windowName, visible, rect, parent, controlId);
        WatchInput(created);
        return created;
    }

protected:
    bool OnInput(QObject* watched, QEvent* event) override { return inputHook ? inputHook(watched, event) : false; }
};
