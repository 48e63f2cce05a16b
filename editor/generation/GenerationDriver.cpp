#include "editor/generation/GenerationDriver.h"

#include "common/FileUtils.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/StringTable.h"
#include "editor/generation/AlbumConfiguration.h"
#include "editor/generation/OutputPlace.h"
#include "editor/generation/PhotoExport.h"
#include "editor/generation/PreviewSlots.h"
#include "editor/generation/WebPage.h"

#include <QFileInfo>

namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The output record of a template: its folder, movie and configuration names.
AlbumOutput outputFor(const QString& moviePath, const QString& configurationPath)
{
    AlbumOutput output;
    output.templateFolder = withSlash(FileUtils::FolderOf(moviePath));
    output.movieName = FileUtils::LastComponent(moviePath);
    output.configurationName = FileUtils::LastComponent(configurationPath);
    return output;
}

void copySamplePictures(const AlbumOutput& output, bool keepExisting)
{
    FileUtils::CopyFolderFiles(output.templateFolder + QStringLiteral("photo/"), output.PhotoFolder(), keepExisting);
    FileUtils::CopyFolderFiles(output.templateFolder + QStringLiteral("Thumbs/"), output.ThumbsFolder(), keepExisting);
}

} // namespace

GenerationDriver::GenerationDriver(const AlbumModel& album) : m_album(album) {}

bool GenerationDriver::fail(const QString& error)
{
    if (m_error.isEmpty())
        m_error = error;
    return false;
}

bool GenerationDriver::CheckAlbumHasPhotos() const
{
    if (!m_album.IsEmpty())
        return true;
    if (m_message)
        m_message(Warning, Strings::Load(Strings::AlbumHasNoPhotos));
    return false;
}

void GenerationDriver::copyMusic(const AlbumOutput& output, const TemplateEntry& entry)
{
    const AlbumSettings& settings = m_album.Settings();
    const QFileInfo chosen(settings.music);
    QString source;
    if (!settings.HasNoMusic() && chosen.isAbsolute() && chosen.isFile()) {
        source = settings.music;
    } else {
        const QString own = AlbumConfiguration::DefaultMusic(entry.configurationPath);
        if (own.isEmpty())
            return;
        source = output.templateFolder + own;
        if (!QFileInfo(source).isFile())
            return; // the template ships no music
    }
    const QString target = output.ResFolder() + FileUtils::LastComponent(source);
    if (!FileUtils::CopyFile(target, source))
        fail(QStringLiteral("cannot write the music %1 into the output: %2 cannot be written").arg(source, target));
}

bool GenerationDriver::writeConfigurationAndPhotos(const TemplateEntry& entry, const AlbumOutput& output,
                                                   bool preview, bool autoStart)
{
    PhotoExporter exporter(m_album, output);
    if (!AlbumConfiguration::Write(m_album, entry, output, exporter, preview, autoStart))
        fail(QStringLiteral("cannot write the album configuration %1 from the template's %2")
                 .arg(output.RootFolder() + output.configurationName, output.templateFolder + output.configurationName));
    if (!exporter.Run(m_progress, m_cancel)) {
        if (exporter.Cancelled()) {
            m_cancelled = true;
            fail(QStringLiteral("cancelled"));
        }
        for (const QString& error : exporter.Errors())
            fail(error);
    }
    return m_error.isEmpty();
}

