#include "QemPhotoExplorerList.h"

#include "ExplorerRules.h"
#include "ThumbsNotifier.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <any>

namespace {

// The item record: the thumbnail handle the item holds a reference on.
struct ExplorerItem {
    ThumbHandle handle = 0;
};

ExplorerItem* RecordOf(PhotoListItem* item) { return std::any_cast<ExplorerItem>(&item->ownerData); }
const ExplorerItem* RecordOf(const PhotoListItem* item) { return std::any_cast<ExplorerItem>(&item->ownerData); }

// A generic picture (a framed landscape) for photos without thumbnails yet.
QPixmap GenericPicture(qreal dpr)
{
    const int side = 48;
    QPixmap pixmap(QSize(side, side) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(4.5, 8.5, 39, 31);
    painter.setPen(QPen(QColor(110, 120, 135), 1));
    painter.setBrush(QColor(214, 232, 250));
    painter.drawRoundedRect(frame, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 205, 80));
    painter.drawEllipse(QPointF(33, 17), 4, 4);
    QPainterPath hills;
    hills.moveTo(5, 39);
    hills.lineTo(17, 23);
    hills.lineTo(25, 32);
    hills.lineTo(31, 26);
    hills.lineTo(43, 39);
    hills.closeSubpath();
    painter.setBrush(QColor(90, 150, 95));
    painter.drawPath(hills);
    return pixmap;
}

constexpr int kDragAlpha = 100;            // of 255
const QPoint kDragHotSpot(40, 20);         // the picture's corner left of and above the cursor

} // namespace

CQemPhotoExplorerList::CQemPhotoExplorerList(EditorContext& context, QWidget* parent)
    : CPhotoListCtrl(parent), m_context(context), m_notifier(new ThumbsNotifier(this))
{
    setAccessibleName(tr("Photo Explorer"));
    m_icon = GenericPicture(devicePixelRatioF());
    // Queued: the notifier's signals come from the workers' threads.
    connect(m_notifier, &ThumbsNotifier::thumbnailReady, this, &CQemPhotoExplorerList::ThumbnailReady,
            Qt::QueuedConnection);
    connect(m_notifier, &ThumbsNotifier::busyChanged, this, &CQemPhotoExplorerList::WorkerBusy,
            Qt::QueuedConnection);
    SetThumbnailSize(ExplorerRules::kInitialThumbnail, ExplorerRules::kInitialThumbnail);
    setAccessibleDescription(NoPhotoText());
}

CQemPhotoExplorerList::~CQemPhotoExplorerList()
{
    m_closing = true;
    m_notifier->SharedLink()->Cut();
    StopAllWorkers();
    WaitForWorkers();
    m_workerA.reset();
    m_workerB.reset();
    RemoveAll(false);
    m_context.Thumbnails().Flush();
}

QString CQemPhotoExplorerList::NoPhotoText()
{
    return QStringLiteral("There is no photo in the current directory.");
}

// ---- listing ---------------------------------------------------------------

void CQemPhotoExplorerList::ShowFolder(const QString& path)
{
    if (m_folderShown && path == m_folder)
        return;
    m_folder = path;
    m_folderShown = true;
    StopAllWorkers();
    List();
}

void CQemPhotoExplorerList::List()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    viewport()->setUpdatesEnabled(false);
    m_listing = true;
    RemoveAll(false);
    m_scaled.Clear();
    m_readAheadAt = -1;
    m_indexOfPath.clear();
    m_ready = 0;
    const QStringList photos = ExplorerRules::PhotosOf(m_folder);
    m_indexOfPath.reserve(photos.size());
    for (const QString& path : photos) {
        const int index = Count();
        PhotoListItem* item = InsertNew(index, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1), QImage(), 0,
                                        ExplorerItem{});
        item->path = path;
        m_indexOfPath.insert(path, index);
    }
    m_listing = false;
    UpdateScrollBar();
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
    OnItemsChanged();
    StartWorkers(photos);
    QApplication::restoreOverrideCursor();
}

