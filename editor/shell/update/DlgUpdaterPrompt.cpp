#include "editor/shell/update/DlgUpdaterPrompt.h"

#include "editor/core/EditorSettings.h"
#include "editor/shell/dialogs/DialogUnits.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CDlgUpdaterPrompt::CDlgUpdaterPrompt(const QString& message, QWidget* parent) : QDialog(parent)
{
    using namespace DialogUnits;
    setWindowTitle(QStringLiteral("Check for Updates"));
    setAccessibleName(windowTitle());

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
    icon->setAccessibleName(QStringLiteral("Question"));
    m_message = new QLabel(message, this);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setMinimumSize(X(198), Y(51));
    m_message->setAccessibleName(message);

    m_yes = new QPushButton(QStringLiteral("Yes"), this);
    m_yes->setAccessibleName(m_yes->text());
    m_yes->setDefault(true);
    m_no = new QPushButton(QStringLiteral("No"), this);
    m_no->setAccessibleName(m_no->text());
    for (QPushButton* button : {m_yes, m_no})
        button->setFixedWidth(X(50));

    auto* body = new QHBoxLayout;
    body->setSpacing(X(10));
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addWidget(m_message, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(X(7), Y(7), X(7), Y(7));
    column->addLayout(body, 1);
    column->addLayout(buttons);
    resize(Size(245, 86).expandedTo(column->sizeHint()));

    m_opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    connect(m_yes, &QPushButton::clicked, this, &CDlgUpdaterPrompt::accept);
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
}

QUrl CDlgUpdaterPrompt::DownloadPage()
{
    return QUrl(EditorSettings::SiteAddress() + QStringLiteral("download.html"));
}

void CDlgUpdaterPrompt::accept()
{
    m_opener(DownloadPage());
    QDialog::accept();
}
