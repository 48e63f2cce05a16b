// The photo explorer list: the photos of one folder as a grid of thumbnails.
// Listing a folder shows every photo at once, with a generic picture until
// its thumbnail is made; two thumbnail workers make the thumbnails in the
// background (odd-numbered photos on the first, even-numbered on the second,
// both in listing order, so the first screenful comes first) and report each
// one through a notifier, and the item takes its thumbnail then. Photos reach
// the album by double-click, by the explore window's add command, or by
// dragging them out as a list of file URLs.
#pragma once

#include "ScaledThumbnails.h"
#include "editor/imaging/ThumbnailRegistry.h"
#include "editor/shell/controls/PhotoListCtrl.h"

#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <memory>
#include <vector>

class CQemThumbsThread;
class EditorContext;
class QMimeData;
class ThumbsNotifier;

class CQemPhotoExplorerList : public CPhotoListCtrl {
    Q_OBJECT
public:
    CQemPhotoExplorerList(EditorContext& context, QWidget* parent = nullptr);
    // Stops the workers and waits for them, then writes the cache's pending
    // records.
    ~CQemPhotoExplorerList() override;

    // The line drawn while the list holds no photo.
    static QString NoPhotoText();

    // Lists the folder's photos and starts their workers (the running ones
    // stop after their current photo). Nothing when the folder is the one
    // shown (exact comparison).
    void ShowFolder(const QString& path);
    QString Folder() const { return m_folder; }

    // The thumbnail the item holds; 0 while its thumbnail is not ready.
    ThumbHandle HandleAt(int index) const;
    // Items holding their thumbnails.
    int ReadyCount() const { return m_ready; }
    bool IsBusy() const { return m_busyWorkers > 0; }
    // The workers started for the folder shown (null when one had no photo).
    const std::shared_ptr<CQemThumbsThread>& WorkerA() const { return m_workerA; }
    const std::shared_ptr<CQemThumbsThread>& WorkerB() const { return m_workerB; }

    // Adds the photos at these indices whose thumbnails are ready at the end
    // of the album, in ascending index order; returns how many were added.
    int AddToAlbum(const std::vector<int>& indices);
    // What dragging the selection carries: text/uri-list with the file URLs
    // of the selected photos whose thumbnails are ready, in selection order;
    // null when there is none.
    QMimeData* MakeDragData();

    void SetThumbnailSize(int width, int height) override;

signals:
    // The folder's workers started making thumbnails (true) or all ended.
    void BusyChanged(bool busy);

protected:
    void OnItemsChanged() override;
    void DeleteItem(PhotoListItem* item) override;
    void DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea) override;
    QImage GetItemPicture(PhotoListItem* item) override;
    void DrawLabelBackground(QPainter&, const QRect&, int) override {}
    void OnItemActivated(PhotoListItem* item) override;
    void OnItemPressed(PhotoListItem* item, int x, int y, bool several) override;
    void OnItemDragged(PhotoListItem* item, int x, int y, bool several) override;
    void OnItemReleased(PhotoListItem*, int, int, bool) override { m_dragging = false; }

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void List();
    void StartWorkers(const QStringList& photos);
    // The item's thumbnail handle, taken from the cache (with a reference)
    // the first time the cache has it.
    ThumbHandle TakeHandle(PhotoListItem* item);
    void ThumbnailReady(const QString& path);
    void WorkerBusy(bool busy);
    QPixmap DragPixmap(PhotoListItem* item);
    // Once per scroll position: the cache reads ahead the thumbnails of the
    // screenful above and the two below the visible cells.
    void ReadAhead();

    EditorContext& m_context;
    ThumbsNotifier* m_notifier;
    QString m_folder;
    bool m_folderShown = false;
    QHash<QString, int> m_indexOfPath;
    int m_ready = 0;
    int m_busyWorkers = 0;
    bool m_listing = false; // items are being listed: one notice at the end
    bool m_closing = false;
    std::shared_ptr<CQemThumbsThread> m_workerA, m_workerB;
    QPixmap m_icon; // shown while a photo has no thumbnail
    ScaledThumbnails m_scaled; // the pictures as drawn, for the cells drawn lately
    int m_readAheadAt = -1;    // the scroll position read ahead for, -1: none yet
    QPoint m_pressPoint;
    bool m_dragging = false;
};