void CQemPhotoExplorerList::StartWorkers(const QStringList& photos)
{
    const PhotoSplit split = SplitPhotos(photos);
    const auto start = [this](const QStringList& queue) -> std::shared_ptr<CQemThumbsThread> {
        if (queue.isEmpty())
            return nullptr;
        auto worker = std::make_shared<NotifyingThumbsWorker>(m_notifier->SharedLink(), &m_context.Thumbnails());
        worker->Queue() = queue;
        RegisterWorker(worker);
        worker->Start();
        return worker;
    };
    m_workerA = start(split.odd);
    m_workerB = start(split.even);
}

void CQemPhotoExplorerList::OnItemsChanged()
{
    if (m_listing || m_closing)
        return;
    setAccessibleDescription(Count() == 0 ? NoPhotoText() : QString());
    emit ItemsChanged();
}

void CQemPhotoExplorerList::DeleteItem(PhotoListItem* item)
{
    if (const ExplorerItem* record = RecordOf(item); record && record->handle != 0) {
        m_scaled.Drop(record->handle);
        m_context.Thumbnails().ReleaseReference(record->handle);
    }
    delete item;
}

// ---- thumbnails ------------------------------------------------------------

ThumbHandle CQemPhotoExplorerList::TakeHandle(PhotoListItem* item)
{
    ExplorerItem* record = RecordOf(item);
    if (!record)
        return 0;
    if (record->handle == 0 && !item->path.isEmpty()) {
        ThumbnailCache& cache = m_context.Thumbnails();
        if (const ThumbHandle handle = cache.FindByPath(item->path); handle != 0) {
            cache.AddReference(handle);
            record->handle = handle;
            ++m_ready;
        }
    }
    return record->handle;
}

ThumbHandle CQemPhotoExplorerList::HandleAt(int index) const
{
    const PhotoListItem* item = ItemAt(index);
    const ExplorerItem* record = item ? RecordOf(item) : nullptr;
    return record ? record->handle : 0;
}

void CQemPhotoExplorerList::ThumbnailReady(const QString& path)
{
    // Reports of a folder shown before name photos this list no longer holds.
    const int index = m_indexOfPath.value(path, -1);
    PhotoListItem* item = ItemAt(index);
    if (!item || item->path != path)
        return;
    const bool had = HandleAt(index) != 0;
    if (TakeHandle(item) != 0 && !had) {
        const QRect cell = CellRect(index);
        if (cell.intersects(viewport()->rect()))
            viewport()->update(cell.adjusted(-1, -1, kShadowDepth + 1, kShadowDepth + 1));
    }
}

void CQemPhotoExplorerList::WorkerBusy(bool busy)
{
    const bool was = IsBusy();
    m_busyWorkers = std::max(0, m_busyWorkers + (busy ? 1 : -1));
    if (IsBusy() == was)
        return;
    if (IsBusy())
        viewport()->setCursor(Qt::BusyCursor);
    else
        viewport()->unsetCursor();
    emit BusyChanged(IsBusy());
}

QImage CQemPhotoExplorerList::GetItemPicture(PhotoListItem* item)
{
    const ThumbHandle handle = TakeHandle(item);
    return handle != 0 ? m_context.Thumbnails().PictureOf(handle) : QImage();
}

void CQemPhotoExplorerList::DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea)
{
    if (const QImage picture = GetItemPicture(item); !picture.isNull()) {
        // The painter draws into the list's back buffer, one pixel a unit.
        const QRect target = GetPictureRect(pictureArea);
        painter.drawImage(target.topLeft(), m_scaled.Get(RecordOf(item)->handle, picture, target.size()));
        return;
    }
    const QSize icon = m_icon.deviceIndependentSize().toSize();
    QPoint at = pictureArea.topLeft();
    if (icon.width() < pictureArea.width() && icon.height() < pictureArea.height())
        at += QPoint((pictureArea.width() - icon.width()) / 2, (pictureArea.height() - icon.height()) / 2);
    painter.drawPixmap(at, m_icon);
}

