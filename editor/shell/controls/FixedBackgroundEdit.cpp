#include "FixedBackgroundEdit.h"

#include <QEvent>

CFixedBackgroundEdit::CFixedBackgroundEdit(QWidget* parent)
    : QLineEdit(parent)
{
    FixBackground();
}

void CFixedBackgroundEdit::FixBackground()
{
    m_fixing = true;
    QPalette colours = palette();
    const QColor window = colours.color(QPalette::Active, QPalette::Base);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, window);
        colours.setColor(group, QPalette::Window, window);
    }
    setPalette(colours);
    setAutoFillBackground(true);
    m_fixing = false;
}

void CFixedBackgroundEdit::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (!m_fixing && (e->type() == QEvent::StyleChange || e->type() == QEvent::ApplicationPaletteChange))
        FixBackground();
}
