// Crop mode on the editor view: the crop tracker and what the mouse does with
// it. The tool only asks for the crop (CropRequested); the edit commands
// apply it. A click beside the tracker ends crop mode but keeps the tracker,
// so the next crop starts where this one was left.
#pragma once

#include "editor/imaging/ImageTransforms.h"
#include "editor/imaging/widgets/photoview/RectTracker.h"

#include <QObject>
#include <QRect>
#include <optional>

class QPainter;

class CropTool : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Crop mode on; without a tracker, one over the middle third of the
    // picture's drawn rectangle.
    void Enter(QRect drawn);
    // Crop mode off and the tracker gone.
    void Leave();
    bool Active() const { return m_active; }
    bool HasTracker() const { return m_tracker.has_value(); }
    QRect TrackerRect() const { return m_tracker ? m_tracker->Rect() : QRect(); }

    // A left press in crop mode: on the tracker it starts a drag (true);
    // beside it crop mode ends, the tracker stays (false). Outside crop mode
    // nothing (false).
    bool Press(QPoint at);
    void Move(QPoint at);
    void Release();
    bool Dragging() const { return m_tracker && m_tracker->Dragging(); }
    // A double-click in crop mode on the tracker asks for the crop of its
    // rectangle (nothing for an empty one); true when it asked.
    bool DoubleClick(QPoint at);

    // The cursor over the tracker in crop mode; none elsewhere.
    std::optional<Qt::CursorShape> CursorAt(QPoint at) const;
    void Paint(QPainter& painter) const;

signals:
    void CropRequested(ImageOps::EdgeRect viewRect);

private:
    bool m_active = false;
    std::optional<RectTracker> m_tracker;
};
