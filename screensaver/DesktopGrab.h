// Reading the desktop's current picture and the virtual screen's extent.
#pragma once

#include <QImage>
#include <QRect>

namespace DesktopGrab {

// The union of all screens' geometries (the virtual screen).
QRect VirtualScreen();

// The desktop picture of `area` (virtual-screen coordinates), assembled from
// every screen it touches; parts no screen covers, and everything on a
// platform that cannot grab, stay black.
QImage Grab(const QRect& area);

} // namespace DesktopGrab
