// The transition strip of the edit step: one square cell per album photo, each
// followed by the smaller cell of the transition to the next photo, scrolled
// with arrow zones at both ends. The strip draws the album model's LrItem
// records (their cell states included) and changes the album only through the
// model. A click makes a cell current; dragging a cell exchanges photos or
// transitions or moves a photo into a gap. The drag runs as a state machine in
// the mouse events; timers scroll while an arrow zone is held.
//
// The editor hooks (current changed, before current changes, after exchange,
// the refreshes) do nothing here; CQemLREffectWnd fills them and the drawing.
#pragma once

#include "StripDragRules.h"
#include "StripLayout.h"

#include <QTimer>
#include <QWidget>

class AlbumModel;

namespace QemControls {

class CLREffectWnd : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Photo, Transition };
    static constexpr int kStripHeight = 96;
    static constexpr int kRepeatMs = 50;     // an arrow held scrolls a slot this often
    static constexpr int kDragScrollMs = 500; // a drag over an arrow zone scrolls this often

    explicit CLREffectWnd(AlbumModel& album, QWidget* parent = nullptr);
    ~CLREffectWnd() override;

    // Makes the cell of `kind` of item `index` the only current cell.
    void Select(int index, Kind kind);
    int CurrentIndex() const;
    // The current cell's kind, when item `index` has one.
    bool HasCurrentCell(int index, Kind kind) const;

    // The effects list marks the transition cell it would drop onto.
    void SetDropTarget(int index);
    void ClearDropTarget();
    int DropTarget() const { return m_dropTarget; }
    Kind DropTargetKind() const { return m_dropKind; }
    // The insertion bar while a photo is dragged: the item it stands at, -1 for none.
    int InsertionMark() const { return m_insertion; }
    bool InsertionAfter() const { return m_insertionAfter; }
    StripLayout::Hit HitTest(QPoint client) const { return m_layout.HitCell(client); }

    // One slot towards the start (1) or the end (2), as a click on that arrow.
    bool ScrollOneSlot(int arrow);

    const StripLayout& Layout() const { return m_layout; }
    AlbumModel& Album() const { return m_album; }
    bool Dragging() const { return m_dragging; }

signals:
    void PhotoCellCurrent(int index);
    void TransitionCellCurrent(int index);
    void BeforeCurrentChanges(int oldIndex, int newIndex);
    void PhotoMoved();

protected:
    // Editor hooks.
    virtual void CurrentChanged(int /*oldIndex*/, int /*newIndex*/) {}
    virtual void BeforeCurrentChange(int /*oldIndex*/, int /*newIndex*/) {}
    virtual void AfterExchange(int /*target*/, int /*pressed*/, Kind /*kind*/) {}
    virtual void RefreshAfterPhotoMove() {}
    virtual void RefreshAfterTransitionExchange() {}

    // Drawing of one cell; the defaults fill with the theme and frame a current cell.
    virtual void DrawCellBackground(QPainter& painter, const QRect& cell, int state);
    virtual void DrawPhotoPicture(QPainter&, const QRect& /*cell*/, int /*index*/) {}
    virtual void DrawEffectPicture(QPainter&, const QRect& /*cell*/, int /*index*/) {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ModelChanged();
    void PhotoRemoved(int index);
    void EffectChanged(int index);
    void ClearAllStates();
    void ArrowRepeat();
    void DragScrollTick();
    void DragMove(QPoint p);
    void DragRelease(QPoint p);
    void EndDrag();
    void DrawArrows(QPainter& painter);
    void DrawSlot(QPainter& painter, int index);
    void DrawInsertionMark(QPainter& painter, int index);

    AlbumModel& m_album;
    StripLayout m_layout;
    // Press and drag state.
    int m_pressed = -1;
    Kind m_pressedKind = Kind::Photo;
    bool m_dragPending = false;
    bool m_dragging = false;
    int m_arrowZone = -1;
    bool m_arrowHeld = false;
    bool m_scrolled = false;
    int m_dragZone = -1;
    QPoint m_lastDragPoint;
    QTimer m_repeat;
    QTimer m_dragScroll;
    // Marks shown while dragging (not album state).
    int m_dropTarget = -1;
    Kind m_dropKind = Kind::Transition;
    int m_insertion = -1;
    bool m_insertionAfter = false;
    bool m_exchanging = false;
    int m_lastCurrent = -1;
};

} // namespace QemControls
