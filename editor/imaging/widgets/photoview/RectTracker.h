// The crop rectangle the user moves and sizes on the photo: a solid frame,
// eight handles outside it and a hatched inside. Free of widgets: the view
// hands it the mouse positions of a press, the moves and the release.
#pragma once

#include <QPoint>
#include <QRect>
#include <Qt>

class QPainter;

class RectTracker {
public:
    enum Hit { Nothing = -1, TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left, Inside };
    static constexpr int kHandleSize = 7;

    explicit RectTracker(QRect rect);

    // The rectangle with its edges in order (a drag may have turned it inside out).
    QRect Rect() const;
    // The square of a handle, outside the rectangle; empty for Inside and Nothing.
    QRect HandleRect(Hit handle) const;
    // Handles first, then the inside.
    Hit HitTest(QPoint at) const;
    bool Contains(QPoint at) const { return HitTest(at) != Nothing; }
    static Qt::CursorShape CursorFor(Hit hit);

    // A press on the tracker starts a drag (the inside moves the rectangle,
    // a handle moves its edges with the mouse, past the opposite edge when
    // the mouse goes there); false when the press is not on the tracker.
    bool BeginDrag(QPoint at);
    void DragTo(QPoint at);
    void EndDrag();
    bool Dragging() const { return m_drag != Nothing; }

    void Draw(QPainter& painter) const;

private:
    // Window-style edges: right and bottom one past the last pixel.
    int m_left, m_top, m_right, m_bottom;
    Hit m_drag = Nothing;
    QPoint m_press;
    int m_startLeft = 0, m_startTop = 0, m_startRight = 0, m_startBottom = 0;
};
