#include "editor/shell/storyboard/PhotoUserList.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/shell/storyboard/StoryboardDrop.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

// The list's own record of an item: the album photo it shows, that photo's
// thumbnail handle and the cache picture the item's scaled copy was made from.
struct StoryboardEntry {
    const PhotoItem* photo = nullptr;
    ThumbHandle handle = 0;
    qint64 sourceKey = 0;
};

StoryboardEntry* EntryOf(PhotoListItem* item)
{
    return item ? std::any_cast<StoryboardEntry>(&item->ownerData) : nullptr;
}

const StoryboardEntry* EntryOf(const PhotoListItem* item)
{
    return item ? std::any_cast<StoryboardEntry>(&item->ownerData) : nullptr;
}

// Files come in as copies: the album refers to them, nothing is moved.
void AcceptCopy(QDropEvent* event)
{
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

} // namespace

CPhotoUserList::CPhotoUserList(EditorContext& context, QWidget* parent)
    : CPhotoListCtrl(parent), m_context(context), m_album(context.Album()), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("PhotoUserList"));
    setAccessibleName(QStringLiteral("Storyboard"));
    SetLabelsShown(false);
    SetDropMarkerEnabled(true);
    SetThumbnailSize(kThumbnailSide, kThumbnailSide);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    m_menu->setAccessibleName(QStringLiteral("Storyboard menu"));
    m_deleteAction = m_menu->addAction(QStringLiteral("Delete"));
    m_menu->addSeparator();
    m_editAction = m_menu->addAction(QStringLiteral("Edit"));
    m_deleteAction->setData(kDeleteMenuCommand);
    m_editAction->setData(kEditCommand);
    connect(m_deleteAction, &QAction::triggered, this, &CPhotoUserList::DeleteSelected);
    connect(m_editAction, &QAction::triggered, this, &CPhotoUserList::EditFocus);
    connect(this, &CPhotoListCtrl::DeleteRequested, this, &CPhotoUserList::DeleteSelected);

    connect(&m_album, &AlbumModel::PhotoInserted, this, &CPhotoUserList::PhotoInserted);
    connect(&m_album, &AlbumModel::PhotoRemoved, this, &CPhotoUserList::PhotoRemoved);
    connect(&m_album, &AlbumModel::Reordered, this, &CPhotoUserList::Reordered);
    connect(&m_album, &AlbumModel::Cleared, this, [this] { RemoveAll(); });
    connect(&m_album, &AlbumModel::ThumbnailChanged, this, &CPhotoUserList::ThumbnailChanged);
    Rebuild();
}

CPhotoUserList::~CPhotoUserList() = default;

const PhotoItem* CPhotoUserList::PhotoAt(int index) const
{
    const StoryboardEntry* entry = EntryOf(static_cast<const PhotoListItem*>(ItemAt(index)));
    return entry ? entry->photo : nullptr;
}

// ---- following the album ----------------------------------------------------

PhotoListItem CPhotoUserList::NewRecord(int albumIndex) const
{
    const PhotoItem* photo = m_album.Photo(albumIndex);
    PhotoListItem record;
    record.label = photo->label;
    record.ownerData = StoryboardEntry{photo, photo->thumbnail, 0};
    return record; // the picture is made when the cell is first drawn
}

void CPhotoUserList::Rebuild()
{
    const Kept kept = Keep();
    RemoveAll(false);
    for (int i = 0; i < m_album.Count(); ++i)
        AppendCopy(NewRecord(i));
    Restore(kept);
    viewport()->update();
}

void CPhotoUserList::PhotoInserted(int index)
{
    if (Count() + 1 != m_album.Count()) {
        Rebuild();
        return;
    }
    const Kept kept = Keep();
    const PhotoListItem record = NewRecord(index);
    InsertNew(index, record.label, record.picture, 0, record.ownerData);
    UpdateScrollBar();
    Restore(kept);
}

void CPhotoUserList::PhotoRemoved(int index)
{
    if (Count() - 1 != m_album.Count() || !ItemAt(index)) {
        Rebuild();
        return;
    }
    const Kept kept = Keep(); // the removed photo's record is only compared, never read
    Remove(ItemAt(index), true);
    Restore(kept);
}

void CPhotoUserList::Reordered()
{
    if (Count() != m_album.Count()) {
        Rebuild();
        return;
    }
    // The items stay, their contents follow the album order: the count does
    // not change, so the scroll position and the focus survive.
    const Kept kept = Keep();
    std::vector<PhotoListItem> records;
    for (int i = 0; i < Count(); ++i)
        records.push_back(*ItemAt(i));
    std::vector<PhotoListItem> ordered;
    for (int i = 0; i < m_album.Count(); ++i) {
        const auto it = std::find_if(records.begin(), records.end(), [&](const PhotoListItem& record) {
            return EntryOf(&record)->photo == m_album.Photo(i);
        });
        if (it == records.end()) {
            Rebuild();
            return;
        }
        ordered.push_back(*it);
    }
    for (int i = 0; i < Count(); ++i)
        *ItemAt(i) = ordered[size_t(i)];
    Restore(kept);
    viewport()->update();
}

