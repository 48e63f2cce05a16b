// The decisions of the brightness and contrast slider buttons, apart from the
// widgets: the value the pop-up slider opens at, its range, where it appears,
// where the cursor is put, and writing the value back into the album when it
// closes.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class AlbumModel;

class PopSliderRules {
public:
    static constexpr int kBrightnessId = 324;
    static constexpr int kContrastId = 325;
    static constexpr int kHalfRange = 50;
    static constexpr QSize kSliderSize{100, 16};
    // Room kept between the cursor and the right end of the slider's channel.
    static constexpr int kCursorEndGap = 2;

    static bool IsAdjustment(int controlId) { return controlId == kBrightnessId || controlId == kContrastId; }

    // The current photo's brightness (324) or contrast (325) when its strip
    // cell is the current cell; 0 otherwise (no album, no current photo,
    // another control id).
    static int StartValue(int controlId, const AlbumModel* album);
    static int Minimum(int value) { return value - kHalfRange; }
    static int Maximum(int value) { return value + kHalfRange; }

    // The slider's rectangle (global coordinates): at the button's bottom
    // edge, centred on it, never left of the screen's left edge.
    static QRect Placement(const QRect& buttonGlobal, const QRect& screen);
    // Where the cursor goes: the slider's vertical middle, half-way along,
    // at most kCursorEndGap pixels before the channel's right end (global x).
    static QPoint CursorPoint(const QRect& sliderGlobal, int channelRightGlobal);

    // Writes `value` into the current photo's brightness or contrast field
    // (the other field unchanged). False, and nothing written, for other ids
    // or when there is no current photo.
    static bool WriteBack(AlbumModel* album, int controlId, int value);
};
