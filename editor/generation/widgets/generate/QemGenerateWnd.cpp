#include "editor/generation/widgets/generate/QemGenerateWnd.h"

#include "editor/shell/controls/EmptyPane.h"

CQemGenerateWnd::CQemGenerateWnd(QWidget* parent)
    : StepWindow(parent), m_content(new EmptyPane(QStringLiteral("Generate album"), this))
{
    setObjectName(QStringLiteral("GenerateWindow"));
    setAccessibleName(QStringLiteral("生成影集"));
}

void CQemGenerateWnd::resizeEvent(QResizeEvent*)
{
    m_content->setGeometry(rect());
}