void CPhotoUserList::ThumbnailChanged(int index)
{
    if (StoryboardEntry* entry = EntryOf(ItemAt(index))) {
        entry->handle = m_album.Photo(index)->thumbnail;
        entry->sourceKey = 0;
        viewport()->update(CellRect(index).adjusted(-1, -1, kShadowDepth + 1, kShadowDepth + 1));
    }
}

CPhotoUserList::Kept CPhotoUserList::Keep() const
{
    Kept kept;
    for (int index : Selection())
        kept.selected.push_back(PhotoAt(index));
    kept.focus = FocusItem() >= 0 ? PhotoAt(FocusItem()) : nullptr;
    kept.scrollY = ScrollY();
    return kept;
}

void CPhotoUserList::Restore(const Kept& kept)
{
    std::vector<int> selection;
    int focus = -1;
    for (int i = 0; i < Count(); ++i) {
        const PhotoItem* photo = PhotoAt(i);
        if (std::find(kept.selected.begin(), kept.selected.end(), photo) != kept.selected.end())
            selection.push_back(i);
        if (kept.focus && photo == kept.focus)
            focus = i;
    }
    SetSelection(selection, focus);
    ScrollBy(kept.scrollY - ScrollY());
}

void CPhotoUserList::SetSelection(const std::vector<int>& indices, int focus)
{
    ClearSelection();
    for (int index : indices)
        Select(index);
    SetFocusItem(focus);
}

// ---- pictures and cells -----------------------------------------------------

QImage CPhotoUserList::GetItemPicture(PhotoListItem* item)
{
    StoryboardEntry* entry = EntryOf(item);
    if (!entry)
        return item->picture;
    const QImage source = m_context.Thumbnails().PictureOf(entry->handle);
    if (source.isNull())
        return item->picture;
    const PhotoListLayout& layout = Layout();
    const QSize wanted = layout.PictureRect(layout.PictureArea(layout.CellRect(0))).size();
    if (source.cacheKey() != entry->sourceKey || item->picture.size() != wanted) {
        item->picture = source.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        entry->sourceKey = source.cacheKey();
    }
    return item->picture;
}

void CPhotoUserList::SetThumbnailSize(int width, int height)
{
    PhotoListLayout& layout = MutableLayout();
    layout.SetThumbnail(QSize(width, height));
    layout.SetCellSize(QSize(width + 6, layout.LabelHeight() + (width + 6) * 3 / 4));
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoUserList::changeEvent(QEvent* event)
{
    CPhotoListCtrl::changeEvent(event);
    if (event->type() == QEvent::FontChange) // the base list has put back its own cell rule
        SetThumbnailSize(Layout().Thumbnail().width(), Layout().Thumbnail().height());
}

QString CPhotoUserList::HintText()
{
    return QString::fromUtf8("点击添加到影集按钮或者拖动图片到此处") + QString(26, QLatin1Char(' '));
}

void CPhotoUserList::SetHintShown(bool shown)
{
    m_hintShown = shown;
    viewport()->update();
}

void CPhotoUserList::paintEvent(QPaintEvent* event)
{
    CPhotoListCtrl::paintEvent(event);
    const bool marker = m_fileMarker.kind != PhotoListSelection::MarkerKind::None && Count() > 0;
    const bool hint = Count() == 0 && m_hintShown;
    if (!marker && !hint)
        return;
    QPainter painter(viewport());
    if (marker)
        DrawDropMarker(painter, PhotoListSelection::MarkerRect(m_fileMarker, ScrollY(), Count(), Layout()));
    if (hint) {
        QFont font = this->font();
        font.setPixelSize(20);
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine, HintText());
    }
}

// ---- commands ---------------------------------------------------------------

void CPhotoUserList::DeleteSelected()
{
    const std::vector<int> targets = StoryboardMoveRules::DeleteTargets(Count(), Selection());
    if (targets.empty())
        return;
    // Collected first, removed highest index first: each removal leaves the
    // lower indices where they were.
    std::vector<const PhotoItem*> photos;
    for (int index : targets)
        photos.push_back(PhotoAt(index));
    for (const PhotoItem* photo : photos)
        m_album.RemovePhoto(m_album.IndexOf(photo));
    ClearSelection();
}

void CPhotoUserList::EditFocus()
{
    const int index = FocusItem();
    if (m_album.IsValidIndex(index))
        emit EditRequested(index);
}

void CPhotoUserList::OnItemActivated(PhotoListItem* item)
{
    const StoryboardEntry* entry = EntryOf(item);
    if (entry && entry->handle != 0 && m_album.IsValidIndex(FocusItem()))
        EditFocus();
}

