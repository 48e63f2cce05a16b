#include "editor/shell/dialogs/DlgOption.h"

#include "editor/core/StringTable.h"
#include "editor/shell/dialogs/DialogUnits.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

OptionsPathRule::Answer AskInBox(QWidget* owner, const QString& question)
{
    switch (QMessageBox::question(owner, Strings::Load(Strings::ProductTitle), question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes: return OptionsPathRule::Answer::Yes;
    case QMessageBox::No: return OptionsPathRule::Answer::No;
    default: return OptionsPathRule::Answer::Cancel;
    }
}

} // namespace

CDlgOption::CDlgOption(const QString& path, QWidget* parent) : QDialog(parent), m_path(path)
{
    using namespace DialogUnits;
    setWindowTitle(QStringLiteral("Option"));
    setAccessibleName(windowTitle());

    auto* label = new QLabel(QStringLiteral("Project path:"), this);
    m_edit = new QLineEdit(path, this);
    m_edit->setAccessibleName(label->text());
    label->setBuddy(m_edit);
    m_browse = new QPushButton(QStringLiteral("Browse"), this);
    m_browse->setAccessibleName(m_browse->text());
    m_browse->setAutoDefault(false);
    m_browse->setFixedWidth(X(40));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setDefault(true);
    m_ok->setFixedWidth(X(50));

    // Label, then edit and Browse on one row, then OK under the edit's left
    // edge, 7 units in from the dialog's left and top.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(X(7), Y(7), X(7), Y(7));
    grid->setHorizontalSpacing(X(4));
    grid->setVerticalSpacing(Y(3));
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_edit, 1, 0);
    grid->addWidget(m_browse, 1, 1);
    grid->addWidget(m_ok, 2, 0, Qt::AlignLeft);
    grid->setColumnStretch(0, 1);
    setFixedSize(Size(166, 57).expandedTo(grid->minimumSize()));

    m_ask = [this](const QString& question) { return AskInBox(this, question); };
    m_tell = [this](const QString& message) {
        QMessageBox::warning(this, Strings::Load(Strings::ProductTitle), message);
    };
    m_picker = [](QWidget* owner, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, QStringLiteral("Select folder"), start);
    };
    connect(m_ok, &QPushButton::clicked, this, &CDlgOption::accept);
    connect(m_browse, &QPushButton::clicked, this, &CDlgOption::Browse);
}

void CDlgOption::SetPrompts(OptionsPathRule::Ask ask, OptionsPathRule::Tell tell)
{
    m_ask = std::move(ask);
    m_tell = std::move(tell);
}

void CDlgOption::Browse()
{
    const QString folder = m_picker(this, m_edit->text());
    if (folder.isEmpty())
        return;
    m_edit->setText(folder);
    m_path = m_edit->text();
}

void CDlgOption::accept()
{
    m_path = m_edit->text();
    if (OptionsPathRule(m_ask, m_tell).Accept(m_path))
        QDialog::accept();
}
