// The command ids of the main window (the application menu, the keyboard,
// the client view's buttons and the step tabs).
#pragma once

namespace ShellCommands {
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kClose = 57602;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kOptions = 32782;
inline constexpr int kHelp = 32783;
inline constexpr int kAbout = 32784;
inline constexpr int kFirstRecent = 57616;
inline constexpr int kLastRecent = 57631;
inline constexpr int kExit = 57665;
inline constexpr int kSelectAll = 32771;
inline constexpr int kDelete = 40034;
inline constexpr int kFirstTheme = 210;
inline constexpr int kLastTheme = 218;
// Steps 1 to 4 make step (id - 1) current.
inline constexpr int kFirstStep = 1;
inline constexpr int kLastStep = 4;
} // namespace ShellCommands
