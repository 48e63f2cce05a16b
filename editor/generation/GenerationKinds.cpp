#include "editor/generation/GenerationKinds.h"

#include "editor/generation/GenerationDriver.h"
#include "editor/generation/WebPage.h"

#include <map>

namespace {

// The folder album: movie, configuration, photos and the web page.
GenerationResult generateFolder(const AlbumModel& album, const GenerationRequest& request)
{
    GenerationDriver driver(album);
    driver.SetMessageHandler(request.message);
    driver.SetProgress(request.progress);
    driver.SetCancelFlag(request.cancel);
    GenerationResult result;
    const std::optional<AlbumOutput> output = driver.GenerateFolderAlbum(request.output, request.autoStart);
    result.ok = output.has_value();
    result.cancelled = driver.Cancelled();
    result.error = driver.LastError();
    if (output)
        result.outputPath = output->RootFolder() + WebPage::AlbumNameOf(output->RootFolder()) + QStringLiteral(".html");
    return result;
}

const std::map<QString, GenerationKind>& table()
{
    static const std::map<QString, GenerationKind> kinds{
        {QStringLiteral("folder"), generateFolder},
    };
    return kinds;
}

} // namespace

const GenerationKind* GenerationKinds::Find(const QString& name)
{
    const auto it = table().find(name);
    return it == table().end() ? nullptr : &it->second;
}

QStringList GenerationKinds::Names()
{
    QStringList names;
    for (const auto& entry : table())
        names << entry.first;
    return names;
}
