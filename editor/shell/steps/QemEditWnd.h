// The edit step ("EditWindow"): the current edit pane (photo editing or the
// effect of a gap) above the transition strip and the effects list, which
// stretch over the full width. The lower area grows with the main window.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class EditorContext;

class CQemEditWnd : public StepWindow {
    Q_OBJECT
public:
    enum class Pane { PhotoEdit, NormalEdit };

    explicit CQemEditWnd(EditorContext& context, QWidget* parent = nullptr);

    // Hides the current edit pane, shows the given one and lays out again.
    void SetCurrentPane(Pane pane);
    Pane CurrentPane() const { return m_current; }
    QWidget* PaneWidget(Pane pane) const { return pane == Pane::PhotoEdit ? m_photoPane : m_normalPane; }
    QWidget* Strip() const { return m_strip; }
    QWidget* EffectList() const { return m_effects; }

    void OnStepEntered() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    EditorContext& m_context;
    QWidget* m_photoPane;
    QWidget* m_normalPane;
    QWidget* m_strip;
    QWidget* m_effects;
    Pane m_current = Pane::PhotoEdit;
};
