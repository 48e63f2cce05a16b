// The arrow windows' rules, free of widgets: the 20-pixel arrow bands at the
// left and right edges of the client area, which arrow a point is on, when a
// release fires a click, where an arrow's picture goes inside its band, where
// the photo edit window places its 480 x 360 view, and the arrow pictures
// themselves (11 x 65, drawn in code).
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace ArrowRules {

constexpr int kNone = -1;
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kBand = 20;                 // width of each arrow band
constexpr QSize kPictureSize{11, 65};     // the arrow pictures
constexpr QSize kViewSize{480, 360};      // the hosted photo view
constexpr int kViewSlot = 500;            // horizontal room the view is centred in

// The client rectangle without the two arrow bands (empty when too narrow).
QRect ContentRect(const QRect& client);

// The band of one arrow: 20 pixels wide over the full client height.
QRect ArrowBox(const QRect& client, int arrow);

// Which arrow the point is on: kLeft in the left band, kRight in the right
// band, otherwise kNone (also outside the client rectangle).
int HitTest(const QRect& client, const QPoint& point);

// Whether releasing the mouse with `pressed` as the pressed arrow clicks it:
// only an enabled arrow ever fires.
bool ClickFires(int pressed, bool leftEnabled, bool rightEnabled);

// Top-left of an arrow picture in its box: centred when the box is at least
// one pixel larger than the picture each way (12 x 66), else the box's corner.
QPoint PicturePosition(const QRect& box, const QSize& picture = kPictureSize);

// The photo view's rectangle in the photo edit window: x = left + 20 +
// (width - 20 - 500) / 2, y = top + (height - 360) / 2, 480 x 360.
QRect PhotoViewRect(const QRect& client);

// The arrow picture: a chevron pointing left (kLeft) or right (kRight) on a
// transparent 11 x 65 image, in dark grey, or light grey when disabled.
QImage ArrowPicture(int arrow, bool enabled);

} // namespace ArrowRules
