// The edit step ("EditWindow"): the current edit pane (the photo with its
// tools, or the effect of a gap) above the transition strip and the effects
// list, which stretch over the full width. The lower area grows with the main
// window. The strip decides which pane shows: a photo cell shows the photo,
// a transition cell the effects explorer previewing that transition.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class CEffectPhotoWnd;
class CLREffectExplorerWnd;
class CNormalEditPane;
class CPhotoEditPane;
class CQemLREffectWnd;
class CQemLRPhotoEditWnd;
class CQemPhotoView;
class EditorContext;
class PhotoEditArea;

class CQemEditWnd : public StepWindow {
    Q_OBJECT
public:
    enum class Pane { PhotoEdit, NormalEdit };

    explicit CQemEditWnd(EditorContext& context, QWidget* parent = nullptr);

    // Hides the current edit pane, shows the given one and lays out again.
    void SetCurrentPane(Pane pane);
    Pane CurrentPane() const { return m_current; }
    QWidget* PaneWidget(Pane pane) const;
    CQemLREffectWnd* Strip() const { return m_strip; }
    CEffectPhotoWnd* EffectList() const { return m_effects; }
    CQemPhotoView* View() const { return m_view; }
    CQemLRPhotoEditWnd* PhotoWindow() const { return m_photoWindow; }
    CPhotoEditPane* PhotoPane() const { return m_photoPane; }
    CNormalEditPane* EffectPane() const { return m_normalPane; }
    CLREffectExplorerWnd* Explorer() const { return m_explorer; }

    // The storyboard's Edit: the photo's cell becomes current. False for an
    // index outside the album.
    bool EditPhoto(int index);

    // Entering with photos and no current cell makes the first photo current.
    void OnStepEntered() override;
    // Leaving stores the caption being typed.
    void OnStepLeaving() override;
    // The caption being typed into its photo's record (before the album is
    // saved or closed).
    void FinishEditing();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectPanes();
    void addKeys();
    // The shown photo's link, face, size and colour into the photo edit pane.
    void showCaptionProperties(int index);
    void step(int delta);
    void layOut();

    EditorContext& m_context;
    CQemPhotoView* m_view;
    CQemLRPhotoEditWnd* m_photoWindow;
    CPhotoEditPane* m_photoPane;
    PhotoEditArea* m_photoArea;
    CLREffectExplorerWnd* m_explorer;
    CNormalEditPane* m_normalPane;
    CQemLREffectWnd* m_strip;
    CEffectPhotoWnd* m_effects;
    Pane m_current = Pane::PhotoEdit;
};
