// The strip of the four step tabs in the top band. It only draws and reports
// clicks; the client view switches the step. Tabs that do not fit are hidden
// from the right; the tab under the mouse is hot (tracked by a 50 ms timer).
// The strip reaches screen readers as a page-tab list.
#pragma once

#include "editor/shell/StepTabRules.h"

#include <QBasicTimer>
#include <QWidget>

class CQemTabCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 1111;
    static constexpr int kHoverInterval = 50;

    explicit CQemTabCtrl(QWidget* parent = nullptr);

    void AddTab(const QString& caption);
    // Marks tab `index` selected without switching the step.
    void SelectStepTab(int index);
    const StepTabRules& Rules() const { return m_rules; }
    // The caption as a screen reader reads it: without trailing blanks.
    static QString SpokenCaption(const QString& caption) { return caption.trimmed(); }
    QRect TabRect(int index) const { return m_rules.At(index).rect; }

signals:
    // A tab was clicked (its caption), then the step it stands for.
    void TabClicked(const QString& caption);
    void StepRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TabStripAccessible;
    void hoverTick();
    void repaintTab(int index);
    // Selects and reports tab `index` as a click would (keyboard, screen reader).
    void activate(int index);
    void notifyAccessible(int index);

    StepTabRules m_rules;
    QBasicTimer m_hoverTimer;
};
