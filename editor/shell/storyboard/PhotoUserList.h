// The album storyboard: the album's photos as thumbnails in album order. It
// shows the album model and never keeps a second album: every change the
// user makes (delete, move by dragging, files dropped in) goes through the
// model, and the list follows the model's signals, whoever made the change.
// The album holds the one thumbnail-cache reference of each photo; the
// list's items take none of their own.
#pragma once

#include "editor/shell/controls/PhotoListCtrl.h"
#include "editor/shell/storyboard/StoryboardMoveRules.h"

#include <vector>

class AlbumModel;
class EditorContext;
class QMenu;
struct PhotoItem;

class CPhotoUserList : public CPhotoListCtrl {
    Q_OBJECT
public:
    static constexpr int kControlId = 1111;
    static constexpr int kDeleteMenuCommand = 40023;
    static constexpr int kEditCommand = 40032;
    static constexpr int kThumbnailSide = 96;

    CPhotoUserList(EditorContext& context, QWidget* parent = nullptr);
    ~CPhotoUserList() override;

    // The album photo shown at index (null outside the list).
    const PhotoItem* PhotoAt(int index) const;

    // Removes the selected photos from the album, keeping the others' effects
    // and captions; the selection is empty afterwards.
    void DeleteSelected();
    // Asks for the focus photo to be edited.
    void EditFocus();
    // Adds the photo files and the photos of the folders among `paths` at
    // `position` (the end when outside the album), in the order given, and
    // selects the photos added. Returns how many were added.
    int InsertFiles(const QStringList& paths, int position);

    // The hint for an empty album is shown while the photo explorer is.
    void SetHintShown(bool shown);
    bool HintShown() const { return m_hintShown; }
    static QString HintText();

    // The marker of a drag of files from outside (kind None when none).
    PhotoListSelection::DropMarker FileMarker() const { return m_fileMarker; }
    // The storyboard's context menu: "Delete", a separator, "Edit".
    QMenu* ContextMenu() const { return m_menu; }

    // Cell width + 6 wide and label height + 3/4 of that high; the picture
    // is drawn in the 96 x 72 area below which no label is drawn.
    void SetThumbnailSize(int width, int height) override;

signals:
    void EditRequested(int index);

protected:
    void OnItemsChanged() override { emit ItemsChanged(); }
    void OnContextMenu(QMenu* menu) override;
    QImage GetItemPicture(PhotoListItem* item) override;
    void OnItemActivated(PhotoListItem* item) override;
    void OnItemPressed(PhotoListItem* item, int x, int y, bool several) override;
    void OnItemReleased(PhotoListItem* item, int x, int y, bool several) override;

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The model's photo sequence changed.
    void PhotoInserted(int index);
    void PhotoRemoved(int index);
    void Reordered();
    void ThumbnailChanged(int index);
    void Rebuild();
    PhotoListItem NewRecord(int albumIndex) const;

    // Selection and focus by photo, kept across changes that shift indices.
    struct Kept {
        std::vector<const PhotoItem*> selected;
        const PhotoItem* focus = nullptr;
        int scrollY = 0;
    };
    Kept Keep() const;
    void Restore(const Kept& kept);
    void SetSelection(const std::vector<int>& indices, int focus);

    void ShowMenuAt(QPoint globalPos);
    void SetFileMarker(const PhotoListSelection::DropMarker& marker);

    EditorContext& m_context;
    AlbumModel& m_album;
    QMenu* m_menu;
    QAction* m_deleteAction;
    QAction* m_editAction;
    int m_pressed = -1; // the photo a drag started on
    bool m_hintShown = true;
    PhotoListSelection::DropMarker m_fileMarker;
};
