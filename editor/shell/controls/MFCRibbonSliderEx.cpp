#include "MFCRibbonSliderEx.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace VIRSUAL_CONTROLS {

CMFCRibbonSliderEx::CMFCRibbonSliderEx(int id, int minimum, int maximum)
    : CRibbonElement(id), m_min(minimum), m_max(std::max(minimum, maximum)), m_pos(minimum)
{
}

void CMFCRibbonSliderEx::SetRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    SetPos(m_pos);
    Redraw();
}

void CMFCRibbonSliderEx::SetPos(int pos)
{
    pos = std::clamp(pos, m_min, m_max);
    if (pos == m_pos)
        return;
    m_pos = pos;
    Redraw();
    PosChanged();
}

void CMFCRibbonSliderEx::SetRect(const QRect& rect)
{
    CRibbonElement::SetRect(rect);
    PosChanged();
}

QRect CMFCRibbonSliderEx::ChannelRect() const
{
    const QRect r = Rect();
    return QRect(r.left() + kThumbWidth / 2, r.top() + r.height() / 2 - 2, std::max(1, r.width() - kThumbWidth), 4);
}

QRect CMFCRibbonSliderEx::ThumbRect() const
{
    const QRect channel = ChannelRect();
    const int span = std::max(1, m_max - m_min);
    const int centre = channel.left() + int(std::lround(double(m_pos - m_min) * (channel.width() - 1) / span));
    return QRect(centre - kThumbWidth / 2, Rect().top() + 1, kThumbWidth, std::max(1, Rect().height() - 2));
}

CMFCRibbonSliderEx::Part CMFCRibbonSliderEx::PartAt(const QPoint& point) const
{
    if (ThumbRect().contains(point))
        return Part::Thumb;
    return Rect().contains(point) ? Part::Channel : Part::None;
}

int CMFCRibbonSliderEx::PosAt(int x) const
{
    const QRect channel = ChannelRect();
    if (channel.width() <= 1)
        return m_min;
    const double fraction = std::clamp(double(x - channel.left()) / (channel.width() - 1), 0.0, 1.0);
    return m_min + int(std::lround(fraction * (m_max - m_min)));
}

void CMFCRibbonSliderEx::Paint(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect channel = ChannelRect();
    painter.setPen(QColor(141, 178, 227));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(channel).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    const QRectF thumb = QRectF(ThumbRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(thumb.topLeft(), thumb.bottomLeft());
    const bool warm = IsEnabled() && (IsHot() || IsPressed());
    fill.setColorAt(0, warm ? QColor(255, 254, 218) : QColor(246, 250, 255));
    fill.setColorAt(1, warm ? QColor(255, 216, 81) : QColor(191, 218, 255));
    painter.setPen(IsEnabled() ? QColor(90, 130, 190) : QColor(170, 176, 186));
    painter.setBrush(fill);
    painter.drawRoundedRect(thumb, 2, 2);
}

void CMFCRibbonSliderEx::OnMouseDown(const QPoint& point)
{
    m_pressedPart = PartAt(point);
}

void CMFCRibbonSliderEx::OnMouseMove(const QPoint& point)
{
    if (m_pressedPart != Part::Thumb)
        return;
    const int before = m_pos;
    SetPos(PosAt(point.x()));
    if (m_pos != before)
        NotifyCommand();
}

void CMFCRibbonSliderEx::OnMouseUp(const QPoint& point)
{
    const Part pressed = m_pressedPart;
    m_pressedPart = Part::None;
    if (pressed == Part::None)
        return;
    if (pressed == Part::Thumb) {
        if (Rect().contains(point))
            NotifyCommand();
        return;
    }
    if (PartAt(point) != Part::None) {
        SetPos(PosAt(point.x()));
        NotifyCommand();
    }
}

} // namespace VIRSUAL_CONTROLS
