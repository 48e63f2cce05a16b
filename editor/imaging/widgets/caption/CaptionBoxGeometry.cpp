#include "editor/imaging/widgets/caption/CaptionBoxGeometry.h"

#include <algorithm>

QRect CaptionBoxGeometry::InnerRect(QSize client)
{
    return QRect(QPoint(0, 0), client).adjusted(kInnerMargin, kInnerMargin, -kInnerMargin, -kInnerMargin);
}

QRect CaptionBoxGeometry::TextRect(QSize client)
{
    return InnerRect(client).adjusted(0, 2, 0, 0);
}

QRect CaptionBoxGeometry::FrameRect(QSize client)
{
    return InnerRect(client).adjusted(-2, -2, 2, 2);
}

QRect CaptionBoxGeometry::HandleRect(QSize client, DragMode handle)
{
    // Edges of the frame as a window rectangle (right and bottom exclusive).
    const QRect frame = FrameRect(client);
    const int left = frame.left();
    const int top = frame.top();
    const int right = frame.left() + frame.width();
    const int bottom = frame.top() + frame.height();
    const int midX = (left + right) / 2;
    const int midY = (top + bottom) / 2;
    QPoint centre;
    switch (handle) {
    case TopLeft: centre = QPoint(left, top); break;
    case Top: centre = QPoint(midX, top); break;
    case TopRight: centre = QPoint(right, top); break;
    case Right: centre = QPoint(right, midY); break;
    case BottomRight: centre = QPoint(right, bottom); break;
    case Bottom: centre = QPoint(midX, bottom); break;
    case BottomLeft: centre = QPoint(left, bottom); break;
    case Left: centre = QPoint(left, midY); break;
    case Move: return QRect();
    }
    return QRect(centre.x() - kHandleSize / 2, centre.y() - kHandleSize / 2, kHandleSize, kHandleSize);
}

CaptionBoxGeometry::DragMode CaptionBoxGeometry::HitTest(QSize client, QPoint at)
{
    for (DragMode handle : kHandles) {
        if (HandleRect(client, handle).contains(at))
            return handle;
    }
    return Move;
}

Qt::CursorShape CaptionBoxGeometry::CursorFor(DragMode mode)
{
    switch (mode) {
    case Left:
    case Right: return Qt::SizeHorCursor;
    case Top:
    case Bottom: return Qt::SizeVerCursor;
    case TopLeft:
    case BottomRight: return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft: return Qt::SizeBDiagCursor;
    case Move: break;
    }
    return Qt::SizeAllCursor;
}

QRect CaptionBoxGeometry::Dragged(QRect start, DragMode mode, QPoint press, QPoint now)
{
    // Window-style edges: right and bottom are one past the last pixel.
    int left = start.left();
    int top = start.top();
    int right = left + start.width();
    int bottom = top + start.height();
    const bool leftEdge = mode == Left || mode == TopLeft || mode == BottomLeft;
    const bool rightEdge = mode == Right || mode == TopRight || mode == BottomRight;
    const bool topEdge = mode == Top || mode == TopLeft || mode == TopRight;
    const bool bottomEdge = mode == Bottom || mode == BottomLeft || mode == BottomRight;
    if (mode == Move) {
        const QPoint by = now - press;
        left += by.x();
        right += by.x();
        top += by.y();
        bottom += by.y();
    }
    if (leftEdge)
        left = now.x();
    if (rightEdge)
        right = now.x();
    if (topEdge)
        top = now.y();
    if (bottomEdge)
        bottom = now.y();
    right = std::max(right, left + kMinWidth);
    bottom = std::max(bottom, top + kMinHeight);
    return QRect(left, top, right - left, bottom - top);
}

int CaptionBoxGeometry::Growth(const Typing& typing)
{
    if (typing.lineHeight <= 0 || typing.areaHeight < 0)
        return 0;
    int grow = std::max(0, typing.lineCount * typing.lineHeight - typing.areaHeight);
    const int height = typing.areaHeight + grow;
    const bool lastLineFull = typing.lastLineWidth + typing.charWidth > typing.areaWidth;
    if (lastLineFull && height < (typing.lineCount + 1) * typing.lineHeight)
        grow += typing.lineHeight - height % typing.lineHeight;
    return grow;
}

QStringList CaptionBoxGeometry::StoredLines(const QStringList& shownLines)
{
    QStringList lines;
    lines.reserve(shownLines.size());
    for (const QString& line : shownLines)
        lines << line.left(kLongestLine);
    return lines;
}