void CPhotoUserList::OnContextMenu(QMenu* menu)
{
    if (menu == m_menu)
        m_editAction->setEnabled(StoryboardMoveRules::EditEnabled(int(Selection().size())));
}

void CPhotoUserList::ShowMenuAt(QPoint globalPos)
{
    ShowContextMenu(m_menu, globalPos);
}

void CPhotoUserList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        CPhotoListCtrl::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int hit = HitTest(event->position().toPoint());
    const auto click = StoryboardMoveRules::RightButtonDown(hit, int(Selection().size()));
    if (click.clearSelection)
        ClearSelection();
    if (click.selectOnly)
        SetSelection({hit}, hit);
    if (click.showMenu)
        ShowMenuAt(event->globalPosition().toPoint());
}

void CPhotoUserList::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse || Count() == 0)
        return; // the right button shows the menu when it goes down
    const int focus = FocusItem();
    const QPoint at = focus >= 0 ? CellRect(focus).center() : viewport()->rect().center();
    ShowMenuAt(viewport()->mapToGlobal(at));
}

// ---- moving photos by dragging ----------------------------------------------

void CPhotoUserList::OnItemPressed(PhotoListItem* item, int, int, bool several)
{
    m_pressed = IndexOf(item);
    viewport()->setCursor(several ? Qt::DragMoveCursor : Qt::ClosedHandCursor);
}

void CPhotoUserList::OnItemReleased(PhotoListItem*, int, int, bool)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    const PhotoListSelection::DropMarker marker = DropMarker();
    const StoryboardMoveRules::Move move =
        StoryboardMoveRules::Apply(Count(), Selection(), pressed, marker.target, marker.kind);
    if (!move.moved)
        return;
    std::vector<PhotoItem*> order;
    bool changed = false;
    for (size_t i = 0; i < move.order.size(); ++i) {
        // The model takes its own items back; it only compares them.
        order.push_back(const_cast<PhotoItem*>(PhotoAt(move.order[i])));
        changed = changed || move.order[i] != int(i);
    }
    if (changed)
        m_album.ReorderFromStoryboard(order);
    SetSelection(move.selection, move.focus);
}

void CPhotoUserList::mouseReleaseEvent(QMouseEvent* event)
{
    CPhotoListCtrl::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        viewport()->unsetCursor();
        m_pressed = -1;
    }
}

// ---- files dropped from outside ----------------------------------------------

void CPhotoUserList::SetFileMarker(const PhotoListSelection::DropMarker& marker)
{
    if (marker.kind == m_fileMarker.kind && marker.target == m_fileMarker.target)
        return;
    m_fileMarker = marker;
    viewport()->update();
}

void CPhotoUserList::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasUrls()
        || !StoryboardDrop::MayHoldPhotos(StoryboardDrop::LocalPaths(event->mimeData()->urls()))) {
        event->ignore();
        return;
    }
    AcceptCopy(event);
    dragMoveEvent(event);
}

void CPhotoUserList::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint p = event->position().toPoint();
    SetFileMarker(StoryboardMoveRules::FileDropMarker(p, HitTest(p), ScrollY(), Count(), Layout()));
    AcceptCopy(event);
}

void CPhotoUserList::dragLeaveEvent(QDragLeaveEvent*)
{
    SetFileMarker({});
}

void CPhotoUserList::dropEvent(QDropEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int position = StoryboardMoveRules::InsertionIndex(
        StoryboardMoveRules::FileDropMarker(p, HitTest(p), ScrollY(), Count(), Layout()), Count());
    SetFileMarker({});
    const QStringList paths = StoryboardDrop::LocalPaths(event->mimeData()->urls());
    AcceptCopy(event);
    InsertFiles(paths, position);
}

int CPhotoUserList::InsertFiles(const QStringList& paths, int position)
{
    const QStringList photos = StoryboardDrop::PhotosOf(paths);
    if (photos.isEmpty())
        return 0;
    int at = position < 0 || position > m_album.Count() ? m_album.Count() : position;
    std::vector<const PhotoItem*> added;
    QApplication::setOverrideCursor(Qt::WaitCursor); // each new photo gets its thumbnail made
    for (const QString& photo : photos) {
        const int index = m_album.AddPhoto(photo, at);
        if (index < 0)
            continue; // cannot be decoded
        added.push_back(m_album.Photo(index));
        at = index + 1;
    }
    QApplication::restoreOverrideCursor();
    std::vector<int> selection;
    for (int i = 0; i < Count(); ++i)
        if (std::find(added.begin(), added.end(), PhotoAt(i)) != added.end())
            selection.push_back(i);
    SetSelection(selection, selection.empty() ? -1 : selection.front());
    if (!selection.empty())
        EnsureVisible(selection.front());
    return int(added.size());
}
