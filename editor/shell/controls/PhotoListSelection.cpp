#include "PhotoListSelection.h"

#include <algorithm>

bool PhotoListSelection::IsSelected(int index) const
{
    return std::binary_search(m_selected.begin(), m_selected.end(), index);
}

void PhotoListSelection::Select(int index, bool toggle)
{
    const auto it = std::lower_bound(m_selected.begin(), m_selected.end(), index);
    if (it != m_selected.end() && *it == index) {
        if (toggle)
            m_selected.erase(it);
        return;
    }
    m_selected.insert(it, index);
}

void PhotoListSelection::SelectAll(int count)
{
    m_selected.clear();
    for (int i = 0; i < count; ++i)
        m_selected.push_back(i);
}

void PhotoListSelection::DropFrom(int count)
{
    for (std::vector<int>* indices : {&m_selected, &m_beforeBand})
        indices->erase(std::lower_bound(indices->begin(), indices->end(), count), indices->end());
}

void PhotoListSelection::SetFocusItem(int index)
{
    if (index == m_focus)
        return;
    const int old = m_focus;
    m_focus = index;
    if (focusChanged)
        focusChanged(old, index);
}

bool PhotoListSelection::SyncItemCount(int count)
{
    bool reset = false;
    if (count != m_seenCount) {
        m_focus = -1;
        m_seenCount = count;
        reset = true;
    }
    if (m_focus != -1)
        Select(m_focus);
    return reset;
}

PhotoListSelection::KeyResult PhotoListSelection::PressKey(Key key, Qt::KeyboardModifiers modifiers, int count,
                                                           const PhotoListLayout& layout)
{
    KeyResult result;
    const int columns = layout.ColumnCount();
    int target = m_focus;
    switch (key) {
    case Key::Delete:
        result.notifyDelete = !m_selected.empty();
        return result;
    case Key::Left:
        target = m_focus != -1 ? std::max(0, m_focus - 1) : count - 1;
        break;
    case Key::Right:
        target = m_focus != -1 ? std::min(count - 1, m_focus + 1) : (count > 0 ? 0 : -1);
        break;
    case Key::Down:
        if (m_focus == -1)
            result.scrollBy = layout.Cell().height();
        else if (m_focus + columns < count)
            target = m_focus + columns;
        break;
    case Key::Up:
        if (m_focus == -1)
            result.scrollBy = -layout.Cell().height();
        else if (m_focus - columns >= 0)
            target = m_focus - columns;
        break;
    case Key::Home:
        target = count > 0 ? 0 : -1;
        break;
    case Key::End:
        target = count - 1;
        break;
    case Key::PageUp:
    case Key::PageDown: {
        const int sign = key == Key::PageDown ? 1 : -1;
        if (m_focus == -1) {
            result.scrollBy = sign * layout.PageRows() * layout.Cell().height();
            break;
        }
        target = std::clamp(m_focus + sign * layout.PageRows() * columns, 0, std::max(0, count - 1));
        break;
    }
    }
    if (target == m_focus || target < 0)
        return result;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (!ctrl)
        ClearSelection();
    Select(target, ctrl);
    SetFocusItem(target);
    result.ensureVisible = target;
    return result;
}

PhotoListSelection::PressResult PhotoListSelection::PressLeft(int b, Qt::KeyboardModifiers modifiers, QPoint content)
{
    PressResult result;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (b < 0) {
        if (!ctrl) {
            ClearSelection();
            SetFocusItem(-1);
        }
        m_band = true;
        m_anchor = m_end = content;
        result.bandStarted = true;
        return result;
    }
    if (m_selected.size() > 1 && !shift && !ctrl && !IsSelected(b)) {
        ClearSelection();
        Select(b);
        SetFocusItem(b);
    }
    if (!shift && !ctrl) {
        result.pendingDrag = true;
        result.several = m_selected.size() > 1;
    }
    if (m_focus != -1 && shift) {
        ClearSelection();
        for (int i = std::min(m_focus, b); i <= std::max(m_focus, b); ++i)
            m_selected.push_back(i);
    } else if (m_focus != -1 && ctrl) {
        Select(b, true);
    } else if (m_selected.size() > 1) {
        SetFocusItem(b);
    } else if (ctrl) {
        Select(b, true);
        SetFocusItem(b);
    } else {
        ClearSelection();
        Select(b);
        SetFocusItem(b);
    }
    return result;
}

