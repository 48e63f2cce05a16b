#include "ColourButton.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>

namespace {

QPixmap Swatch(const QColor& colour, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.setBrush(colour.isValid() ? colour : QColor(Qt::black));
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    return pixmap;
}

} // namespace

ColourButton::ColourButton(QWidget* parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::InstantPopup);
    setAccessibleName(tr("Color"));
    setToolTip(tr("Color"));
    auto* menu = new QMenu(this);
    m_automatic = menu->addAction(tr("Automatic"), this, [this] { Choose(QColor()); });
    menu->addSeparator();
    for (const QColor& colour : {QColor(Qt::black), QColor(Qt::white), QColor(Qt::red), QColor(Qt::darkRed),
                                 QColor(Qt::yellow), QColor(Qt::green), QColor(Qt::darkGreen), QColor(Qt::cyan),
                                 QColor(Qt::blue), QColor(Qt::darkBlue), QColor(Qt::magenta), QColor(Qt::gray)}) {
        QAction* action = menu->addAction(QIcon(Swatch(colour, QSize(14, 14))), colour.name(),
                                          this, [this, colour] { Choose(colour); });
        action->setIconVisibleInMenu(true);
    }
    menu->addSeparator();
    m_other = menu->addAction(tr("Other"), this, &ColourButton::OpenDialog);
    setMenu(menu);
    UpdateSwatch();
}

void ColourButton::SetColour(const QColor& colour)
{
    m_colour = colour;
    UpdateSwatch();
}

void ColourButton::Choose(const QColor& colour)
{
    SetColour(colour);
    emit ColourChosen(colour);
}

void ColourButton::OpenDialog()
{
    if (!m_dialog) {
        m_dialog = new QColorDialog(this);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dialog, &QColorDialog::colorSelected, this, &ColourButton::Choose);
    }
    m_dialog->setCurrentColor(m_colour.isValid() ? m_colour : QColor(Qt::black));
    m_dialog->open();
}

void ColourButton::UpdateSwatch()
{
    setIcon(QIcon(Swatch(m_colour, QSize(28, 14))));
    setIconSize(QSize(28, 14));
}
