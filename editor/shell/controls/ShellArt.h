// The shell's pictures (tab and button states, the application button, menu
// images, the splash picture, the application icon), drawn in code in the
// light-blue look so that they stay crisp at any device pixel ratio: each
// picture is drawn at its logical size times the ratio asked for and carries
// that ratio.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

class ShellArt {
public:
    enum class State { Normal, Hot, Pressed, Disabled };

    // A step tab, 97 pixels wide and `size` high: 0 normal, 1 selected, 2 hot.
    static QPixmap Tab(int image, QSize size, qreal dpr);
    // The 45 x 45 application button.
    static QPixmap AppButton(State state, qreal dpr);
    // The client view's buttons, 85 x 37, no caption: 310 Save, 311 Next, 312 Back.
    static QPixmap StepButton(int commandId, State state, qreal dpr);
    // The 72 x 16 toggle of the add-photos splitter: expand (down) or collapse (up).
    static QPixmap Toggle(bool expand, State state, qreal dpr);
    // The 16 x 16 picture of the "Existing Album" button.
    static QPixmap ExistingAlbum(qreal dpr);
    // The application menu's 32 x 32 images: 0 New, 1 Open, 2 Save, 3 Save As,
    // 14 Options, 15 Help, 16 About; other indices give an empty pixmap.
    static QPixmap MenuImage(int index, qreal dpr);
    // The 400 x 240 splash picture.
    static QPixmap Splash(qreal dpr);
    // The 16 x 16 information picture of the tip box.
    static QPixmap Information(qreal dpr);
    // The 32 x 32 pictures of the brightness (324) and contrast (325) buttons.
    static QPixmap SliderButton(int controlId, State state, qreal dpr);
    // The 16 x 16 waste bin of the storyboard's Delete button.
    static QPixmap DeleteGlyph(State state, qreal dpr);
    // The application icon in the usual sizes (16 to 256).
    static QIcon AppIcon();
};
