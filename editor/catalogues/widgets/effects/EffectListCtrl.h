// The effects list of the edit step: one 60 x 48 item per effect of the
// catalogue. Making an item current previews it with the sample pictures, or
// assigns it when the strip's current cell is a transition; a double click
// assigns it to the current album photo; dragging an item onto a transition
// cell of the strip assigns it to that photo and makes the cell current.
#pragma once

#include "editor/shell/controls/PhotoListCtrl.h"

#include <QPointer>

class DragPicture;
class EditorContext;
namespace QemControls {
class CLREffectWnd;
}

class CEffectListCtrl : public CPhotoListCtrl {
    Q_OBJECT
public:
    static constexpr int kItemWidth = 60;
    static constexpr int kItemHeight = 48;

    CEffectListCtrl(EditorContext& context, QWidget* parent = nullptr);
    ~CEffectListCtrl() override;

    // The effect index of the item; -1 for an index outside the list.
    int EffectOf(int index) const;
    // The album photo whose photo or transition cell is current, or -1.
    int CurrentAlbumPhoto() const;
    // The effect of item `index` becomes the current album photo's; false
    // when there is none or it already has that effect.
    bool AssignToCurrent(int index);

    bool DragShown() const { return m_dragShown; }
    int DropTarget() const { return m_dropTarget; }

signals:
    // The effect pane should show and preview the list's current item with
    // the sample pictures.
    void SamplePreviewRequested(int effect);

protected:
    void OnFocusChanged(int oldIndex, int newIndex) override;
    void OnItemActivated(PhotoListItem* item) override;
    void OnItemPressed(PhotoListItem* item, int x, int y, bool several) override;
    void OnItemDragged(PhotoListItem* item, int x, int y, bool several) override;
    void OnItemReleased(PhotoListItem* item, int x, int y, bool several) override;

private:
    // The strip under a point of the viewport, with the point in its coordinates.
    QemControls::CLREffectWnd* StripAt(QPoint client, QPoint* local) const;
    void ClearStripMark();
    void EndDrag();

    EditorContext& m_context;
    // Drag state, from a press on an item to the release.
    int m_pressedItem = -1;
    bool m_dragShown = false;
    int m_dropTarget = -1;
    QPointer<QemControls::CLREffectWnd> m_markedStrip;
    QPointer<DragPicture> m_dragPicture; // a child of the top-level window, which may go first
};
