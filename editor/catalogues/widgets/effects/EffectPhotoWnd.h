// The window of the effects list in the edit step ("EffectListWnd"): white,
// with the list filling it.
#pragma once

#include <QWidget>

class CEffectListCtrl;
class EditorContext;

class CEffectPhotoWnd : public QWidget {
    Q_OBJECT
public:
    CEffectPhotoWnd(EditorContext& context, QWidget* parent = nullptr);

    CEffectListCtrl* List() const { return m_list; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CEffectListCtrl* m_list;
};
