// Questions about a window of another program (the preview area the saver
// draws into), which Qt cannot answer for foreign windows.
#pragma once

#include <QSize>
#include <QWindow>

namespace ForeignWindow {

// The window's client size; empty when the window does not exist or the
// platform cannot tell.
QSize ClientSize(WId window);

// False once the window has been destroyed. True when the platform cannot tell.
bool Exists(WId window);

} // namespace ForeignWindow
