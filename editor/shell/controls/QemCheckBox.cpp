#include "QemCheckBox.h"

#include <QPainter>

CQemCheckBox::CQemCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setAccessibleName(caption);
}

void CQemCheckBox::SetCaption(const QString& caption)
{
    setText(caption);
    setAccessibleName(caption);
}

void CQemCheckBox::SetColours(const QColor& set, const QColor& cleared)
{
    m_set = set;
    m_cleared = cleared;
    update();
}

void CQemCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), FaceColour());
    painter.setFont(font());
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
