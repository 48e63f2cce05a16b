// The few operating-system calls the programs need, kept in one place.
#pragma once

#include <QString>

namespace Platform {

bool IsRunningAsRoot();

// Qt WebEngine refuses to start as root with its sandbox on; the programs
// switch the sandbox off when they run as root. Call before the application
// object is created.
void PrepareWebEngine();

// The folder for the single-instance lock: the user's runtime folder, or the
// temporary folder when there is none.
QString RuntimeDir();

// True when a graphical display is available (X11 or Wayland), or the
// platform plugin was chosen explicitly (for example "offscreen").
bool HasDisplay();

} // namespace Platform

namespace Platform {
// A write beyond the process's file-size limit fails with an error instead of
// ending the program, so that it is reported like a full disk.
void ReportOversizedWritesAsErrors();

// Milliseconds since the kernel started this process (its start time in
// /proc/self/stat, counted in clock ticks of 10 ms), so that start-up times
// include loading the program and its libraries; -1 when unknown.
qint64 MillisecondsSinceProcessStart();

// Ends the Qt event loop cleanly on SIGTERM, SIGINT and SIGHUP, so that a
// program stopped by the session or a test still runs its shutdown.
void QuitOnTerminationSignals();
} // namespace Platform
