// A slider element in an ordinary window: a channel with a thumb. Dragging
// the thumb reports the command id to the host at each change; a release
// over the part that was pressed reports it too (a release on the channel
// first moves the thumb there).
#pragma once

#include "RibbonElement.h"

namespace VIRSUAL_CONTROLS {

class CMFCRibbonSliderEx : public CRibbonElement {
public:
    static constexpr int kThumbWidth = 10;

    enum class Part { None, Channel, Thumb };

    explicit CMFCRibbonSliderEx(int id, int minimum = 0, int maximum = 100);

    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }
    void SetRange(int minimum, int maximum);
    int Pos() const { return m_pos; }
    // Clamped to the range.
    void SetPos(int pos);

    // The channel (thumb centres run along it) and the thumb's rectangle.
    QRect ChannelRect() const;
    QRect ThumbRect() const;
    Part PartAt(const QPoint& point) const;
    // The position whose thumb centre is nearest to x.
    int PosAt(int x) const;

    void SetRect(const QRect& rect) override;
    void Paint(QPainter& painter) const override;
    void OnMouseDown(const QPoint& point) override;
    void OnMouseMove(const QPoint& point) override;
    void OnMouseUp(const QPoint& point) override;

protected:
    virtual void PosChanged() {}

private:
    int m_min, m_max;
    int m_pos;
    Part m_pressedPart = Part::None;
};

} // namespace VIRSUAL_CONTROLS
