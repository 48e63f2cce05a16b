// The edit panes' pictures, drawn in code: one 32 x 32 picture per tool.
#pragma once

#include <QPixmap>

namespace PaneArt {

enum class Picture { RedEye, Crop, RotateLeft, RotateRight, Mirror, Reset, Brightness, Contrast, ApplyToAll };

QPixmap Draw(Picture picture);

} // namespace PaneArt
