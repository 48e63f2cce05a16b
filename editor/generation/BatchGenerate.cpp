#include "editor/generation/BatchGenerate.h"

#include "common/FileUtils.h"
#include "common/Platform.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/StringTable.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/generation/BatchPhotos.h"
#include "editor/generation/GenerationKinds.h"
#include "editor/generation/GenerationWorker.h"
#include "editor/imaging/DisplayCopies.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

// Qt's own remarks (a missing runtime folder, a codec's write error that is
// reported again with its file) stay out of the batch output.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg || qEnvironmentVariableIsSet("KELVANA_DEBUG"))
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void printError(const QString& text)
{
    StderrMessages().Critical(text);
}

} // namespace

bool BatchGenerate::Wants(int argc, char* argv[])
{
    // Any batch option, with or without --generate: a batch option that the
    // editor would ignore is refused with the usage instead.
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--generate", "--output", "--kind", "--template", "--help", "-h"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

QString BatchGenerate::HelpText()
{
    return QStringLiteral("Usage: Kelvana [PROJECT.qem]\n"
                          "       Kelvana --generate PROJECT.qem --output PATH [--kind KIND] [--template N]\n"
                          "\n"
                          "Without options the editor opens, with the album of PROJECT.qem when one is named.\n"
                          "\n"
                          "  --generate PROJECT.qem  generate the project's album without a window\n"
                          "  --output PATH           where the album goes, as the kind says\n"
                          "  --kind KIND             what to generate (default: folder):\n")
           + GenerationKinds::Help(6)
           + QStringLiteral("  --template N            the template, by its index in the template catalogue\n"
                            "                          (default: the one the project was saved with)\n"
                            "  --help                  show this text\n"
                            "\n"
                            "Progress goes to the error stream. On success the path of what was made (for a\n"
                            "folder album its web page) is printed and the status is 0; a failure prints its\n"
                            "reason and ends with status 1 (2 for a command line that cannot be run).\n");
}

bool BatchGenerate::Parse(const QStringList& arguments, Arguments& parsed, QString& error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            parsed.help = true;
            return true;
        }
        const bool takesValue = option == QLatin1String("--generate") || option == QLatin1String("--output")
                                || option == QLatin1String("--kind") || option == QLatin1String("--template");
        if (!takesValue) {
            error = QStringLiteral("unknown argument %1").arg(option);
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("%1 needs a value").arg(option);
            return false;
        }
        const QString value = arguments[++i];
        if (value.startsWith(QLatin1String("--"))) {
            // "--generate --output x" forgot the project; a file whose name
            // starts with "--" can still be given as "./--name".
            error = QStringLiteral("%1 needs a value, not the option %2").arg(option, value);
            return false;
        }
        if (option == QLatin1String("--generate")) {
            parsed.project = value;
        } else if (option == QLatin1String("--output")) {
            parsed.output = value;
        } else if (option == QLatin1String("--kind")) {
            parsed.kind = value;
        } else {
            bool ok = false;
            parsed.templateIndex = value.toInt(&ok);
            if (!ok || parsed.templateIndex < 0) {
                error = QStringLiteral("--template needs a template index (0, 1, ...), not %1").arg(value);
                return false;
            }
        }
    }
    if (parsed.project.isEmpty()) {
        error = QStringLiteral("--output, --kind and --template are options of --generate PROJECT.qem, which is "
                               "missing; without options the editor opens");
        return false;
    }
    // Only an archive has a place of its own to go: the temporary folder.
    if (parsed.output.isEmpty() && parsed.kind != QLatin1String("zip")) {
        error = QStringLiteral("--generate PROJECT.qem and --output PATH are both needed");
        return false;
    }
    if (!GenerationKinds::Find(parsed.kind)) {
        error = QStringLiteral("unknown kind %1 (known: %2)")
                    .arg(parsed.kind, GenerationKinds::Names().join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

QString BatchGenerate::FailureText(const QString& kind, const GenerationResult& result, const QString& output)
{
    if (!result.cancelled)
        return QStringLiteral("generation failed: %1").arg(result.error);
    // An executable or an archive is written whole at the end, after the
    // photos: a cancelled run never reached it.
    if (kind == QLatin1String("exe") || kind == QLatin1String("zip"))
        return output.isEmpty() ? QStringLiteral("generation cancelled; nothing was written")
                                : QStringLiteral("generation cancelled; nothing was written to %1").arg(output);
    return QStringLiteral("generation cancelled; %1 is incomplete").arg(output);
}

int BatchGenerate::Main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Arguments parsed;
    QString error;
    if (!Parse(arguments, parsed, error)) {
        printError(error);
        std::fprintf(stderr, "%s", HelpText().toLocal8Bit().constData());
        return Usage;
    }
    if (parsed.help) {
        std::printf("%s", HelpText().toLocal8Bit().constData());
        return Ok;
    }

    // Pictures and captions need a GUI application, not a display: a batch
    // run never opens one, so a display that is set but cannot be reached
    // (an old DISPLAY in a script's environment) does not stop it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Platform::ReportOversizedWritesAsErrors();
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvana"));
    QGuiApplication::setOrganizationName(QStringLiteral("Orlemo"));
    Platform::QuitOnTerminationSignals();

    const QString project = QFileInfo(parsed.project).absoluteFilePath();
    if (QFileInfo(project).isDir()) {
        // A project is opened by its file; the folder's own is named after it.
        const QString inside = ProjectFile::PathIn(project);
        printError(QStringLiteral("%1 is a folder, not a project file%2")
                       .arg(project, QFileInfo(inside).isFile() ? QStringLiteral("; its project file is %1").arg(inside)
                                                                : QString()));
        return Failed;
    }
    if (!QFileInfo(project).isFile()) {
        printError(QStringLiteral("the project %1 does not exist").arg(project));
        return Failed;
    }
    const QString appDir = QCoreApplication::applicationDirPath();
    EffectCatalogue& effects = EffectCatalogue::instance();
    TemplateCatalogue& templates = TemplateCatalogue::instance();
    if (effects.Load(appDir) < 1 || templates.Load(appDir) < 1) {
        printError(Strings::Load(Strings::ResourceLoadFailed).replace(QLatin1Char('\n'), QLatin1Char(' '))
                   + QStringLiteral(" (the catalogues in %1/Sources cannot be read)").arg(appDir));
        return Failed;
    }

    // Each photo is decoded once: its thumbnail now and its exported picture
    // later come from that one decoding.
    BatchPhotos photos;
    AlbumModel album(photos, effects);
    std::vector<SkippedPhoto> skipped;
    if (!ProjectFile::Open(album, project, &skipped)) {
        printError(QStringLiteral("%1: the project %2 cannot be read").arg(Strings::Load(Strings::LoadAlbumFailed), project));
        return Failed;
    }
    for (const SkippedPhoto& photo : skipped)
        printError(QStringLiteral("photo %1 (%2) is left out: %3")
                       .arg(photo.position + 1)
                       .arg(photo.photoName.isEmpty() ? QStringLiteral("no name") : photo.photoName, photo.reason));
    int templateIndex = parsed.templateIndex >= 0 ? parsed.templateIndex : ProjectFile::SavedTemplateIndex(project);
    if (parsed.templateIndex >= 0 && !templates.IsValidIndex(templateIndex)) {
        printError(QStringLiteral("there is no template %1 (the catalogue holds %2)")
                       .arg(templateIndex)
                       .arg(templates.Count()));
        return Usage;
    }
    album.SetTemplateIndex(templates.IsValidIndex(templateIndex) ? templateIndex : 0);
    if (album.IsEmpty()) {
        printError(QStringLiteral("%1: the project %2 has no photo that can be read")
                       .arg(Strings::Load(Strings::ChoosePhotosFirst), project));
        return Failed;
    }

    GenerationBlock block;
    block.kind = parsed.kind;
    if (!parsed.output.isEmpty())
        block.outputPath = QDir::cleanPath(QFileInfo(parsed.output).absoluteFilePath());
    GenerationWorker worker(album, block);
    int printed = 0;
    QObject::connect(&worker, &GenerationWorker::Progress, &app, [&printed](int done, int total) {
        if (done <= printed)
            return;
        printed = done;
        std::fprintf(stderr, "photo %d of %d\n", done, total);
        std::fflush(stderr);
    });
    QObject::connect(&worker, &GenerationWorker::Step, &app, [](const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    });
    QObject::connect(&worker, &GenerationWorker::Notify, &app, [](int notice) {
        if (notice == GenerationWorker::Finished)
            QCoreApplication::quit();
    });
    if (!worker.Start()) {
        printError(QStringLiteral("unknown kind %1").arg(parsed.kind));
        return Usage;
    }
    app.exec();
    if (worker.IsRunning()) { // stopped by a signal
        worker.RequestCancel();
        worker.Wait();
    }
    QCoreApplication::processEvents(); // the last progress notices

    DisplayCopies::Instance().ClearView();
    WorkingCopyMap::Instance().DiscardAll();
    const GenerationResult& result = worker.Result();
    if (!result.ok) {
        printError(FailureText(parsed.kind, result, block.outputPath));
        return Failed;
    }
    std::printf("%s\n", result.outputPath.toLocal8Bit().constData());
    return Ok;
}
