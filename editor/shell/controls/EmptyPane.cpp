#include "editor/shell/controls/EmptyPane.h"

#include "editor/shell/controls/ShellTheme.h"

#include <QPainter>

EmptyPane::EmptyPane(const QString& what, QWidget* parent) : QWidget(parent), m_what(what)
{
    setAccessibleName(what);
    setAccessibleDescription(NoteFor(what));
    connect(&ShellTheme::Current(), &ShellTheme::Changed, this, qOverload<>(&QWidget::update));
}

QString EmptyPane::NoteFor(const QString& what)
{
    return QStringLiteral("%1: not available in this version").arg(what);
}

void EmptyPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ShellColours& colours = ShellTheme::Current().Colours();
    painter.fillRect(rect(), colours.panel);
    painter.setPen(colours.shadow);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, NoteFor(m_what));
}
