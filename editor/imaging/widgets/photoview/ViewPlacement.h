// Where the editor view draws a picture and where a new crop rectangle
// starts. The placement is the one the edit commands map view points with
// (ImageOps::CanvasPlacement), so a click lands on the pixel it shows.
#pragma once

#include <QRect>
#include <QSize>

namespace ViewPlacement {

constexpr int kWidth = 480;
constexpr int kHeight = 360;

// A picture wider than the canvas is scaled to 480 wide, then one still taller
// than the canvas to 360 high, both keeping the ratio; the result is centred
// (margins rounded down). Empty for an empty picture.
QRect DrawnRect(QSize picture);
// The drawn rectangle shrunk on each side by a third of its width and height.
QRect MiddleThird(QRect drawn);

} // namespace ViewPlacement
