#include "editor/shell/update/RunUpdateCheck.h"

#include "editor/shell/update/DlgUpdaterPrompt.h"
#include "editor/shell/update/UpdateChecker.h"

#include <QWidget>

CUpdateChecker* RunUpdateCheck(QWidget* parent)
{
    auto* checker = new CUpdateChecker(parent);
    QObject::connect(checker, &CUpdateChecker::PromptWanted, checker, [parent](const QString& text) {
        auto* prompt = new CDlgUpdaterPrompt(text, parent);
        prompt->setAttribute(Qt::WA_DeleteOnClose);
        prompt->open();
    });
    QObject::connect(checker, &CUpdateChecker::Finished, checker, &QObject::deleteLater);
    checker->Start();
    return checker;
}
