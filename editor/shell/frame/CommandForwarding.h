// Ctrl+A and Delete go to whichever window has the keyboard focus: a window
// of ours that takes forwarded commands handles them its own way; a text
// field selects all or deletes; with no focus window nothing happens.
#pragma once

namespace CommandForwarding {
// True when a window took the command.
bool ToFocusWindow(int id);
}
