#include "QemStatic.h"

#include <QPainter>

CQemStatic::CQemStatic(const QString& windowText, QWidget* parent)
    : QWidget(parent), m_windowText(windowText)
{
    TextChanged();
}

void CQemStatic::SetWindowText(const QString& text)
{
    m_windowText = text;
    TextChanged();
}

void CQemStatic::SetStoredText(const QString& text)
{
    m_stored = text;
    TextChanged();
}

void CQemStatic::SetBackgroundColour(const QColor& colour)
{
    m_background = colour;
    update();
}

void CQemStatic::SetTextColour(const QColor& colour)
{
    m_text = colour;
    update();
}

void CQemStatic::TextChanged()
{
    setAccessibleName(DisplayedText());
    updateGeometry();
    update();
}

QSize CQemStatic::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(DisplayedText()) + 4, metrics.height() + 4);
}

void CQemStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setFont(font());
    painter.setPen(m_text);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, DisplayedText());
}
