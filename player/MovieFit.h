// Where the player puts its movie in a client area of W x H: a 4:3 area as
// high as the window when the window is wider than high (H < W), otherwise
// as wide as the window, centred. When H < W < H * 4 / 3 the movie is wider
// than the window and is cut off at both sides (500 x 400 gives 533 x 400 at
// left -16).
#pragma once

#include <QRect>
#include <QSize>

namespace MovieFit {

QRect Place(QSize client);

} // namespace MovieFit
