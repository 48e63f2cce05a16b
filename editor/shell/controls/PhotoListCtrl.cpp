#include "PhotoListCtrl.h"

#include "ShellTheme.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <iterator>
#include <optional>

namespace {

constexpr QRgb kBandTint = qRgb(49, 106, 197);
constexpr int kBandWeight = 80;
constexpr QRgb kSelectedTint = qRgb(0, 0, 128);
constexpr int kSelectedWeight = 100;
const QColor kFocusLabel(161, 50, 50);
const QColor kFrame(128, 128, 128);
constexpr int kShadowDepth = 4;
// More changed cells than this repaint the whole view.
constexpr int kCellRepaintLimit = 64;

std::optional<PhotoListSelection::Key> KeyOf(int key)
{
    using K = PhotoListSelection::Key;
    switch (key) {
    case Qt::Key_Left: return K::Left;
    case Qt::Key_Right: return K::Right;
    case Qt::Key_Up: return K::Up;
    case Qt::Key_Down: return K::Down;
    case Qt::Key_Home: return K::Home;
    case Qt::Key_End: return K::End;
    case Qt::Key_PageUp: return K::PageUp;
    case Qt::Key_PageDown: return K::PageDown;
    case Qt::Key_Delete: return K::Delete;
    default: return std::nullopt;
    }
}

} // namespace

CPhotoListCtrl::CPhotoListCtrl(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_layout(PhotoListLayout::LabelHeightFor(fontMetrics()))
{
    setAccessibleName(tr("Thumbnail list"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    verticalScrollBar()->setSingleStep(1);
    m_selection.focusChanged = [this](int oldIndex, int newIndex) { FocusMoved(oldIndex, newIndex); };
    UpdateScrollBar();
}

CPhotoListCtrl::~CPhotoListCtrl()
{
    m_selection.focusChanged = nullptr;
    for (PhotoListItem* item : m_items)
        CPhotoListCtrl::DeleteItem(item);
    m_items.clear();
}

// ---- items ---------------------------------------------------------------

PhotoListItem* CPhotoListCtrl::Append(const QString& label, const QImage& picture, int flag, std::any ownerData,
                                      int iconIndex)
{
    auto* item = new PhotoListItem{label, QString(), flag, picture, std::move(ownerData), 0, 0, 0, iconIndex};
    AppendItem(item);
    return item;
}

PhotoListItem* CPhotoListCtrl::AppendCopy(const PhotoListItem& record)
{
    auto* item = new PhotoListItem(record);
    AppendItem(item);
    return item;
}

void CPhotoListCtrl::AppendItem(PhotoListItem* item)
{
    m_items.push_back(item);
    ItemsAdded();
}

void CPhotoListCtrl::ItemsAdded()
{
    UpdateScrollBar();
    viewport()->update();
    OnItemsChanged();
}

PhotoListItem* CPhotoListCtrl::InsertNew(int index, const QString& label, const QImage& picture, int flag,
                                         std::any ownerData)
{
    auto* item = new PhotoListItem{label, QString(), flag, picture, std::move(ownerData), 0, 0, 0, -1};
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, item);
    viewport()->update();
    OnItemsChanged();
    return item;
}

void CPhotoListCtrl::InsertBefore(PhotoListItem* item, const PhotoListItem* target)
{
    const auto it = std::find(m_items.begin(), m_items.end(), target);
    if (it == m_items.end())
        return;
    m_items.insert(it, item);
    viewport()->update();
}

bool CPhotoListCtrl::Remove(PhotoListItem* item, bool free)
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it == m_items.end())
        return false;
    m_items.erase(it);
    if (free)
        delete item;
    UpdateScrollBar();
    viewport()->update();
    OnItemsChanged();
    return true;
}

void CPhotoListCtrl::RemoveAll(bool repaint)
{
    const std::vector<int> before = Selection();
    std::vector<PhotoListItem*> items;
    items.swap(m_items);
    for (PhotoListItem* item : items)
        DeleteItem(item);
    m_selection.ClearSelection();
    UpdateScrollBar();
    if (repaint)
        viewport()->update();
    if (!before.empty() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
    }
    OnItemsChanged();
}

