// The saver's background: the desktop picture smeared and darkened.
//
// Rows are taken in bottom-up order (row 0 is the picture's bottom row, as in
// a device-independent bitmap). With W4 and H4 the width and height cut down
// to multiples of 4, for every row y from 0 to H4 - 4 (advancing by 1) and
// every column x from 0 to W4 - 4 (advancing by 4) the 4 x 4 pixels at rows
// y..y+3, columns x..x+3 are replaced by their average, per channel the sum
// divided by 16 and truncated. Later blocks read the values earlier ones
// wrote, so the picture is smeared upwards and coarsened in steps of 4
// across. Then a solid colour red 0, green 0, blue 30 is blended over it with
// an opacity of 160 of 255: c = (160 * s + 95 * c) / 255, rounded to the
// nearest value.
#pragma once

#include <QImage>

namespace DesktopSmear {

// The smear alone, on a copy in Format_RGB32.
QImage Smear(const QImage& picture);
// The blend alone, on a copy in Format_RGB32.
QImage Darken(const QImage& picture);
// Smear, then blend: the saver's background.
QImage Background(const QImage& desktop);

} // namespace DesktopSmear
