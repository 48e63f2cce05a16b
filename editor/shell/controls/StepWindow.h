// A window of the workspace that stands for one step of the user's path. The
// client view tells it when it is about to be hidden and when it has become
// current, so that it can finish or refresh its work.
#pragma once

#include <QWidget>

class StepWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The window is about to be hidden.
    virtual void OnStepLeaving() {}
    // The window has become current.
    virtual void OnStepEntered() {}
};
