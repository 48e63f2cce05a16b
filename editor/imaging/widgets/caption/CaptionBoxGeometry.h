// The caption box's numbers, apart from the widget: where its text area and
// handles lie, what a press on it drags, how a drag moves or sizes it (never
// below 120 x 30), and how much it grows while the user types.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <Qt>

class CaptionBoxGeometry {
public:
    // What the next left press drags: the whole box or one of its handles.
    enum DragMode {
        Move = 2,
        Left = 10,
        Right = 11,
        Top = 12,
        TopLeft = 13,
        TopRight = 14,
        Bottom = 15,
        BottomLeft = 16,
        BottomRight = 17,
    };

    static constexpr int kMinWidth = 120;
    static constexpr int kMinHeight = 30;
    static constexpr int kInnerMargin = 4; // the text area lies this far inside the box
    static constexpr int kHandleSize = 4;
    static constexpr int kLongestLine = 255; // characters kept of one stored line

    // The empty box on the 480 x 360 editor canvas.
    static QRect DefaultBox() { return QRect(180, 300, kMinWidth, kMinHeight); }

    // The text area: the box's client area shrunk by 4 on every side.
    static QRect InnerRect(QSize client);
    // Where the text starts: the text area less its top 2 pixels, the place
    // the export draws the caption's lines at.
    static QRect TextRect(QSize client);
    // The dashed frame and the handles' centres: 2 pixels outside the text area.
    static QRect FrameRect(QSize client);
    // The 4 x 4 square of a handle (Move has none: an empty rectangle).
    static QRect HandleRect(QSize client, DragMode handle);
    // The handles in the order they are hit-tested.
    static constexpr DragMode kHandles[8] = {TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left};
    // A point on a handle drags that handle; any other point moves the box.
    static DragMode HitTest(QSize client, QPoint at);
    static Qt::CursorShape CursorFor(DragMode mode);

    // The box after a drag from `press` to `now` (both in the parent's
    // coordinates) that started with the box at `start`: a move shifts it by
    // the mouse movement, a handle puts its edges at the mouse; then the right
    // and bottom edges are pushed out until the box is at least 120 x 30.
    static QRect Dragged(QRect start, DragMode mode, QPoint press, QPoint now);

    // How much the box grows downwards after the text changed, from the edit's
    // text area (height and width), the height of a line, the number of lines,
    // the width of the last line and the width of one character (the width of
    // "Sample" / 6). Every line must be seen; and when the last line is full
    // (one more character would not fit) and there is no room for another
    // line, the box grows so that the next line has room.
    struct Typing {
        int areaHeight = 0;
        int areaWidth = 0;
        int lineHeight = 0;
        int lineCount = 0;
        int lastLineWidth = 0;
        int charWidth = 0;
    };
    static int Growth(const Typing& typing);

    // Lines as stored: each at most 255 characters.
    static QStringList StoredLines(const QStringList& shownLines);
};
