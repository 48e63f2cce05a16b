// The edit step's photo edit window: shows the photo the transition strip
// made current, and its arrows step to the photo before or after it in album
// order. An arrow click does not select by itself: it asks (SelectRequested)
// that the strip make that photo's cell current, and the strip then calls
// SelectPhoto.
#pragma once

#include "LRPhotoEditWnd.h"

class EditorContext;

class CQemLRPhotoEditWnd : public QemControls::CLRPhotoEditWnd {
    Q_OBJECT
public:
    CQemLRPhotoEditWnd(EditorContext& context, QWidget* parent = nullptr);

    // The strip made the photo at `index` current: the edit commands show it
    // in the view (or report that it cannot be read); the arrows follow.
    void SelectPhoto(int index, bool show);
    // Left arrow enabled when a photo comes before the selected one, right
    // arrow when one comes after it.
    void UpdateArrowStates();
    // Arrow states again and a repaint (after the album changed).
    void Refresh();
    int SelectedIndex() const { return m_index; }

signals:
    void SelectRequested(int index);

protected:
    void OnArrowClicked(int arrow) override;

private:
    void AlbumChanged();

    EditorContext& m_context;
    int m_index = -1;
};
