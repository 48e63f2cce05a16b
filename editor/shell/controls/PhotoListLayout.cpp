#include "PhotoListLayout.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

// Integer division rounding towards minus infinity, for points above the area.
int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

int PhotoListLayout::LabelHeightFor(const QFontMetrics& metrics)
{
    const int height = metrics.height();
    return height + (height % 2) + 4;
}

QString PhotoListLayout::ElidedLabel(const QFontMetrics& metrics, const QString& label, int width)
{
    return metrics.elidedText(label, Qt::ElideRight, std::max(0, width), Qt::TextSingleLine);
}

PhotoListLayout::PhotoListLayout(int labelHeight)
    : m_labelHeight(labelHeight)
{
    SetThumbnailSize(QSize(96, 96));
}

void PhotoListLayout::SetThumbnailSize(QSize thumbnail)
{
    m_thumbnail = thumbnail;
    m_cell = QSize(thumbnail.width() + 6, thumbnail.height() + 10 + (m_labelsShown ? m_labelHeight : 0));
}

QRect PhotoListLayout::Area() const
{
    return QRect(Margin, Margin, std::max(0, m_client.width() - 2 * Margin), std::max(0, m_client.height() - 2 * Margin));
}

int PhotoListLayout::ColumnCount() const
{
    const int pitch = Pitch();
    if (pitch <= 0)
        return 1;
    return std::max(1, (m_client.width() - 2 * Margin) / pitch);
}

int PhotoListLayout::RowCount(int count) const
{
    if (count <= 0)
        return 0;
    const int columns = ColumnCount();
    return (count + columns - 1) / columns;
}

int PhotoListLayout::PageRows() const
{
    return m_cell.height() > 0 ? std::max(1, Area().height() / m_cell.height()) : 1;
}

QRect PhotoListLayout::CellRect(int index) const
{
    const int columns = ColumnCount();
    const int x = (index % columns) * Pitch() + Margin;
    const int y = (index / columns) * m_cell.height() + Margin;
    return QRect(x + CellInset, y + CellInset, m_cell.width() - 2 * CellInset, m_cell.height() - 2 * CellInset);
}

QRect PhotoListLayout::LabelRect(const QRect& cell, int textWidth) const
{
    const int w0 = std::max(0, textWidth);
    const int w = w0 + (w0 % 2) + LabelPadding;
    const int cellRight = cell.x() + cell.width();
    const int centre = (cell.x() + cellRight) / 2;
    const int left = std::max(cell.x(), centre - w / 2);
    const int right = std::min(cellRight, centre - w / 2 + w);
    const int bottom = cell.y() + cell.height() - 2;
    return QRect(left, bottom - m_labelHeight, std::max(0, right - left), m_labelHeight);
}

QRect PhotoListLayout::PictureArea(const QRect& cell) const
{
    const int cellBottom = cell.y() + cell.height();
    const int bottom = m_labelsShown ? cellBottom - 2 - m_labelHeight - 2 : cellBottom - (m_labelHeight - 2);
    return QRect(cell.x(), cell.y(), cell.width(), std::max(0, bottom - cell.y()));
}

QRect PhotoListLayout::PictureRect(const QRect& area) const
{
    return QRect(area.topLeft(), QSize(std::min(m_thumbnail.width(), area.width()), std::min(m_thumbnail.height(), area.height())));
}

int PhotoListLayout::HitTest(QPoint p, int scrollY, int count, const std::function<int(int)>& textWidth) const
{
    if (!Area().contains(p) || m_cell.height() <= 0 || Pitch() <= 0)
        return -1;
    const int columns = ColumnCount();
    const int row = (p.y() + scrollY - Margin) / m_cell.height();
    const int column = (p.x() - Margin) / Pitch();
    if (column >= columns)
        return -1;
    const int index = column + row * columns;
    if (index < 0 || index >= count)
        return -1;
    const QRect cell = CellRect(index, scrollY);
    if (!cell.contains(p))
        return -1;
    const QRect label = LabelRect(cell, textWidth ? textWidth(index) : 0);
    if (label.contains(p) || p.y() < label.y() - 2)
        return index;
    return -1;
}

