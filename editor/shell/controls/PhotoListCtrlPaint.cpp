// Painting of the thumbnail list: the visible cells into a back buffer the
// size of the client area, then one copy to the screen.
#include "PhotoListCtrl.h"

#include "ShellTheme.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr QRgb kBandTint = qRgb(49, 106, 197);
constexpr int kBandWeight = 80;
constexpr QRgb kSelectedTint = qRgb(0, 0, 128);
constexpr int kSelectedWeight = 100;
const QColor kFocusLabel(161, 50, 50);
const QColor kFrame(128, 128, 128);

} // namespace

void CPhotoListCtrl::paintEvent(QPaintEvent* event)
{
    if (m_buffer.isNull())
        return;
    const QRect dirty = event->rect().intersected(m_buffer.rect());
    {
        QPainter painter(&m_buffer);
        painter.setClipRect(dirty);
        painter.fillRect(dirty, ShellTheme::Current().Colours().face);
        painter.setFont(font());
        for (int index : m_layout.VisibleItems(m_scrollY, Count())) {
            const QRect cell = CellRect(index);
            if (cell.adjusted(-1, -1, kShadowDepth + 1, kShadowDepth + 1).intersects(dirty))
                DrawCell(painter, index, dirty);
        }
        if (m_bandActive) {
            const QRect band = m_selection.BandRect().translated(0, -m_scrollY);
            PhotoListLayout::Tint(m_buffer, band.intersected(dirty), kBandTint, kBandWeight);
            painter.setPen(QColor(kBandTint));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(band.adjusted(0, 0, -1, -1));
        }
    }
    QPainter screen(viewport());
    screen.drawImage(dirty, m_buffer, dirty);
    if (m_pendingDrag && m_markerEnabled && m_marker.kind != PhotoListSelection::MarkerKind::None)
        DrawDropMarker(screen, PhotoListSelection::MarkerRect(m_marker, m_scrollY, Count(), m_layout));
}

void CPhotoListCtrl::DrawCell(QPainter& painter, int index, const QRect& dirty)
{
    PhotoListItem* item = m_items[size_t(index)];
    const QRect cell = CellRect(index);
    const bool selected = IsSelected(index);
    const int state = (selected ? Selected : 0) | (index == FocusItem() ? Focused : 0);
    if (m_layout.LabelsShown()) {
        DrawLabelBackground(painter, cell, state);
        const int textWidth = TextWidth(index);
        const QRect label = m_layout.LabelRect(cell, textWidth);
        const QRect inner = label.adjusted(1, 1, -1, -1);
        if (selected)
            painter.fillRect(inner, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(selected && hasFocus() ? QPalette::HighlightedText : QPalette::WindowText));
        const QString text = textWidth <= label.width()
                                 ? item->label
                                 : PhotoListLayout::ElidedLabel(painter.fontMetrics(), item->label, label.width());
        DrawLabelText(painter, text, label,
                      Qt::AlignCenter | Qt::TextSingleLine);
        if (state & Focused) {
            painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(label.adjusted(0, 0, -1, -1));
        }
    }
    const QRect area = m_layout.PictureArea(cell);
    painter.fillRect(area, m_cellBackground);
    DrawItemPicture(painter, item, area);
    if (selected)
        PhotoListLayout::Tint(m_buffer, area.intersected(dirty), kSelectedTint,
                              kSelectedWeight);
    DrawItemOverlay(painter, area, index);
    if (!m_frameDrawn)
        return;
    const QRect frame = selected ? area.adjusted(1, 1, -1, -1) : area;
    painter.setPen(kFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    // Shadow on the right and bottom, lighter further out.
    for (int d = 0; d < kShadowDepth; ++d) {
        painter.setPen(QColor(0, 0, 0, 90 - 20 * d));
        const int right = frame.x() + frame.width() + d, bottom = frame.y() + frame.height() + d;
        painter.drawLine(right, frame.y() + kShadowDepth, right, bottom);
        painter.drawLine(frame.x() + kShadowDepth, bottom, right - 1, bottom);
    }
}

QImage CPhotoListCtrl::GetItemPicture(PhotoListItem* item)
{
    return item->picture;
}

void CPhotoListCtrl::DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea)
{
    const QImage picture = GetItemPicture(item);
    if (picture.isNull())
        return;
    const QRect target = GetPictureRect(pictureArea);
    if (picture.hasAlphaChannel())
        painter.drawImage(target, picture.convertToFormat(QImage::Format_RGB32));
    else
        painter.drawImage(target, picture);
}

void CPhotoListCtrl::DrawLabelBackground(QPainter& painter, const QRect& cell, int state)
{
    const ShellColours& colours = ShellTheme::Current().Colours();
    const int top = cell.y() + m_layout.Thumbnail().height();
    const QRect band(cell.x(), top, cell.width(), cell.y() + cell.height() - top);
    QLinearGradient gradient(band.topLeft(), band.bottomLeft());
    gradient.setColorAt(0, (state & Focused) ? kFocusLabel : colours.darkEdge);
    gradient.setColorAt(1, colours.lightEdge);
    painter.fillRect(band, gradient);
}

void CPhotoListCtrl::DrawLabelText(QPainter& painter, const QString& text, const QRect& rect, int flags)
{
    painter.drawText(rect, flags, text);
}

void CPhotoListCtrl::DrawDropMarker(QPainter& painter, const QRect& marker)
{
    for (const QRect& part : PhotoListLayout::MarkerShape(marker))
        painter.fillRect(part, palette().color(QPalette::Highlight));
}
