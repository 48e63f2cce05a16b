#include "editor/shell/controls/PendingStepWindow.h"

#include "editor/shell/controls/EmptyPane.h"

PendingStepWindow::PendingStepWindow(const QString& objectName, const QString& name, const QString& what,
                                     QWidget* parent)
    : StepWindow(parent), m_content(new EmptyPane(what, this))
{
    setObjectName(objectName);
    setAccessibleName(name);
}

void PendingStepWindow::resizeEvent(QResizeEvent*)
{
    m_content->setGeometry(rect());
}
