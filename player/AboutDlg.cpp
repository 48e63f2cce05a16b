#include "player/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About player"));
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("Kelvana Player 1.0"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(255, 100)));
}