PhotoListItem* CPhotoListCtrl::ItemAt(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)] : nullptr;
}

int CPhotoListCtrl::IndexOf(const PhotoListItem* item) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void CPhotoListCtrl::DeleteItem(PhotoListItem* item)
{
    delete item;
}

// ---- selection -----------------------------------------------------------

void CPhotoListCtrl::Select(int index, bool toggle)
{
    const std::vector<int> before = Selection();
    m_selection.Select(index, toggle);
    SelectionChanged(before);
}

void CPhotoListCtrl::ClearSelection()
{
    const std::vector<int> before = Selection();
    m_selection.ClearSelection();
    SelectionChanged(before);
}

void CPhotoListCtrl::SelectAll()
{
    const std::vector<int> before = Selection();
    m_selection.SelectAll(Count());
    SelectionChanged(before);
}

void CPhotoListCtrl::SetFocusItem(int index)
{
    m_selection.SetFocusItem(index);
}

void CPhotoListCtrl::DeleteCommand()
{
    if (m_selection.SelectedCount() > 0)
        emit DeleteRequested();
}

void CPhotoListCtrl::SelectionChanged(const std::vector<int>& before)
{
    const std::vector<int>& after = Selection();
    if (before == after)
        return;
    std::vector<int> added, removed;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
    std::vector<int> changed = added;
    changed.insert(changed.end(), removed.begin(), removed.end());
    RepaintCells(changed);
    if (!QAccessible::isActive())
        return;
    if (changed.size() > size_t(kCellRepaintLimit)) {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
        return;
    }
    for (const auto& [indices, type] : {std::pair{&added, QAccessible::SelectionAdd},
                                        std::pair{&removed, QAccessible::SelectionRemove}})
        for (int index : *indices) {
            QAccessibleEvent event(this, type);
            event.setChild(index);
            QAccessible::updateAccessibility(&event);
        }
}

void CPhotoListCtrl::RepaintCells(const std::vector<int>& indices)
{
    if (indices.size() > size_t(kCellRepaintLimit)) {
        viewport()->update();
        return;
    }
    for (int index : indices)
        if (index >= 0 && index < Count())
            viewport()->update(CellRect(index).adjusted(-1, -1, kShadowDepth + 1, kShadowDepth + 1));
}

void CPhotoListCtrl::FocusMoved(int oldIndex, int newIndex)
{
    RepaintCells({oldIndex, newIndex});
    OnFocusChanged(oldIndex, newIndex);
    if (newIndex >= 0 && hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(newIndex);
        QAccessible::updateAccessibility(&event);
    }
}

// ---- scrolling -----------------------------------------------------------

void CPhotoListCtrl::UpdateScrollBar()
{
    if (m_selection.SyncItemCount(Count()))
        m_scrollY = 0;
    m_scrollY = m_layout.ClampScroll(m_scrollY, Count());
    const PhotoListLayout::ScrollBar bar = m_layout.ScrollBarFor(m_scrollY, Count());
    const int unit = PhotoListLayout::ScrollUnit;
    m_updatingBar = true;
    QScrollBar* scroll = verticalScrollBar();
    scroll->setRange(0, (m_layout.MaxScroll(Count()) + unit - 1) / unit);
    scroll->setPageStep(std::max(1, bar.page));
    scroll->setValue(bar.position);
    scroll->setEnabled(bar.enabled);
    m_updatingBar = false;
}

void CPhotoListCtrl::ScrollBy(int pixels)
{
    const int old = m_scrollY;
    m_scrollY = m_layout.ClampScroll(m_scrollY + pixels, Count());
    UpdateScrollBar();
    if (m_scrollY != old)
        viewport()->scroll(0, old - m_scrollY);
}

void CPhotoListCtrl::scrollContentsBy(int, int)
{
    // Arrows, page clicks and the thumb of the bar, in its units.
    if (m_updatingBar)
        return;
    ScrollBy(verticalScrollBar()->value() * PhotoListLayout::ScrollUnit - m_scrollY);
}

