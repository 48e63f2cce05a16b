// The effect pane, shown while a transition is current in the strip: it
// hosts the effects explorer (given by its owner) above the "应用到所有"
// button, which asks once and then gives every album photo the effect the
// explorer previewed last.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class CQemMFCButton;
class EditorContext;

class CNormalEditPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kApplyToAllId = 1022;
    static constexpr int kRightGap = 10;  // button to the pane's right edge
    static constexpr int kBottomGap = 20; // button to the pane's bottom edge

    CNormalEditPane(EditorContext& context, QWidget* parent = nullptr);

    // The explorer becomes a child of the pane, over the area above the button.
    void SetExplorer(QWidget* explorer);
    QWidget* Explorer() const { return m_explorer; }
    // Where the index of the effect previewed last comes from (-1: none).
    void SetLastPreviewedEffect(std::function<int()> lastPreviewed);
    CQemMFCButton* ApplyToAllButton() const { return m_apply; }

    // Command 1022: with a previewed effect inside the catalogue, asks string
    // 109's question; on yes every photo takes that effect.
    void ApplyToAll();

signals:
    // The pane was shown or hidden (the explorer's preview starts or stops).
    void PaneShown();
    void PaneHidden();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void LayOut();

    EditorContext& m_context;
    CQemMFCButton* m_apply;
    QPointer<QWidget> m_explorer;
    std::function<int()> m_lastPreviewed;
};
