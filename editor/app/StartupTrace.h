// Start-up timing for benchmarks: with KELVANA_STARTUP_TRACE=1 (or "exit") in
// the environment the program writes to stderr
//   kelvana-startup painted <ms>   the main window's first paint event
//   kelvana-startup idle <ms>      the first time after it that the event loop
//                                  has nothing left to do and waits (it then
//                                  stays asleep for 10 ms at least)
// in milliseconds since the process started; with "exit" it then ends.
// Without the variable nothing is watched.
#pragma once

class QWidget;

namespace StartupTrace {

// Watches `window` (any window when null) for its first paint: a paint event
// of the window or of any widget in it.
void Watch(QWidget* window);

} // namespace StartupTrace
