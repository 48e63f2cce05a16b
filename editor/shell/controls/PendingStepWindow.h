// A step window whose panes this version of the editor does not have yet: it
// is filled with one EmptyPane that says so.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class PendingStepWindow : public StepWindow {
    Q_OBJECT
public:
    // `name` is the step's name for screen readers, `what` names its content.
    PendingStepWindow(const QString& objectName, const QString& name, const QString& what, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_content;
};
