// The faces shared by the shell's picture buttons: the framed warm gradient of
// the hot look and the red tint of the pressed look.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace ButtonFace {

inline const QColor kDefaultFace{213, 228, 242};
inline const QColor kHotUpperTop{255, 231, 149};
inline const QColor kHotUpperBottom{255, 254, 218};
inline const QColor kHotLowerTop{255, 216, 81};
inline const QColor kHotLowerBottom{255, 231, 151};
inline const QColor kHotFrame{194, 155, 61};
inline const QColor kPressedTint{255, 0, 0, 50};

// The upper third between the two upper colours, the lower two thirds
// between the two lower ones, framed.
void PaintHot(QPainter& painter, const QRect& rect);
// The tint over the face inset by 3 pixels horizontally and 1 vertically.
void PaintPressedTint(QPainter& painter, const QRect& rect);
QRect PressedTintRect(const QRect& rect);

} // namespace ButtonFace
