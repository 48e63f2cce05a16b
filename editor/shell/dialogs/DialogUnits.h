// Dialog units to pixels for the shell's small dialogs: the dialogs keep the
// proportions they were designed in, with a dialog-unit of 1.5 pixels across
// and 1.625 pixels down (the base units of an 8-point dialog font).
#pragma once

#include <QSize>

namespace DialogUnits {

constexpr int X(int units) { return (units * 3 + 1) / 2; }
constexpr int Y(int units) { return (units * 13 + 4) / 8; }
constexpr QSize Size(int width, int height) { return {X(width), Y(height)}; }

} // namespace DialogUnits
