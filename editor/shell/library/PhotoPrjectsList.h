// The album library list: one 200 x 100 item per album of the library model
// (ProjectCommands::Library()), showing its thumbnail, name, date and photo
// count, or "Has no existing photo album." when there is none. It follows
// the model's signals; a double-click closes the album and opens the item,
// Delete (the key or the forwarded command) deletes the selected albums.
#pragma once

#include "editor/shell/controls/PhotoListCtrl.h"

class EditorContext;
class AlbumLibrary;

class CPhotoPrjectsList : public CPhotoListCtrl {
    Q_OBJECT
public:
    CPhotoPrjectsList(EditorContext& context, QWidget* parent = nullptr);

    // A screen reader says the album's name, then its date, photo count and folder.
    QString AccessibleName(int index) const override;
    QString AccessibleDescription(int index) const override;

protected:
    void DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea) override;
    void DrawItemOverlay(QPainter& painter, const QRect& pictureArea, int index) override;
    QRect GetPictureRect(const QRect& pictureArea) override;
    void OnItemActivated(PhotoListItem* item) override;

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyItemSize();
    void rebuild();
    void appendEntry(int index);
    void updateEntry(int index);
    void followSelection(int index);
    void deleteSelected();

    EditorContext& m_context;
    AlbumLibrary& m_library;
};