std::optional<AlbumOutput> GenerationDriver::GenerateFolderAlbum(const QString& folderPath, bool autoStart)
{
    m_error.clear();
    m_cancelled = false;
    if (m_album.IsEmpty()) {
        if (m_message)
            m_message(Critical, Strings::Load(Strings::ChoosePhotosFirst));
        fail(QStringLiteral("the album has no photos"));
        return std::nullopt;
    }
    const TemplateCatalogue& templates = TemplateCatalogue::instance();
    const int index = std::max(m_album.Settings().templateIndex, 0);
    if (!templates.IsValidIndex(index)) {
        fail(QStringLiteral("there is no template %1 (the catalogue holds %2)").arg(index).arg(templates.Count()));
        return std::nullopt;
    }
    const TemplateEntry& entry = templates.Entry(index);
    const QString folder = withSlash(folderPath);
    if (WebPage::AlbumNameOf(folder).isEmpty()) {
        fail(QStringLiteral("%1 cannot name an album").arg(folderPath));
        return std::nullopt;
    }

    // The program's own data is never an output: nothing is written there.
    if (const QString refusal = OutputPlace::RefusalFor(folder); !refusal.isEmpty()) {
        fail(refusal);
        return std::nullopt;
    }

    AlbumOutput& output = AlbumOutput::Final();
    output = outputFor(entry.moviePath, entry.configurationPath);
    if (!output.MakeFolders(folder)) {
        const QString why = QFileInfo(folder).isDir() ? QString() : OutputPlace::InvalidPathReason(folder);
        fail(QStringLiteral("cannot create the output folder %1").arg(folder)
             + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return std::nullopt;
    }
    for (const QString& made : output.folders) {
        if (!QFileInfo(made).isWritable()) {
            fail(QStringLiteral("the output folder %1 cannot be written").arg(made));
            return std::nullopt;
        }
    }
    // A copy that fails stops the generation before the configuration is
    // written: an album without its movie or music does not play.
    const QString movieTarget = output.RootFolder() + output.movieName;
    if (!QFileInfo(entry.moviePath).isFile()) {
        fail(QStringLiteral("the template movie %1 is missing").arg(entry.moviePath));
        return std::nullopt;
    }
    if (!FileUtils::CopyFile(movieTarget, entry.moviePath)) {
        fail(QStringLiteral("cannot write the template movie into the output: %1 cannot be written").arg(movieTarget));
        return std::nullopt;
    }
    if (const AlbumOutput* preview = PreviewSlots::Instance().Slot(index))
        FileUtils::CopyFolderFiles(preview->ThumbsFolder(), output.ThumbsFolder(), false);
    else
        WrittenThumbnails::Instance().Clear();
    copyMusic(output, entry);
    if (!m_error.isEmpty())
        return std::nullopt;

    if (!writeConfigurationAndPhotos(entry, output, false, autoStart))
        return std::nullopt;
    QString error;
    if (!WebPage::Finish(output, entry.width, entry.height, &error)) {
        fail(error);
        return std::nullopt;
    }
    return output;
}

FolderAlbumGenerator GenerationDriver::AsGenerator()
{
    return [this](const QString& folder, bool autoStart) { return GenerateFolderAlbum(folder, autoStart); };
}

std::optional<AlbumOutput> GenerationDriver::GeneratePreview(int templateIndex, const QString& moviePath,
                                                             const QString& configurationPath)
{
    m_error.clear();
    m_cancelled = false;
    PreviewSlots& previews = PreviewSlots::Instance();
    if (templateIndex < 0 || templateIndex >= PreviewSlots::kCount) {
        fail(QStringLiteral("template %1 has no preview slot").arg(templateIndex));
        return std::nullopt;
    }
    const TemplateCatalogue& templates = TemplateCatalogue::instance();
    TemplateEntry entry;
    if (templates.IsValidIndex(templateIndex))
        entry = templates.Entry(templateIndex);
    entry.moviePath = moviePath;
    entry.configurationPath = configurationPath;

    if (AlbumOutput* output = previews.Slot(templateIndex)) {
        if (!m_album.IsEmpty())
            FileUtils::EmptyFolder(output->PhotoFolder());
        else
            copySamplePictures(*output, true);
        writeConfigurationAndPhotos(entry, *output, true, false);
        return *output;
    }

    WrittenThumbnails::Instance().Clear();
    AlbumOutput output = outputFor(moviePath, configurationPath);
    const QString folder = FileUtils::TemporaryFolder(true);
    if (folder.isEmpty() || !output.MakeFolders(folder)) {
        if (!folder.isEmpty())
            FileUtils::DeleteTree(folder);
        fail(QStringLiteral("cannot create a preview folder"));
        return std::nullopt;
    }
    previews.Set(templateIndex, output);
    FileUtils::CopyFile(output.RootFolder() + output.movieName, moviePath);
    FileUtils::CopyFolderFiles(output.templateFolder + QStringLiteral("res/"), output.ResFolder(), false);
    FileUtils::EmptyFolder(output.PhotoFolder());
    if (m_album.IsEmpty())
        copySamplePictures(output, false);
    writeConfigurationAndPhotos(entry, output, true, false);
    return output;
}
