#include "ElementHost.h"

#include "ShellTheme.h"

#include <QMouseEvent>
#include <QPainter>

namespace VIRSUAL_CONTROLS {

CElementHost::CElementHost(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

CElementHost::~CElementHost() = default;

CRibbonElement* CElementHost::ElementAt(const QPoint& point) const
{
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it)
        if ((*it)->IsEnabled() && (*it)->HitTest(point))
            return it->get();
    return nullptr;
}

void CElementHost::SetHot(CRibbonElement* element)
{
    if (element == m_hot)
        return;
    if (m_hot)
        m_hot->SetHot(false);
    m_hot = element;
    if (m_hot)
        m_hot->SetHot(true);
}

void CElementHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellTheme::Current().Colours().panel);
    for (const auto& element : m_elements) {
        painter.save();
        element->Paint(painter);
        painter.restore();
    }
}

void CElementHost::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint point = e->position().toPoint();
    if (m_captured) {
        m_captured->OnMouseMove(point);
        return;
    }
    SetHot(ElementAt(point));
}

void CElementHost::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint point = e->position().toPoint();
    m_captured = ElementAt(point);
    if (m_captured) {
        m_captured->SetPressed(true);
        m_captured->OnMouseDown(point);
    }
}

void CElementHost::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !m_captured)
        return;
    CRibbonElement* element = m_captured;
    m_captured = nullptr;
    const QPoint point = e->position().toPoint();
    element->SetPressed(false);
    element->OnMouseUp(point);
    SetHot(ElementAt(point));
}

void CElementHost::leaveEvent(QEvent* e)
{
    if (!m_captured)
        SetHot(nullptr);
    QWidget::leaveEvent(e);
}

} // namespace VIRSUAL_CONTROLS
