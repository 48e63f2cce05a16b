#include "editor/shell/frame/FramePrompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace FramePrompts {

namespace {
const QString kProjectFilter = QStringLiteral("Kelvana Project File (*.qem);;All Files(*.*) (*)");
}

ProjectCommands::Prompts For(QWidget* owner)
{
    ProjectCommands::Prompts prompts;
    prompts.saveChanges = [owner](const QString& question) {
        QMessageBox box(QMessageBox::Warning, owner ? owner->windowTitle() : QString(), question,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return ProjectCommands::Answer::Yes;
        case QMessageBox::No:
            return ProjectCommands::Answer::No;
        default:
            return ProjectCommands::Answer::Cancel;
        }
    };
    prompts.openPath = [owner] { return QFileDialog::getOpenFileName(owner, QStringLiteral("Open"), QString(), kProjectFilter); };
    prompts.saveAsPath = [owner](const QString& folder) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("New"), folder, kProjectFilter);
    };
    prompts.saveCopyPath = [owner] {
        return QFileDialog::getSaveFileName(owner, QString(), QString(), QStringLiteral("All Files(*.*) (*)"));
    };
    return prompts;
}

} // namespace FramePrompts
