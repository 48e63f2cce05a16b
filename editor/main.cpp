// The album editor.
#include "common/Platform.h"
#include "editor/app/QemApp.h"
#include "editor/app/StartupTrace.h"
#include "editor/generation/BatchGenerate.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // --generate and --help run without a window (and without a display).
    if (BatchGenerate::Wants(argc, argv))
        return BatchGenerate::Main(argc, argv);

    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvana"));
    QApplication::setOrganizationName(QStringLiteral("Orlemo"));
    Platform::QuitOnTerminationSignals();

    CqemApp editor;
    if (!editor.InitInstance())
        return editor.ExitCode();
    StartupTrace::Watch(editor.MainWindow());
    const int status = app.exec();
    editor.ExitInstance();
    return status;
}