void CPhotoListCtrl::EnsureVisible(int index)
{
    ScrollBy(m_layout.EnsureVisible(index, m_scrollY, Count()) - m_scrollY);
}

void CPhotoListCtrl::ScrollToEnd()
{
    m_scrollY = m_layout.MaxScroll(Count());
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoListCtrl::wheelEvent(QWheelEvent* event)
{
    ScrollBy(m_layout.WheelPixels(event->angleDelta().y()));
    event->accept();
}

// ---- geometry ------------------------------------------------------------

int CPhotoListCtrl::TextWidth(int index) const
{
    return m_layout.LabelsShown() ? fontMetrics().horizontalAdvance(m_items[size_t(index)]->label) : 0;
}

int CPhotoListCtrl::HitTest(QPoint client) const
{
    return m_layout.HitTest(client, m_scrollY, Count(), [this](int index) { return TextWidth(index); });
}

QRect CPhotoListCtrl::LabelRect(int index) const
{
    return index >= 0 && index < Count() ? m_layout.LabelRect(CellRect(index), TextWidth(index)) : QRect();
}

void CPhotoListCtrl::SetThumbnailSize(int width, int height)
{
    m_layout.SetThumbnailSize(QSize(width, height));
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoListCtrl::SetLabelsShown(bool shown)
{
    m_layout.SetLabelsShown(shown);
    m_layout.SetThumbnailSize(m_layout.Thumbnail());
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoListCtrl::SetColumnGap(int gap)
{
    m_layout.SetColumnGap(gap);
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoListCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize client = viewport()->size();
    m_layout.SetClientSize(client);
    if (client.width() > 0 && client.height() > 0)
        m_buffer = QImage(client, QImage::Format_RGB32);
    UpdateScrollBar();
}

// ---- painting ------------------------------------------------------------

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
        const QRect label = m_layout.LabelRect(cell, TextWidth(index));
        const QRect inner = label.adjusted(1, 1, -1, -1);
        if (selected)
            painter.fillRect(inner, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(selected && hasFocus() ? QPalette::HighlightedText : QPalette::WindowText));
        DrawLabelText(painter, PhotoListLayout::ElidedLabel(painter.fontMetrics(), item->label, label.width()), label,
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

void CPhotoListCtrl::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RepaintCells(Selection());
    if (FocusItem() >= 0 && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(FocusItem());
        QAccessible::updateAccessibility(&focus);
    }
}

void CPhotoListCtrl::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    RepaintCells(Selection());
}

// ---- keyboard ------------------------------------------------------------

void CPhotoListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_bandActive) {
        if (event->key() == Qt::Key_Escape) {
            const std::vector<int> before = Selection();
            m_selection.BandCancel();
            StopBand();
            SelectionChanged(before);
        } else if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control) {
            const Qt::KeyboardModifier held = event->key() == Qt::Key_Control ? Qt::ControlModifier : Qt::ShiftModifier;
            BandMoveTo(m_lastMouse, event->modifiers() | held);
        }
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    const auto key = KeyOf(event->key());
    if (!key) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const std::vector<int> before = Selection();
    const auto result = m_selection.PressKey(*key, event->modifiers(), Count(), m_layout);
    SelectionChanged(before);
    if (result.notifyDelete)
        emit DeleteRequested();
    if (result.scrollBy != 0)
        ScrollBy(result.scrollBy);
    if (result.ensureVisible >= 0)
        EnsureVisible(result.ensureVisible);
}

void CPhotoListCtrl::keyReleaseEvent(QKeyEvent* event)
{
    if (m_bandActive && (event->key() == Qt::Key_Control || event->key() == Qt::Key_Shift)) {
        const Qt::KeyboardModifier released = event->key() == Qt::Key_Control ? Qt::ControlModifier : Qt::ShiftModifier;
        BandMoveTo(m_lastMouse, event->modifiers() & ~released);
    } else
        QAbstractScrollArea::keyReleaseEvent(event);
}

// ---- mouse ---------------------------------------------------------------

void CPhotoListCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    const int hit = HitTest(p);
    const std::vector<int> before = Selection();
    const auto result = m_selection.PressLeft(hit, event->modifiers(), Content(p));
    SelectionChanged(before);
    m_lastMouse = m_pressPoint = p;
    if (result.bandStarted) {
        m_bandPressed = true;
        return;
    }
    if (result.pendingDrag) {
        m_pendingDrag = true;
        OnItemPressed(ItemAt(hit), p.x(), p.y(), result.several);
    }
}

void CPhotoListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_lastMouse = p;
    if (m_bandPressed && !m_bandActive) {
        if (!(event->buttons() & Qt::LeftButton)) {
            m_bandPressed = false;
            return;
        }
        if ((p - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
            return;
        m_bandActive = true;
        m_bandModifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        m_selection.BandBegin();
        m_autoScroll.start(kAutoScrollMs, this);
    }
    if (m_bandActive) {
        if (!(event->buttons() & Qt::LeftButton)) { // the button went up elsewhere: cancel
            const std::vector<int> before = Selection();
            m_selection.BandCancel();
            StopBand();
            SelectionChanged(before);
            return;
        }
        BandMoveTo(p, event->modifiers());
        return;
    }
    if (m_pendingDrag && event->buttons() == Qt::LeftButton && FocusItem() >= 0) {
        PhotoListItem* item = ItemAt(HitTest(p));
        OnItemDragged(item ? item : ItemAt(FocusItem()), p.x(), p.y(), m_selection.SelectedCount() > 1);
    }
}

void CPhotoListCtrl::BandMoveTo(QPoint client, Qt::KeyboardModifiers modifiers)
{
    // Only Shift and Ctrl count; a change of either re-evaluates the band
    // from scratch.
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier;
    const std::vector<int> before = Selection();
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers != m_bandModifiers)
        m_selection.BandModifiersChanged(Content(client), ctrl, Count(), m_layout);
    else
        m_selection.BandMove(Content(client), ctrl, Count(), m_layout);
    m_bandModifiers = modifiers;
    SelectionChanged(before);
    viewport()->update();
}

void CPhotoListCtrl::StopBand()
{
    m_autoScroll.stop();
    m_bandActive = false;
    m_bandPressed = false;
    viewport()->update();
}

void CPhotoListCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_autoScroll.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    const int distance = m_layout.AutoScrollDistance(m_lastMouse);
    if (distance == 0)
        return;
    const std::vector<int> before = Selection();
    m_selection.BandMove(Content(m_lastMouse), m_bandModifiers & Qt::ControlModifier, Count(), m_layout);
    SelectionChanged(before);
    ScrollBy(distance);
    viewport()->update();
}

void CPhotoListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    if (m_bandActive) {
        m_selection.BandEnd();
        StopBand();
        return;
    }
    m_bandPressed = false;
    ReleaseItem(p);
    const std::vector<int> before = Selection();
    m_selection.ReleaseLeft(HitTest(p), event->modifiers());
    SelectionChanged(before);
}

void CPhotoListCtrl::ReleaseItem(QPoint p)
{
    if (!m_pendingDrag)
        return;
    if (FocusItem() >= 0) {
        PhotoListItem* item = ItemAt(HitTest(p));
        OnItemReleased(item ? item : ItemAt(FocusItem()), p.x(), p.y(), m_selection.SelectedCount() > 1);
    }
    m_pendingDrag = false;
    m_marker = {};
    viewport()->update();
}

void CPhotoListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (PhotoListItem* item = ItemAt(FocusItem()))
        OnItemActivated(item);
    emit ItemDoubleClicked(FocusItem());
}

void CPhotoListCtrl::OnItemDragged(PhotoListItem*, int x, int y, bool)
{
    const QPoint p(x, y);
    m_marker = m_selection.MarkerAt(p, HitTest(p), m_scrollY, Count(), m_layout);
    viewport()->update();
}

void CPhotoListCtrl::ShowContextMenu(QMenu* menu, QPoint globalPos)
{
    OnContextMenu(menu);
    menu->exec(globalPos);
}