void PhotoListSelection::ReleaseLeft(int b, Qt::KeyboardModifiers modifiers)
{
    // A press on empty space released before the band began.
    m_band = false;
    if (m_focus == -1)
        return;
    if (b == -1 || IsSelected(b) || m_selected.size() < 2 || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)))
        return;
    ClearSelection();
    Select(b);
    SetFocusItem(b);
}

QRect PhotoListSelection::BandRect() const
{
    return QRect(std::min(m_anchor.x(), m_end.x()), std::min(m_anchor.y(), m_end.y()),
                 std::abs(m_end.x() - m_anchor.x()), std::abs(m_end.y() - m_anchor.y()));
}

void PhotoListSelection::BandBegin()
{
    m_beforeBand = m_selected;
}

void PhotoListSelection::BandMove(QPoint content, bool ctrl, int count, const PhotoListLayout& layout)
{
    m_end = content;
    SelectBand(ctrl, count, layout);
}

void PhotoListSelection::BandModifiersChanged(QPoint content, bool ctrl, int count, const PhotoListLayout& layout)
{
    m_beforeBand.clear();
    BandMove(content, ctrl, count, layout);
}

void PhotoListSelection::SelectBand(bool ctrl, int count, const PhotoListLayout& layout)
{
    ClearSelection();
    if (ctrl)
        m_selected = m_beforeBand;
    const QRect band = BandRect();
    const int rows = layout.RowCount(count);
    if (rows == 0 || band.isEmpty())
        return;
    const int columns = layout.ColumnCount();
    const QSize cell = layout.Cell();
    const int minWidth = cell.width() / 3, minHeight = cell.height() / 3;
    const auto span = [](int from, int to, int step, int last) {
        const int a = std::clamp((from - PhotoListLayout::Margin) / step, 0, last);
        const int b = std::clamp((to - PhotoListLayout::Margin) / step, 0, last);
        return std::pair(a, b);
    };
    const auto [firstRow, lastRow] = span(std::max(0, band.y()), std::max(0, band.y() + band.height()), cell.height(), rows - 1);
    const auto [firstColumn, lastColumn] = span(std::max(0, band.x()), std::max(0, band.x() + band.width()), layout.Pitch(), columns - 1);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int index = row * columns + column;
            if (index >= count)
                continue;
            const QRect common = layout.CellRect(index).intersected(band);
            if (common.width() > minWidth && common.height() > minHeight)
                Select(index, ctrl);
        }
}

void PhotoListSelection::BandEnd()
{
    m_band = false;
}

void PhotoListSelection::BandCancel()
{
    m_selected = m_beforeBand;
    m_beforeBand.clear();
    m_band = false;
    SetFocusItem(-1);
}

PhotoListSelection::DropMarker PhotoListSelection::MarkerAt(QPoint client, int hit, int scrollY, int count,
                                                            const PhotoListLayout& layout) const
{
    DropMarker marker;
    marker.target = hit;
    if (count <= 0)
        return marker;
    if (hit < 0) {
        const QRect first = layout.CellRect(0, scrollY);
        const QRect last = layout.CellRect(count - 1, scrollY);
        if (client.y() < first.y())
            marker.kind = MarkerKind::BeforeFirst;
        else if (client.y() >= last.y() + last.height()
                 || (client.x() >= last.x() + last.width() && client.y() >= last.y()))
            marker.kind = MarkerKind::AfterLast;
        return marker;
    }
    if (IsSelected(hit))
        return marker;
    marker.kind = hit == 0 ? MarkerKind::BeforeFirst : MarkerKind::BeforeTarget;
    return marker;
}

QRect PhotoListSelection::MarkerRect(const DropMarker& marker, int scrollY, int count, const PhotoListLayout& layout)
{
    if (count <= 0)
        return {};
    switch (marker.kind) {
    case MarkerKind::None:
        return {};
    case MarkerKind::BeforeFirst:
        return layout.MarkerRect(layout.CellRect(0, scrollY), false);
    case MarkerKind::AfterLast:
        return layout.MarkerRect(layout.CellRect(count - 1, scrollY), true);
    case MarkerKind::BeforeTarget:
        if (marker.target < 0 || marker.target >= count)
            return {};
        return layout.MarkerRect(layout.CellRect(marker.target, scrollY), false);
    }
    return {};
}
