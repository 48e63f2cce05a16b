#include "editor/imaging/widgets/photoview/CropTool.h"

#include "editor/imaging/widgets/photoview/ViewPlacement.h"

#include <QPainter>

void CropTool::Enter(QRect drawn)
{
    m_active = true;
    if (!m_tracker)
        m_tracker.emplace(ViewPlacement::MiddleThird(drawn));
}

void CropTool::Leave()
{
    m_active = false;
    m_tracker.reset();
}

bool CropTool::Press(QPoint at)
{
    if (!m_active || !m_tracker)
        return false;
    if (m_tracker->BeginDrag(at))
        return true;
    m_active = false;
    return false;
}

void CropTool::Move(QPoint at)
{
    if (m_tracker)
        m_tracker->DragTo(at);
}

void CropTool::Release()
{
    if (m_tracker)
        m_tracker->EndDrag();
}

bool CropTool::DoubleClick(QPoint at)
{
    if (!m_active || !m_tracker || !m_tracker->Contains(at))
        return false;
    const QRect r = m_tracker->Rect();
    if (r.isEmpty())
        return false;
    emit CropRequested(ImageOps::EdgeRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    return true;
}

std::optional<Qt::CursorShape> CropTool::CursorAt(QPoint at) const
{
    if (!m_active || !m_tracker)
        return std::nullopt;
    const RectTracker::Hit hit = m_tracker->HitTest(at);
    if (hit == RectTracker::Nothing)
        return std::nullopt;
    return RectTracker::CursorFor(hit);
}

void CropTool::Paint(QPainter& painter) const
{
    if (m_active && m_tracker)
        m_tracker->Draw(painter);
}
