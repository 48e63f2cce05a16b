#include "editor/shell/controls/StaticLink.h"

#include <QKeyEvent>
#include <QMouseEvent>

CStaticLink::CStaticLink(const QString& text, QWidget* parent, int controlId)
    : CStaticText(text, parent), m_controlId(controlId)
{
    SetUnderline(true);
    setCursor(Qt::PointingHandCursor);
    // Only the text itself is the link, not the space a layout might add.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

QColor CStaticLink::TextColor() const
{
    return QColor::fromRgb(m_hovered ? kHoverColour : kNormalColour);
}

void CStaticLink::SetHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    update();
}

void CStaticLink::enterEvent(QEnterEvent* event)
{
    SetHovered(true);
    CStaticText::enterEvent(event);
}

void CStaticLink::leaveEvent(QEvent* event)
{
    SetHovered(false);
    m_pressed = false;
    CStaticText::leaveEvent(event);
}

void CStaticLink::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CStaticLink::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit Clicked(m_controlId);
}

void CStaticLink::keyPressEvent(QKeyEvent* event)
{
    // Keyboard users follow the link with Enter or Space once it has the focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit Clicked(m_controlId);
        return;
    }
    CStaticText::keyPressEvent(event);
}
