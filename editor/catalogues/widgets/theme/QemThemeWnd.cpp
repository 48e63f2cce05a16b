#include "editor/catalogues/widgets/theme/QemThemeWnd.h"

#include "editor/shell/controls/EmptyPane.h"

CQemThemeWnd::CQemThemeWnd(QWidget* parent)
    : StepWindow(parent), m_content(new EmptyPane(QStringLiteral("Templates and music"), this))
{
    setObjectName(QStringLiteral("ThemeWindow"));
    setAccessibleName(QStringLiteral("主题和音乐"));
}

void CQemThemeWnd::resizeEvent(QResizeEvent*)
{
    m_content->setGeometry(rect());
}
