// The screen saver's command line. The classic switches, one parameter at a
// time with one leading "/" or "-" removed, decided by their first character:
//   "p" or "P"             preview (mode 1)
//   "s" or "S"             full screen (mode 2)
//   "c", "c:N", "C:N"      configure (mode 0); N is the window number
//   all digits             the window number
//   anything else          ignored (a bare "C", the password switch "a", ...)
// and XScreenSaver's:
//   "-root" / "--root"     full screen
//   "-window-id ID"        preview drawn into the window ID (decimal or 0x hex)
//   XSCREENSAVER_WINDOW    (environment, with "-root" or with no parameter at
//                          all) preview drawn into that window: XScreenSaver
//                          sets it both for its own full-screen window and
//                          for its settings preview, and draws the saver there
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class CScrnSaveCommandLineInfo {
public:
    enum Mode { Configure = 0, Preview = 1, FullScreen = 2 };

    int mode = Configure;
    uint64_t windowNumber = 0;

    // Parses the arguments after the program name. `environmentWindow` is
    // the value of XSCREENSAVER_WINDOW (empty when unset).
    void Parse(const QStringList& arguments, const QString& environmentWindow = QString());

    // One parameter of the classic switches, its leading "/" or "-" removed.
    void ParseParam(const QString& parameter);

private:
    static bool ParseWindowId(const QString& text, uint64_t& id);
};
