#include "editor/shell/dialogs/AboutDlg.h"

#include "editor/core/EditorSettings.h"
#include "editor/core/StringTable.h"
#include "editor/shell/controls/StaticLink.h"
#include "editor/shell/dialogs/DialogUnits.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent, const QIcon& icon) : QDialog(parent)
{
    using namespace DialogUnits;
    const QString product = Strings::Load(Strings::ProductTitle);
    setWindowTitle(QStringLiteral("About ") + product);
    setAccessibleName(windowTitle());

    auto* picture = new QLabel(this);
    picture->setPixmap((icon.isNull() ? QApplication::windowIcon() : icon).pixmap(32, 32));
    picture->setFixedSize(32, 32);
    picture->setAccessibleName(product);

    auto* name = new CStaticText(product + QStringLiteral(" 1.0"), this);
    name->SetBold(true);
    auto* notice = new CStaticText(QStringLiteral("Copyright (C) Orlemo. All rights reserved."), this);
    const QString site = EditorSettings::SiteAddress();
    m_link = new CStaticLink(site, this, kSiteLinkId);
    m_link->setToolTip(site);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setDefault(true);
    m_ok->setFixedWidth(X(50));

    auto* lines = new QVBoxLayout;
    lines->setSpacing(Y(2));
    lines->addWidget(name);
    lines->addWidget(notice);
    lines->addWidget(m_link, 0, Qt::AlignLeft);
    lines->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(X(7), Y(7), X(7), Y(7));
    top->setSpacing(X(10));
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    top->addWidget(m_ok, 0, Qt::AlignTop);
    setFixedSize(Size(272, 50).expandedTo(top->minimumSize()));

    m_opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    connect(m_link, &CStaticLink::Clicked, this, [this, site](int) { m_opener(QUrl(site)); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}