PhotoListLayout::VisibleRange PhotoListLayout::Visible(int scrollY, int count) const
{
    VisibleRange range;
    const int rows = RowCount(count);
    if (rows == 0 || m_client.isEmpty() || m_cell.height() <= 0)
        return range;
    const int columns = ColumnCount();
    const int top = scrollY, bottom = scrollY + m_client.height() - 1; // last pixel row shown
    range.firstRow = std::clamp(FloorDiv(top - Margin, m_cell.height()), 0, rows - 1);
    range.lastRow = std::clamp(FloorDiv(bottom - Margin, m_cell.height()), 0, rows - 1);
    range.firstColumn = 0;
    range.lastColumn = std::clamp(FloorDiv(m_client.width() - 1 - Margin, Pitch()), 0, columns - 1);
    if (FloorDiv(bottom - Margin, m_cell.height()) < 0 || FloorDiv(top - Margin, m_cell.height()) >= rows)
        range.lastRow = range.firstRow - 1; // the client shows no row at all
    return range;
}

std::vector<int> PhotoListLayout::VisibleItems(int scrollY, int count) const
{
    std::vector<int> items;
    const VisibleRange range = Visible(scrollY, count);
    if (range.IsEmpty())
        return items;
    const int columns = ColumnCount();
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            const int index = row * columns + column;
            if (index < count)
                items.push_back(index);
        }
    return items;
}

int PhotoListLayout::ContentHeight(int count) const
{
    return 2 * Margin + RowCount(count) * m_cell.height();
}

int PhotoListLayout::MaxScroll(int count) const
{
    // The last row ends one margin above the client's bottom edge.
    return std::max(0, ContentHeight(count) - m_client.height());
}

int PhotoListLayout::ClampScroll(int scrollY, int count) const
{
    return std::clamp(scrollY, 0, MaxScroll(count));
}

int PhotoListLayout::EnsureVisible(int index, int scrollY, int count) const
{
    if (index < 0 || index >= count)
        return ClampScroll(scrollY, count);
    const QRect cell = CellRect(index);
    const QRect area = Area();
    const int cellBottom = cell.y() + cell.height();
    int y = scrollY;
    if (cellBottom - y > area.y() + area.height())
        y = cellBottom - (area.y() + area.height());
    if (cell.y() - y < area.y())
        y = cell.y() - area.y();
    return ClampScroll(y, count);
}

int PhotoListLayout::AutoScrollDistance(QPoint client) const
{
    const QRect area = Area();
    const int bottom = area.y() + area.height();
    if (client.y() < area.y())
        return client.y() - area.y();
    if (client.y() > bottom)
        return client.y() - bottom;
    return 0;
}

PhotoListLayout::ScrollBar PhotoListLayout::ScrollBarFor(int scrollY, int count) const
{
    ScrollBar bar;
    bar.maximum = ContentHeight(count) / ScrollUnit;
    bar.page = Area().height() / ScrollUnit;
    bar.position = ClampScroll(scrollY, count) / ScrollUnit;
    bar.enabled = MaxScroll(count) > 0;
    return bar;
}

QRect PhotoListLayout::MarkerRect(const QRect& cell, bool rightOfCell) const
{
    const int left = rightOfCell ? cell.x() + cell.width() : cell.x() - MarkerWidth;
    return QRect(left, cell.y(), MarkerWidth, cell.height());
}

std::vector<QRect> PhotoListLayout::MarkerShape(const QRect& marker)
{
    const QRect r = marker.translated(0, -MarkerLift);
    const int bar = 4;
    return {QRect(r.x(), r.y(), r.width(), bar),
            QRect(r.x(), r.y() + r.height() - bar, r.width(), bar),
            QRect(r.x() + 1, r.y() + bar, std::max(0, r.width() - 2), std::max(0, r.height() - 2 * bar))};
}

QRgb PhotoListLayout::Tint(QRgb old, QRgb tint, int weight)
{
    const auto mix = [weight](int t, int o) { return t * weight / 256 + o * (255 - weight) / 256; };
    return qRgba(mix(qRed(tint), qRed(old)), mix(qGreen(tint), qGreen(old)), mix(qBlue(tint), qBlue(old)), qAlpha(old));
}

void PhotoListLayout::Tint(QImage& image, const QRect& rect, QRgb tint, int weight)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] = Tint(line[x], tint, weight);
    }
}
