#include "editor/generation/GenerationKinds.h"

#include "common/FileUtils.h"
#include "editor/generation/ExeAlbumPackager.h"
#include "editor/generation/GenerationDriver.h"
#include "editor/generation/OutputPlace.h"
#include "editor/generation/ScreenSaverPackager.h"
#include "editor/generation/UploadWorker.h"
#include "editor/generation/WebPage.h"
#include "editor/generation/XScreenSaverInstall.h"
#include "editor/generation/ZipProcessNotify.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace {

void configure(GenerationDriver& driver, const GenerationRequest& request)
{
    driver.SetMessageHandler(request.message);
    driver.SetProgress(request.progress);
    driver.SetCancelFlag(request.cancel);
}

void step(const GenerationRequest& request, const QString& text)
{
    if (request.step)
        request.step(text);
}

bool cancelRequested(const GenerationRequest& request) { return request.cancel && *request.cancel; }

QString appDirOf(const GenerationRequest& request)
{
    return request.appDir.isEmpty() ? QCoreApplication::applicationDirPath() : request.appDir;
}

// The result of a generation that ended without output.
GenerationResult failed(const GenerationDriver& driver, const QString& otherwise = QString())
{
    GenerationResult result;
    result.cancelled = driver.Cancelled();
    result.error = driver.LastError().isEmpty() ? otherwise : driver.LastError();
    return result;
}

GenerationResult failed(const QString& error)
{
    GenerationResult result;
    result.error = error;
    return result;
}

