#include "editor/imaging/widgets/photoview/RectTracker.h"

#include <QBrush>
#include <QPainter>
#include <algorithm>

RectTracker::RectTracker(QRect rect)
    : m_left(rect.left())
    , m_top(rect.top())
    , m_right(rect.left() + rect.width())
    , m_bottom(rect.top() + rect.height())
{
}

QRect RectTracker::Rect() const
{
    const int left = std::min(m_left, m_right);
    const int top = std::min(m_top, m_bottom);
    return QRect(left, top, std::max(m_left, m_right) - left, std::max(m_top, m_bottom) - top);
}

QRect RectTracker::HandleRect(Hit handle) const
{
    const QRect r = Rect();
    const int left = r.left() - kHandleSize;
    const int right = r.left() + r.width();
    const int top = r.top() - kHandleSize;
    const int bottom = r.top() + r.height();
    const int midX = r.left() + r.width() / 2 - kHandleSize / 2;
    const int midY = r.top() + r.height() / 2 - kHandleSize / 2;
    QPoint corner;
    switch (handle) {
    case TopLeft: corner = QPoint(left, top); break;
    case TopRight: corner = QPoint(right, top); break;
    case BottomRight: corner = QPoint(right, bottom); break;
    case BottomLeft: corner = QPoint(left, bottom); break;
    case Top: corner = QPoint(midX, top); break;
    case Right: corner = QPoint(right, midY); break;
    case Bottom: corner = QPoint(midX, bottom); break;
    case Left: corner = QPoint(left, midY); break;
    case Inside:
    case Nothing: return QRect();
    }
    return QRect(corner, QSize(kHandleSize, kHandleSize));
}

RectTracker::Hit RectTracker::HitTest(QPoint at) const
{
    for (Hit handle : {TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left}) {
        if (HandleRect(handle).contains(at))
            return handle;
    }
    return Rect().contains(at) ? Inside : Nothing;
}

Qt::CursorShape RectTracker::CursorFor(Hit hit)
{
    switch (hit) {
    case TopLeft:
    case BottomRight: return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft: return Qt::SizeBDiagCursor;
    case Top:
    case Bottom: return Qt::SizeVerCursor;
    case Left:
    case Right: return Qt::SizeHorCursor;
    case Inside: return Qt::SizeAllCursor;
    case Nothing: break;
    }
    return Qt::ArrowCursor;
}

bool RectTracker::BeginDrag(QPoint at)
{
    const Hit hit = HitTest(at);
    if (hit == Nothing)
        return false;
    // Start from the ordered rectangle, so a handle names the edge it shows.
    const QRect r = Rect();
    m_left = r.left();
    m_top = r.top();
    m_right = r.left() + r.width();
    m_bottom = r.top() + r.height();
    m_startLeft = m_left;
    m_startTop = m_top;
    m_startRight = m_right;
    m_startBottom = m_bottom;
    m_press = at;
    m_drag = hit;
    return true;
}

void RectTracker::DragTo(QPoint at)
{
    if (m_drag == Nothing)
        return;
    const int dx = at.x() - m_press.x();
    const int dy = at.y() - m_press.y();
    const bool left = m_drag == TopLeft || m_drag == BottomLeft || m_drag == Left || m_drag == Inside;
    const bool right = m_drag == TopRight || m_drag == BottomRight || m_drag == Right || m_drag == Inside;
    const bool top = m_drag == TopLeft || m_drag == TopRight || m_drag == Top || m_drag == Inside;
    const bool bottom = m_drag == BottomLeft || m_drag == BottomRight || m_drag == Bottom || m_drag == Inside;
    m_left = m_startLeft + (left ? dx : 0);
    m_right = m_startRight + (right ? dx : 0);
    m_top = m_startTop + (top ? dy : 0);
    m_bottom = m_startBottom + (bottom ? dy : 0);
}

void RectTracker::EndDrag()
{
    m_drag = Nothing;
    const QRect r = Rect();
    m_left = r.left();
    m_top = r.top();
    m_right = r.left() + r.width();
    m_bottom = r.top() + r.height();
}

void RectTracker::Draw(QPainter& painter) const
{
    painter.save();
    const QRect r = Rect();
    // Inverted hatching and lines are seen on any photo.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.setClipRect(r.adjusted(1, 1, -1, -1)); // inside the frame: no pixel inverted twice
    constexpr int kHatchGap = 8;
    for (int x = r.left() - r.height(); x < r.left() + r.width(); x += kHatchGap)
        painter.drawLine(x, r.top() + r.height(), x + r.height(), r.top());
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    for (Hit handle : {TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left})
        painter.fillRect(HandleRect(handle), Qt::black);
    painter.restore();
}
