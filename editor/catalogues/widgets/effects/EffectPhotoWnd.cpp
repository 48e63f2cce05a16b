#include "EffectPhotoWnd.h"

#include "EffectListCtrl.h"

CEffectPhotoWnd::CEffectPhotoWnd(EditorContext& context, QWidget* parent)
    : QWidget(parent)
    , m_list(new CEffectListCtrl(context, this))
{
    setObjectName(QStringLiteral("EffectListWnd"));
    setAccessibleName(tr("Effects list"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setCursor(Qt::ArrowCursor);
    m_list->setGeometry(rect());
    m_list->show();
}

void CEffectPhotoWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_list->setGeometry(rect());
}
