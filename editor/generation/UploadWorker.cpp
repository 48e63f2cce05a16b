#include "editor/generation/UploadWorker.h"

#include "common/FileUtils.h"
#include "editor/core/StringTable.h"
#include "editor/generation/AlbumZip.h"
#include "editor/generation/GenerationDriver.h"
#include "editor/generation/ZipProcessNotify.h"

namespace UploadWorker {

void Run(CZipProcessNotify& notify, const FolderAlbumGenerator& generate)
{
    notify.Post(CZipProcessNotify::GenerationStarted);
    const QString folder = FileUtils::TemporaryFolder(true);
    notify.albumFolder = folder;
    const bool generated = !folder.isEmpty() && generate && generate(folder, false).has_value();
    if (!generated) {
        notify.result = CZipProcessNotify::GenerationFailed;
    } else {
        // Cleared before the packing notice, so that a Cancel pressed as soon
        // as the button is enabled is not lost.
        notify.cancelRequested = false;
        notify.Post(CZipProcessNotify::PackingStarted);
        const QString archive = FileUtils::MakeTempPath(QStringLiteral("~"), QStringLiteral("zip"));
        if (!archive.isEmpty() && AlbumZip::PackFolder(folder, archive, &notify)) {
            notify.archivePath = archive;
            notify.result = CZipProcessNotify::Success;
        } else {
            notify.result = notify.cancelRequested ? CZipProcessNotify::PackingCancelled
                                                   : CZipProcessNotify::PackingFailed;
        }
    }
    notify.Post(CZipProcessNotify::RunEnded);
    notify.SetEnd();
}

std::thread Start(CZipProcessNotify& notify, FolderAlbumGenerator generate)
{
    notify.ResetEnd();
    return std::thread([&notify, generate = std::move(generate)] { Run(notify, generate); });
}

std::thread Start(CZipProcessNotify& notify, const AlbumModel& album)
{
    notify.ResetEnd();
    return std::thread([&notify, &album] {
        GenerationDriver driver(album);
        Run(notify, driver.AsGenerator());
    });
}

QString ResultMessage(int result)
{
    if (result == CZipProcessNotify::Success || result == CZipProcessNotify::PackingCancelled)
        return QString();
    return Strings::Load(Strings::GenerateFailed);
}

} // namespace UploadWorker
