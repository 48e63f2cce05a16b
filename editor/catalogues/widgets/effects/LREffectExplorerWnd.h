// The effects explorer of the effect pane: plays a transition in the preview
// movie between the two arrow bands. The transition comes from the effects
// list (played with the two sample pictures) or from the strip (played with
// the photo and the next one); the arrows step through whichever source
// asked last. The movie control exists while the explorer is shown; every
// call into it is asynchronous.
#pragma once

#include "editor/catalogues/widgets/ShockwaveFlash0.h"
#include "editor/imaging/widgets/arrows/LRWnd.h"

#include <QPointer>

class CEffectListCtrl;
class EditorContext;
namespace QemControls {
class CLREffectWnd;
}

class CLREffectExplorerWnd : public QemControls::CLRWnd {
    Q_OBJECT
public:
    enum class Source { None, List, Strip };
    static constexpr int kControlId = 1234;

    CLREffectExplorerWnd(EditorContext& context, QWidget* parent = nullptr);
    ~CLREffectExplorerWnd() override;

    // The two windows that ask for previews; the explorer follows their
    // signals (the list's SamplePreviewRequested, the strip's
    // TransitionCellCurrent) and steps through them with its arrows.
    void SetSources(CEffectListCtrl* list, QemControls::CLREffectWnd* strip);
    // The editor's folder (the program's folder unless set).
    void SetAppDir(const QString& appDir) { m_appDir = appDir; }

    // Creates the movie control (hidden while the explorer is) and loads the
    // preview movie, so that the first transition shown previews at once.
    // The control then stays until the explorer goes: a hidden page does not
    // animate, and showing the explorer again needs no reload.
    void Prepare();

    void PreviewFromList(int effect);
    void PreviewFromStrip(int index);
    void UpdateArrows();

    int LastPreviewedEffect() const { return m_lastEffect; }
    Source CurrentSource() const { return m_source; }
    int RememberedItem() const { return m_remembered; }
    // The last request handed to the movie, or waiting for the control.
    QString LastRequest() const { return m_lastRequest; }
    CShockwaveFlash0& Player() { return m_player; }

protected:
    void OnArrowClicked(int arrow) override;
    void LayOut() override;
    void showEvent(QShowEvent* event) override;

private:
    void Send(const QString& request);
    QString MoviePath() const;

    EditorContext& m_context;
    QPointer<CEffectListCtrl> m_list;
    QPointer<QemControls::CLREffectWnd> m_strip;
    CShockwaveFlash0 m_player;
    QString m_appDir;
    Source m_source = Source::None;
    int m_remembered = -1;
    int m_lastEffect = -1;
    QString m_lastRequest;
    bool m_requestWaiting = false; // made while the control did not exist
};
