// The settings every screen saver of the user shares: "Password Delay"
// (seconds) and "Mouse Threshold" (pixels), integers in the QSettings file of
// organisation "Orlemo", application "Screen Savers" (on Linux
// ~/.config/Orlemo/Screen Savers.conf, [General] section).
#pragma once

namespace ScrnSaverSettings {

// Overwrites each value that is present and a valid integer; leaves the
// others as they are.
void Read(int& passwordDelaySeconds, int& mouseThreshold);

} // namespace ScrnSaverSettings
