#include "StaticTip.h"

#include "ShellArt.h"
#include "ShellTheme.h"

#include <QPainter>
#include <QToolTip>

CStaticTip::CStaticTip(const QString& text, QWidget* parent)
    : QWidget(parent), m_brush(QToolTip::palette().color(QPalette::ToolTipBase))
{
    SetText(text);
}

void CStaticTip::SetText(const QString& text)
{
    m_text = text;
    setAccessibleName(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    update();
}

void CStaticTip::SetBrush(const QBrush& brush)
{
    m_brush = brush;
    update();
}

void CStaticTip::SetLines(Lines lines)
{
    m_lines = lines;
    update();
}

void CStaticTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_brush);
    painter.setPen(ShellTheme::Current().Colours().shadow);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawPixmap(kPicturePos, ShellArt::Information(devicePixelRatioF()));

    painter.setPen(QToolTip::palette().color(QPalette::ToolTipText));
    painter.setFont(font());
    const QRect area = rect().adjusted(kTextLeft, 2, -3, -2);
    if (m_lines == Lines::WordWrap) {
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
        return;
    }
    const int lineHeight = fontMetrics().lineSpacing();
    int y = area.top();
    for (const QString& line : SplitLines()) {
        painter.drawText(QRect(area.left(), y, area.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}
