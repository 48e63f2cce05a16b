// Painting of the transition strip: panel, frame, arrow zones, the visible
// slots with their drop-target blends and the insertion bars.
#include "LREffectWnd.h"

#include "editor/core/AlbumModel.h"

#include <QPainter>
#include <algorithm>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace QemControls {

namespace {

const QColor kHeldBlend(0, 128, 0, 80);
const QColor kPhotoTargetBlend(0, 128, 0, 80);
const QColor kTransitionTargetBlend(125, 0, 0, 100);
const QColor kInsertionBar(0, 0, 166, 100);

// The 15 x 15 arrow picture, pointing left (1) or right (2).
QImage ArrowPicture(int arrow, bool enabled, const QPalette& palette)
{
    QImage picture(15, 15, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (arrow == StripLayout::kLeftArrow) {
        path.moveTo(10.5, 2.5);
        path.lineTo(4.5, 7.5);
        path.lineTo(10.5, 12.5);
    } else {
        path.moveTo(4.5, 2.5);
        path.lineTo(10.5, 7.5);
        path.lineTo(4.5, 12.5);
    }
    path.closeSubpath();
    painter.fillPath(path, enabled ? palette.color(QPalette::WindowText)
                                   : palette.color(QPalette::Disabled, QPalette::WindowText).lighter(150));
    return picture;
}

} // namespace

void CLREffectWnd::paintEvent(QPaintEvent*)
{
    // Others may have set the current cell through the album (the step entry).
    m_lastCurrent = m_album.CurrentIndex();
    QPainter painter(this); // the widget back store is the double buffer
    const QRect client = rect();
    painter.fillRect(client, palette().color(QPalette::Window));
    const QRect frame(StripLayout::kArrowWidth, 0, width() - 2 * StripLayout::kArrowWidth, height());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    DrawArrows(painter);

    painter.save();
    painter.setClipRect(frame.adjusted(1, 1, -1, -1));
    const int first = m_layout.FirstVisible();
    const int last = std::min(m_album.Count(), first + m_layout.VisibleSlots());
    for (int i = first; i < last; ++i)
        DrawSlot(painter, i);
    for (int i = first; i < last; ++i)
        DrawInsertionMark(painter, i);
    painter.restore();
}

void CLREffectWnd::DrawArrows(QPainter& painter)
{
    for (const int arrow : {StripLayout::kLeftArrow, StripLayout::kRightArrow}) {
        const QRect zone = arrow == StripLayout::kLeftArrow
            ? QRect(0, 0, StripLayout::kArrowWidth, height())
            : QRect(width() - StripLayout::kArrowWidth, 0, StripLayout::kArrowWidth, height());
        const bool stopped = arrow == StripLayout::kLeftArrow ? m_layout.AtStart() : m_layout.AtEnd();
        painter.fillRect(zone, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(zone.topLeft(), zone.topRight());
        painter.drawLine(zone.topLeft(), zone.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(zone.bottomLeft(), zone.bottomRight());
        painter.drawLine(zone.topRight(), zone.bottomRight());
        if (m_arrowHeld && m_arrowZone == arrow && !stopped)
            painter.fillRect(zone.adjusted(1, 1, -1, -1), kHeldBlend);
        const QImage picture = ArrowPicture(arrow, !stopped, palette());
        painter.drawImage(zone.center() - QPoint(7, 7), picture);
    }
}

void CLREffectWnd::DrawCellBackground(QPainter& painter, const QRect& cell, int state)
{
    painter.fillRect(cell, palette().color(QPalette::Button));
    if (state != LrItem::Current)
        return;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(cell.adjusted(2, 2, -3, -3));
}

void CLREffectWnd::DrawSlot(QPainter& painter, int index)
{
    const LrItem& item = m_album.Item(index);
    const QRect photo = m_layout.PhotoCellOf(index);
    const bool photoTarget = m_dropTarget == index && m_dropKind == Kind::Photo;
    const bool transitionTarget = m_dropTarget == index && m_dropKind == Kind::Transition;
    DrawCellBackground(painter, photo, item.photoState);
    DrawPhotoPicture(painter, photo, index);
    if (photoTarget)
        painter.fillRect(photo, kPhotoTargetBlend);

    const QRect transition = m_layout.TransitionCellOf(index);
    DrawCellBackground(painter, transition, item.effectState);
    DrawEffectPicture(painter, transition, index);
    if (transitionTarget)
        painter.fillRect(transition, kTransitionTargetBlend);
    else if (photoTarget)
        painter.fillRect(transition, kPhotoTargetBlend);
}

void CLREffectWnd::DrawInsertionMark(QPainter& painter, int index)
{
    if (m_insertion != index)
        return;
    const QRect photo = m_layout.PhotoCellOf(index);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = photo;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    const int bottom = photo.y() + photo.height() + 5;
    int left;
    if (m_insertionAfter)
        left = photo.x() + photo.width() + 10 - 5;
    else
        left = photo.x() - (index == m_layout.FirstVisible() ? 5 : 10);
    painter.fillRect(QRect(left, 0, 5, bottom), kInsertionBar);
}

} // namespace QemControls