void CQemPhotoExplorerList::SetThumbnailSize(int width, int height)
{
    PhotoListLayout& layout = MutableLayout();
    layout.SetThumbnail(QSize(width, height));
    layout.SetCellSize(ExplorerRules::CellSize(width, layout.LabelsShown(), layout.LabelHeight()));
    UpdateScrollBar();
    viewport()->update();
}

void CQemPhotoExplorerList::changeEvent(QEvent* event)
{
    CPhotoListCtrl::changeEvent(event);
    // The base gives a new font its own cell rule: put this list's back.
    if (event->type() == QEvent::FontChange) {
        const QSize thumbnail = Layout().Thumbnail();
        SetThumbnailSize(thumbnail.width(), thumbnail.height());
    }
}

// ---- adding ----------------------------------------------------------------

int CQemPhotoExplorerList::AddToAlbum(const std::vector<int>& indices)
{
    const std::vector<int> ready = ExplorerRules::PhotosToAdd(indices, [this](int index) {
        PhotoListItem* item = ItemAt(index);
        return item ? TakeHandle(item) : 0;
    });
    int added = 0;
    for (int index : ready)
        if (m_context.Album().AddPhoto(ItemAt(index)->path, -1) >= 0)
            ++added;
    return added;
}

void CQemPhotoExplorerList::OnItemActivated(PhotoListItem* item)
{
    AddToAlbum({IndexOf(item)});
}

QMimeData* CQemPhotoExplorerList::MakeDragData()
{
    QList<QUrl> urls;
    for (int index : ExplorerRules::PhotosToAdd(Selection(), [this](int i) {
             PhotoListItem* item = ItemAt(i);
             return item ? TakeHandle(item) : 0;
         }))
        urls << QUrl::fromLocalFile(ItemAt(index)->path);
    if (urls.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QPixmap CQemPhotoExplorerList::DragPixmap(PhotoListItem* item)
{
    const QImage picture = GetItemPicture(item);
    if (picture.isNull())
        return {};
    const QSize size = Layout().PictureRect(QRect(QPoint(), Layout().Cell())).size();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(kDragAlpha / 255.0);
    painter.drawImage(pixmap.rect(), picture);
    return pixmap;
}

void CQemPhotoExplorerList::OnItemPressed(PhotoListItem*, int x, int y, bool)
{
    m_pressPoint = QPoint(x, y);
    m_dragging = false;
}

void CQemPhotoExplorerList::OnItemDragged(PhotoListItem* item, int x, int y, bool several)
{
    if (m_dragging || (QPoint(x, y) - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    QMimeData* data = MakeDragData();
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // One photo shows its faded thumbnail under the cursor; several show none.
    if (!several && item)
        if (const QPixmap picture = DragPixmap(item); !picture.isNull()) {
            drag->setPixmap(picture);
            drag->setHotSpot(kDragHotSpot);
        }
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

// ---- painting --------------------------------------------------------------

void CQemPhotoExplorerList::ReadAhead()
{
    if (m_readAheadAt == ScrollY())
        return;
    m_readAheadAt = ScrollY();
    const PhotoListLayout::VisibleRange visible = Layout().Visible(ScrollY(), Count());
    if (visible.IsEmpty())
        return;
    const int columns = std::max(1, Layout().ColumnCount());
    const int rows = visible.lastRow - visible.firstRow + 1;
    std::vector<ThumbHandle> handles;
    const auto add = [&](int from, int to) {
        for (int index = std::max(0, from); index < std::min(Count(), to); ++index)
            if (const ThumbHandle handle = HandleAt(index); handle != 0)
                handles.push_back(handle);
    };
    add((visible.lastRow + 1) * columns, (visible.lastRow + 1 + 2 * rows) * columns);
    add((visible.firstRow - rows) * columns, visible.firstRow * columns);
    m_context.Thumbnails().PrefetchPictures(handles);
}

void CQemPhotoExplorerList::paintEvent(QPaintEvent* event)
{
    CPhotoListCtrl::paintEvent(event);
    ReadAhead();
    if (Count() > 0)
        return;
    QPainter painter(viewport());
    QFont font = this->font();
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine, NoPhotoText());
}
