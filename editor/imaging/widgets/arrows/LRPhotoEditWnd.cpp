#include "LRPhotoEditWnd.h"

#include <QPainter>

namespace QemControls {

CLRPhotoEditWnd::CLRPhotoEditWnd(QWidget* parent) : CLRWnd(parent)
{
    setObjectName(QStringLiteral("QemLREditWnd"));
    setAccessibleName(tr("Photo Edit"));
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::ArrowCursor);
}

void CLRPhotoEditWnd::SetView(QWidget* view)
{
    if (m_view == view)
        return;
    m_view = view;
    if (view) {
        view->setParent(this);
        view->show();
        view->lower(); // the arrows' accessible buttons stay above it
    }
    LayOut();
}

QRect CLRPhotoEditWnd::ViewRect() const
{
    return ArrowRules::PhotoViewRect(rect());
}

void CLRPhotoEditWnd::DrawExtra(QPainter&) {}

void CLRPhotoEditWnd::LayOut()
{
    if (m_view)
        m_view->setGeometry(ViewRect());
}

void CLRPhotoEditWnd::paintEvent(QPaintEvent*)
{
    if (rect().isEmpty())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    DrawArrows(painter);
    DrawExtra(painter);
}

void CLRPhotoEditWnd::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    CLRWnd::mousePressEvent(event);
}

} // namespace QemControls