// A file output (the executable, the archive) needs its folder and must not be
// a folder itself; checked before the photos are exported, not after.
bool prepareFileTarget(const QString& target, QString& error)
{
    error = OutputPlace::RefusalFor(target);
    if (!error.isEmpty())
        return false; // the player template itself, say
    const QFileInfo info(target);
    if (info.isDir()) {
        error = QStringLiteral("%1 is a folder; name the file to write").arg(target);
        return false;
    }
    if (!FileUtils::MakePath(info.absolutePath())) {
        const QString why = OutputPlace::InvalidPathReason(info.absolutePath());
        error = QStringLiteral("cannot create the output folder %1").arg(info.absolutePath())
                + (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        return false;
    }
    return true;
}

// The folder album: movie, configuration, photos and the web page.
GenerationResult generateFolder(const AlbumModel& album, const GenerationRequest& request)
{
    GenerationDriver driver(album);
    configure(driver, request);
    const std::optional<AlbumOutput> output = driver.GenerateFolderAlbum(request.output, request.autoStart);
    if (!output)
        return failed(driver);
    GenerationResult result;
    result.ok = true;
    result.outputPath = output->RootFolder() + WebPage::AlbumNameOf(output->RootFolder()) + QStringLiteral(".html");
    return result;
}

// The stand-alone executable: the packaging generates into its own temporary
// folder, without automatic start, and appends that album to the player.
GenerationResult generateExecutable(const AlbumModel& album, const GenerationRequest& request)
{
    QString error;
    if (!prepareFileTarget(request.output, error))
        return failed(error);
    GenerationDriver driver(album);
    configure(driver, request);
    CExeAlbumPackager packager(
        [&](const QString& folder, bool autoStart) {
            std::optional<AlbumOutput> output = driver.GenerateFolderAlbum(folder, autoStart);
            if (output)
                step(request, QStringLiteral("writing the executable %1").arg(request.output));
            return output;
        },
        appDirOf(request));
    if (!packager.PackageAlbum(request.output))
        return failed(driver, packager.LastError());
    GenerationResult result;
    result.ok = true;
    result.outputPath = request.output;
    return result;
}

// The screen saver: the folder album D with automatic start, then the saver
// program beside it, named after D. A cancel, even one that came after the
// last photo, skips the packaging.
GenerationResult generateScreenSaver(const AlbumModel& album, const GenerationRequest& request)
{
    GenerationDriver driver(album);
    configure(driver, request);
    const std::optional<AlbumOutput> output = driver.GenerateFolderAlbum(request.output, true);
    if (!output)
        return failed(driver);
    if (cancelRequested(request)) {
        GenerationResult result = failed(QStringLiteral("cancelled before the screen saver was made"));
        result.cancelled = true;
        return result;
    }
    const CScreenSaverPackager packager(appDirOf(request));
    step(request, QStringLiteral("making the screen saver %1").arg(CScreenSaverPackager::TargetPath(output->RootFolder())));
    const CScreenSaverPackager::Result packaged = packager.Package(output->RootFolder());
    if (!packaged.ok)
        return failed(QStringLiteral("cannot make the screen saver %1 from %2").arg(packaged.path, packager.TemplatePath()));
    GenerationResult result;
    result.ok = true;
    result.outputPath = packaged.path;
    if (request.install)
        result.installed = XScreenSaverInstall::Install(packaged.path);
    return result;
}

// The archive the upload makes: generated into a temporary folder and packed
// as ~N.zip there; then moved to the requested place, if any. Nothing but the
// archive is kept.
GenerationResult generateArchive(const AlbumModel& album, const GenerationRequest& request)
{
    QString error;
    if (!request.output.isEmpty() && !prepareFileTarget(request.output, error))
        return failed(error);
    GenerationDriver driver(album);
    configure(driver, request);
    CZipProcessNotify notify;
    int reported = -1;
    QObject::connect(
        &notify, &CZipProcessNotify::Notice, &notify,
        [&](int notice, int value) {
            if (cancelRequested(request))
                notify.cancelRequested = true; // stops the packing at its next step
            if (notice == CZipProcessNotify::PackingStarted) {
                step(request, QStringLiteral("packing the album"));
            } else if (notice == CZipProcessNotify::PackingProgress && value / 10 > reported) {
                reported = value / 10;
                step(request, QStringLiteral("packed %1%").arg(value));
            }
        },
        Qt::DirectConnection);
    UploadWorker::Run(notify, driver.AsGenerator());
    if (!notify.albumFolder.isEmpty())
        FileUtils::DeleteTree(notify.albumFolder);

    switch (notify.result) {
    case CZipProcessNotify::Success: break;
    case CZipProcessNotify::GenerationFailed: return failed(driver, QStringLiteral("cannot create a temporary folder"));
    case CZipProcessNotify::PackingCancelled: {
        GenerationResult result = failed(QStringLiteral("cancelled while packing"));
        result.cancelled = true;
        return result;
    }
    default: return failed(QStringLiteral("cannot pack the album into an archive in %1").arg(FileUtils::TempDir()));
    }
    GenerationResult result;
    result.outputPath = notify.archivePath;
    if (!request.output.isEmpty()) {
        if (QFileInfo::exists(request.output))
            QFile::remove(request.output);
        if (!QFile::rename(notify.archivePath, request.output))
            return failed(QStringLiteral("cannot move the archive to %1; it is at %2").arg(request.output, notify.archivePath));
        result.outputPath = request.output;
    }
    result.ok = true;
    return result;
}

struct NamedKind {
    QString name;
    GenerationKind kind;
    const char* help; // what PATH is and what is made there, for --help
};

// In the order the help lists them.
const std::vector<NamedKind>& table()
{
    static const std::vector<NamedKind> kinds{
        {QStringLiteral("folder"), generateFolder,
         "the folder PATH: the web page N.html, the movie N.js, the\n"
         "configuration N.xml (N is PATH's name without extension)\n"
         "and the folders photo/, thumbs/ and res/"},
        {QStringLiteral("exe"), generateExecutable,
         "the stand-alone executable PATH: the player with the\n"
         "album inside (replaced if it exists)"},
        {QStringLiteral("screensaver"), generateScreenSaver,
         "the folder album PATH, starting by itself, with the\n"
         "screen saver PATH/N.scr beside it (not installed)"},
        {QStringLiteral("zip"), generateArchive,
         "a ZIP archive of the folder album, written to PATH\n"
         "(replaced if it exists); without --output it stays in\n"
         "the temporary folder as ~K.zip"},
    };
    return kinds;
}

} // namespace

const GenerationKind* GenerationKinds::Find(const QString& name)
{
    for (const NamedKind& entry : table())
        if (entry.name == name)
            return &entry.kind;
    return nullptr;
}

QStringList GenerationKinds::Names()
{
    QStringList names;
    for (const NamedKind& entry : table())
        names << entry.name;
    return names;
}

QString GenerationKinds::Help(int indent)
{
    const int width = 13; // the longest name and two spaces
    QString text;
    for (const NamedKind& entry : table()) {
        const QStringList lines = QString::fromUtf8(entry.help).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            text += QString(indent, QLatin1Char(' '));
            text += (i == 0 ? entry.name : QString()).leftJustified(width);
            text += lines[i] + QLatin1Char('\n');
        }
    }
    return text;
}
