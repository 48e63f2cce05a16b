#include "StripLayout.h"

#include <algorithm>

void StripLayout::SetSize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_photoSize = height - 10;
    m_slotWidth = height / 2 + height + 15;
    DropFirstVisible();
    UpdateLimits();
}

void StripLayout::SetCount(int count)
{
    m_count = std::max(0, count);
    DropFirstVisible();
    UpdateLimits();
}

int StripLayout::VisibleSlots() const
{
    const int room = m_width - 2 * kArrowWidth;
    if (room <= 0 || m_slotWidth <= 0)
        return 0;
    return room / m_slotWidth + (room % m_slotWidth ? 1 : 0);
}

void StripLayout::DropFirstVisible()
{
    // An item removed from the end leaves the strip showing the last ones.
    if (m_first >= m_count)
        m_first = std::max(0, m_first - VisibleSlots());
    if (m_first >= m_count)
        m_first = std::max(0, m_count - 1);
}

void StripLayout::UpdateLimits()
{
    m_atEnd = m_width - 2 * kArrowWidth >= (m_count - m_first) * m_slotWidth;
    m_atStart = m_first <= 0;
}

QRect StripLayout::PhotoCell(int slot) const
{
    return QRect(25 + slot * m_slotWidth, 5, m_photoSize, m_photoSize);
}

QRect StripLayout::TransitionCell(int slot) const
{
    const QRect photo = PhotoCell(slot);
    const int side = m_photoSize / 2;
    return QRect(photo.x() + m_photoSize + 5, 5 + (m_photoSize - side) / 2, side, side);
}

bool StripLayout::IsVisible(int index) const
{
    return index >= m_first && index < m_first + VisibleSlots() && index < m_count;
}

int StripLayout::ArrowZone(QPoint p) const
{
    if (p.x() < kArrowWidth)
        return kLeftArrow;
    if (p.x() >= m_width - kArrowWidth)
        return kRightArrow;
    return -1;
}

StripLayout::Hit StripLayout::HitCell(QPoint p) const
{
    if (m_slotWidth <= 0)
        return {};
    const int slot = (p.x() - kArrowWidth) / m_slotWidth; // towards zero
    const int index = m_first + slot;
    if (slot < 0 || index >= m_count)
        return {};
    const QRect photo = PhotoCell(slot);
    if (photo.contains(p))
        return {index, Cell::Photo};
    const QRect transition = TransitionCell(slot);
    const QRect area(transition.x(), transition.y(), m_slotWidth / 2, transition.height());
    if (area.contains(p))
        return {index, Cell::Transition};
    return {};
}

StripLayout::Gap StripLayout::HitGap(QPoint p) const
{
    if (m_slotWidth <= 0)
        return {};
    const int slot = (p.x() - kArrowWidth) / m_slotWidth;
    const int index = m_first + slot;
    const bool inSlot = p.x() >= slot * m_slotWidth && p.x() < (slot + 1) * m_slotWidth && p.y() >= 5
        && p.y() < m_height + 5;
    if (inSlot)
        return index < m_count ? Gap{Gap::Before, index} : Gap{Gap::AfterLast, -1};
    if (slot <= 0 && m_first <= 0)
        return {Gap::Before, 0};
    if (m_first > 0)
        return {Gap::Before, index};
    return {};
}

bool StripLayout::Scroll(int arrow)
{
    if (arrow == kLeftArrow) {
        if (m_atStart)
            return false;
        m_first = std::max(0, m_first - 1);
    } else if (arrow == kRightArrow) {
        if (m_atEnd)
            return false;
        ++m_first;
    } else {
        return false;
    }
    UpdateLimits();
    return true;
}

void StripLayout::EnsureVisible(int index)
{
    if (index < 0 || index >= m_count)
        return;
    const int room = m_width - 2 * kArrowWidth;
    // Whole slots that fit; at least the item itself is shown.
    const int whole = std::max(1, m_slotWidth > 0 ? room / m_slotWidth : 1);
    if (index < m_first)
        m_first = index;
    else if (index >= m_first + whole)
        m_first = index - whole + 1;
    UpdateLimits();
}
