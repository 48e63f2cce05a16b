#include "editor/shell/steps/QemEditWnd.h"

#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/controls/EmptyPane.h"

CQemEditWnd::CQemEditWnd(EditorContext& context, QWidget* parent)
    : StepWindow(parent), m_context(context), m_photoPane(new EmptyPane(QStringLiteral("Photo editing"), this)),
      m_normalPane(new EmptyPane(QStringLiteral("Transition effect"), this)),
      m_strip(new EmptyPane(QStringLiteral("Transition strip"), this)),
      m_effects(new EmptyPane(QStringLiteral("Effects"), this))
{
    setObjectName(QStringLiteral("EditWindow"));
    setAccessibleName(QStringLiteral("编辑效果"));
    m_photoPane->setObjectName(QStringLiteral("PhotoEditPane"));
    m_normalPane->setObjectName(QStringLiteral("NormalEditPane"));
    m_effects->setObjectName(QStringLiteral("EffectListWnd"));
    m_photoPane->hide();
    m_normalPane->hide();
    SetCurrentPane(Pane::PhotoEdit);
}

void CQemEditWnd::SetCurrentPane(Pane pane)
{
    PaneWidget(m_current)->hide();
    m_current = pane;
    PaneWidget(pane)->show();
    layOut();
}

void CQemEditWnd::OnStepEntered()
{
    layOut();
}

void CQemEditWnd::resizeEvent(QResizeEvent*)
{
    layOut();
}

void CQemEditWnd::layOut()
{
    const WorkspaceMetrics::EditLayout layout =
        WorkspaceMetrics::LayOutEdit(rect(), window()->frameGeometry().height());
    PaneWidget(m_current)->setGeometry(layout.pane);
    m_strip->setGeometry(layout.strip);
    m_effects->setGeometry(layout.effectList);
}
