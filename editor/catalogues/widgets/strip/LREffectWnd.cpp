#include "LREffectWnd.h"

#include "StripAccessible.h"
#include "editor/core/AlbumModel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace QemControls {

namespace {
using Cell = StripLayout::Cell;

Cell CellOf(CLREffectWnd::Kind kind)
{
    return kind == CLREffectWnd::Kind::Photo ? Cell::Photo : Cell::Transition;
}
} // namespace

CLREffectWnd::CLREffectWnd(AlbumModel& album, QWidget* parent)
    : QWidget(parent)
    , m_album(album)
{
    InstallStripAccessibility();
    setObjectName(QStringLiteral("EffectWnd"));
    setAccessibleName(tr("Transition strip"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::ArrowCursor);
    m_repeat.setInterval(kRepeatMs);
    m_dragScroll.setInterval(kDragScrollMs);
    connect(&m_repeat, &QTimer::timeout, this, &CLREffectWnd::ArrowRepeat);
    connect(&m_dragScroll, &QTimer::timeout, this, &CLREffectWnd::DragScrollTick);
    connect(&album, &AlbumModel::PhotoInserted, this, &CLREffectWnd::ModelChanged);
    connect(&album, &AlbumModel::PhotoRemoved, this, &CLREffectWnd::PhotoRemoved);
    connect(&album, &AlbumModel::Reordered, this, &CLREffectWnd::ModelChanged);
    connect(&album, &AlbumModel::Cleared, this, &CLREffectWnd::ModelChanged);
    connect(&album, &AlbumModel::ThumbnailChanged, this, [this] { update(); });
    connect(&album, &AlbumModel::EffectChanged, this, &CLREffectWnd::EffectChanged);
    m_layout.SetCount(album.Count());
    m_lastCurrent = album.CurrentIndex();
}

CLREffectWnd::~CLREffectWnd() = default;

int CLREffectWnd::CurrentIndex() const
{
    return m_album.CurrentIndex();
}

bool CLREffectWnd::HasCurrentCell(int index, Kind kind) const
{
    if (!m_album.IsValidIndex(index))
        return false;
    const LrItem& item = m_album.Item(index);
    return (kind == Kind::Photo ? item.photoState : item.effectState) == LrItem::Current;
}

void CLREffectWnd::ModelChanged()
{
    m_layout.SetCount(m_album.Count());
    m_lastCurrent = m_album.CurrentIndex();
    update();
}

void CLREffectWnd::PhotoRemoved(int index)
{
    const bool wasCurrent = m_lastCurrent == index;
    ModelChanged();
    // The current photo went: its neighbour (the next, or the previous one
    // when it was the last) becomes current.
    if (wasCurrent && m_album.Count() > 0)
        Select(std::min(index, m_album.Count() - 1), Kind::Photo);
}

void CLREffectWnd::EffectChanged(int index)
{
    update();
    // A new effect on the current transition is previewed again.
    if (!m_exchanging && index == m_album.CurrentIndex() && HasCurrentCell(index, Kind::Transition))
        CurrentChanged(index, index);
}

void CLREffectWnd::ClearAllStates()
{
    for (int i = 0; i < m_album.Count(); ++i)
        m_album.SetCellStates(i, LrItem::Normal, LrItem::Normal);
}

void CLREffectWnd::Select(int index, Kind kind)
{
    const int old = m_album.CurrentIndex();
    if (old != index)
        BeforeCurrentChange(old, index);
    if (m_album.IsValidIndex(old) && (HasCurrentCell(old, Kind::Photo) || HasCurrentCell(old, Kind::Transition)))
        m_album.SetCellStates(old, LrItem::Normal, LrItem::Normal);
    else
        ClearAllStates();
    if (!m_album.IsValidIndex(index)) {
        m_album.SetCurrentIndex(-1);
        m_lastCurrent = -1;
        update();
        return;
    }
    m_album.SetCellStates(index, kind == Kind::Photo ? LrItem::Current : LrItem::Normal,
                          kind == Kind::Transition ? LrItem::Current : LrItem::Normal);
    m_album.SetCurrentIndex(index);
    m_lastCurrent = index;
    m_layout.EnsureVisible(index);
    CurrentChanged(old, index);
    update();
}

bool CLREffectWnd::ScrollOneSlot(int arrow)
{
    const bool scrolled = m_layout.Scroll(arrow);
    update();
    return scrolled;
}

void CLREffectWnd::SetDropTarget(int index)
{
    if (m_dropTarget == index && m_dropKind == Kind::Transition)
        return;
    m_dropTarget = index;
    m_dropKind = Kind::Transition;
    update();
}

void CLREffectWnd::ClearDropTarget()
{
    if (m_dropTarget < 0)
        return;
    m_dropTarget = -1;
    update();
}

void CLREffectWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layout.SetCount(m_album.Count());
    m_layout.SetSize(width(), height());
}

void CLREffectWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A drag whose release never came (the window lost the mouse) ends here.
    if (m_dragging)
        EndDrag();
    setFocus(Qt::MouseFocusReason);
    m_arrowHeld = false;
    const QPoint p = event->position().toPoint();
    const int zone = m_layout.ArrowZone(p);
    if (zone != -1) {
        m_arrowZone = zone;
        m_arrowHeld = true;
        if (!m_repeat.isActive()) {
            m_scrolled = false;
            m_repeat.start();
        }
        update();
        return;
    }
    const StripLayout::Hit hit = m_layout.HitCell(p);
    const int old = m_album.CurrentIndex();
    if (old != hit.index)
        BeforeCurrentChange(old, hit.index);
    if (m_album.IsValidIndex(old))
        ClearAllStates();
    m_album.SetCurrentIndex(-1);
    m_lastCurrent = -1;
    if (hit.cell != Cell::None) {
        const int i = hit.index;
        const Kind kind = hit.cell == Cell::Photo ? Kind::Photo : Kind::Transition;
        m_album.SetCellStates(i, kind == Kind::Photo ? LrItem::Current : LrItem::Normal,
                              kind == Kind::Transition ? LrItem::Current : LrItem::Normal);
        m_pressed = i;
        m_pressedKind = kind;
        m_dragPending = true;
        m_album.SetCurrentIndex(i);
        m_lastCurrent = i;
        CurrentChanged(-1, i);
        // What the hook did may have moved the item away from the cursor.
        if (m_layout.HitCell(p).index != i)
            m_dragPending = false;
    }
    update();
}

void CLREffectWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        DragMove(p);
        return;
    }
    if (m_dragPending && event->buttons() == Qt::LeftButton && m_pressed >= 0) {
        m_dragPending = false;
        m_dragging = true;
        setCursor(Qt::DragMoveCursor);
        DragMove(p);
    }
}

void CLREffectWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_dragging) {
        DragRelease(event->position().toPoint());
        return;
    }
    m_dragPending = false;
    m_pressed = -1;
    if (m_repeat.isActive()) {
        m_repeat.stop();
        // A click scrolls exactly one slot.
        if (!m_scrolled)
            m_layout.Scroll(m_arrowZone);
    }
    m_arrowZone = -1;
    m_arrowHeld = false;
    update();
}

void CLREffectWnd::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_repeat.stop();
    m_arrowHeld = false;
    m_arrowZone = -1;
    if (m_dragging)
        EndDrag();
}

void CLREffectWnd::ArrowRepeat()
{
    if (!m_arrowHeld)
        return;
    m_scrolled = true;
    m_layout.Scroll(m_arrowZone);
    update();
}

void CLREffectWnd::DragMove(QPoint p)
{
    m_lastDragPoint = p;
    const int zone = m_layout.ArrowZone(p);
    if (zone != -1) {
        m_dragZone = zone;
        if (!m_dragScroll.isActive())
            m_dragScroll.start();
        return;
    }
    m_dragScroll.stop();
    m_dragZone = -1;
    const StripDragRules::Marks marks = StripDragRules::WhileMoving(
        m_pressed, CellOf(m_pressedKind), m_layout.HitCell(p), m_layout.HitGap(p), m_album.Count());
    m_dropTarget = marks.dropTarget;
    m_dropKind = m_pressedKind;
    m_insertion = marks.insertion;
    m_insertionAfter = marks.insertionAfter;
    update();
}

void CLREffectWnd::DragScrollTick()
{
    if (!m_dragging || m_layout.ArrowZone(m_lastDragPoint) == -1) {
        m_dragScroll.stop();
        return;
    }
    m_layout.Scroll(m_dragZone);
    update();
}

void CLREffectWnd::DragRelease(QPoint p)
{
    const int pressed = m_pressed;
    const Kind kind = m_pressedKind;
    const StripDragRules::Outcome outcome = StripDragRules::OnRelease(
        pressed, CellOf(kind), m_layout.HitCell(p), m_layout.HitGap(p), m_album.Count());
    EndDrag();
    switch (outcome.action) {
    case StripDragRules::Outcome::ExchangePhotos:
    case StripDragRules::Outcome::ExchangeTransitions: {
        const bool photos = outcome.action == StripDragRules::Outcome::ExchangePhotos;
        m_exchanging = true;
        if (photos)
            m_album.ExchangePhotos(outcome.from, outcome.to);
        else
            m_album.ExchangeTransitions(outcome.from, outcome.to);
        m_exchanging = false;
        // The pressed record's current cell went with it to the target.
        const LrItem& left = m_album.Item(outcome.from);
        m_album.SetCellStates(outcome.from, photos ? LrItem::Normal : left.photoState,
                              photos ? left.effectState : LrItem::Normal);
        m_album.SetCurrentIndex(outcome.to);
        m_lastCurrent = outcome.to;
        AfterExchange(outcome.to, outcome.from, photos ? Kind::Photo : Kind::Transition);
        if (photos)
            RefreshAfterPhotoMove();
        else
            RefreshAfterTransitionExchange();
        break;
    }
    case StripDragRules::Outcome::Move:
        m_album.MovePhoto(outcome.from, outcome.to);
        // The moved photo keeps its current cell.
        m_album.SetCurrentIndex(outcome.to);
        m_lastCurrent = outcome.to;
        RefreshAfterPhotoMove();
        break;
    case StripDragRules::Outcome::Nothing:
        break;
    }
    update();
}

void CLREffectWnd::EndDrag()
{
    m_dragging = false;
    m_dragPending = false;
    m_pressed = -1;
    m_dragScroll.stop();
    m_dragZone = -1;
    m_dropTarget = -1;
    m_insertion = -1;
    m_insertionAfter = false;
    setCursor(Qt::ArrowCursor);
}

} // namespace QemControls
