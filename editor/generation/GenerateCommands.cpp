#include "editor/generation/GenerateCommands.h"

#include "common/FileUtils.h"
#include "editor/generation/GenerationWorker.h"
#include "editor/generation/WebPage.h"

namespace GenerateCommands {

void FolderAlbum(GenerationBlock& block, const QString& chosenPath)
{
    block.kind = QStringLiteral("folder");
    block.executable = false;
    block.autoStart = false;
    block.install = false;
    block.outputPath = WebPage::FolderForChosenPath(chosenPath);
}

void Executable(GenerationBlock& block, const QString& chosenPath)
{
    block.kind = QStringLiteral("exe");
    block.executable = true;
    block.autoStart = false;
    block.install = false;
    block.outputPath = chosenPath;
}

void ScreenSaver(GenerationBlock& block, const QString& chosenPath)
{
    block.kind = QStringLiteral("screensaver");
    block.executable = false;
    block.autoStart = true;
    block.install = true;
    block.outputPath = WebPage::FolderForChosenPath(chosenPath);
}

bool ScreenSaverPreview(GenerationBlock& block)
{
    block.kind = QStringLiteral("screensaver");
    block.executable = false;
    block.autoStart = true;
    block.install = false;
    block.outputPath = FileUtils::TemporaryFolder(true);
    return !block.outputPath.isEmpty();
}

} // namespace GenerateCommands
