#include "PhotoListCtrl.h"

#include "PhotoListAccessible.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <iterator>
#include <optional>

namespace {

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
    // Item-level events below need the list's own interface: make sure its
    // factory is there even when the program has not installed it yet.
    InstallPhotoListAccessibility();
    setAccessibleName(tr("Thumbnail list"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &CPhotoListCtrl::ScrollBarAction);
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
    const std::vector<int> before = Selection();
    m_selection.DropFrom(Count());
    SelectionChanged(before);
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
    AnnouncePhotoListSelection(this, {}, before);
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
    AnnouncePhotoListSelection(this, added, removed);
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
    if (hasFocus())
        AnnouncePhotoListFocus(this, newIndex);
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

void CPhotoListCtrl::ScrollBarAction(int action)
{
    // Lines and pages move by pixels from the current position; the thumb
    // sets the position in bar units.
    const int unit = PhotoListLayout::ScrollUnit;
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: ScrollBy(unit); break;
    case QAbstractSlider::SliderSingleStepSub: ScrollBy(-unit); break;
    case QAbstractSlider::SliderPageStepAdd: ScrollBy(bar->pageStep() * unit); break;
    case QAbstractSlider::SliderPageStepSub: ScrollBy(-bar->pageStep() * unit); break;
    case QAbstractSlider::SliderToMinimum: ScrollBy(-m_scrollY); break;
    case QAbstractSlider::SliderToMaximum: ScrollBy(m_layout.MaxScroll(Count()) - m_scrollY); break;
    case QAbstractSlider::SliderMove: ScrollBy(bar->sliderPosition() * unit - m_scrollY); break;
    default: return;
    }
    bar->setSliderPosition(bar->value()); // the bar follows the list, not its own step
}

void CPhotoListCtrl::scrollContentsBy(int, int)
{
    // A value set on the bar from outside, in its units.
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
    // Measuring text is the dearest part of a paint; labels repeat their
    // width until the font changes.
    if (!m_layout.LabelsShown())
        return 0;
    const QString& label = m_items[size_t(index)]->label;
    const auto known = m_textWidths.constFind(label);
    if (known != m_textWidths.cend())
        return *known;
    if (m_textWidths.size() > kTextWidthsKept)
        m_textWidths.clear();
    return *m_textWidths.insert(label, fontMetrics().horizontalAdvance(label));
}

void CPhotoListCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    m_textWidths.clear();
    m_layout.SetLabelHeight(PhotoListLayout::LabelHeightFor(fontMetrics()));
    m_layout.SetThumbnailSize(m_layout.Thumbnail());
    UpdateScrollBar();
    viewport()->update();
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

void CPhotoListCtrl::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RepaintCells(Selection());
    AnnouncePhotoListFocus(this, FocusItem());
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

QString CPhotoListCtrl::AccessibleName(int index) const
{
    const PhotoListItem* item = ItemAt(index);
    return item ? item->label : QString();
}

QString CPhotoListCtrl::AccessibleDescription(int index) const
{
    const PhotoListItem* item = ItemAt(index);
    return item ? item->path : QString();
}
