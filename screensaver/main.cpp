// The screen-saver program: plays the album beside it over a darkened picture
// of the desktop, full screen or as a preview, or tells that it has no options.
#include "common/Platform.h"
#include "screensaver/DesktopGrab.h"
#include "screensaver/ForeignWindow.h"
#include "screensaver/ScrnSaveCommandLineInfo.h"
#include "screensaver/ScrnSaverWnd.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

// The application: parses the command line, then runs the saver window or
// shows the configure message.
class CscrnsaverApp {
public:
    int Run(QApplication& app)
    {
        CScrnSaveCommandLineInfo commandLine;
        commandLine.Parse(app.arguments().mid(1), qEnvironmentVariable("XSCREENSAVER_WINDOW"));
        const QString programPath = QCoreApplication::applicationFilePath();

        if (commandLine.mode == CScrnSaveCommandLineInfo::Configure) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("User-defined Screen Saver"),
                            QStringLiteral("This screen saver has no options that you can set."), QMessageBox::Ok);
            box.exec();
            return 0;
        }

        QPointer<CScrnSaverWnd> window = new CScrnSaverWnd(programPath);
        if (commandLine.mode == CScrnSaveCommandLineInfo::Preview) {
            const WId parentId = WId(commandLine.windowNumber);
            const QSize area = ForeignWindow::ClientSize(parentId);
            QWindow* parent = area.isEmpty() ? nullptr : QWindow::fromWinId(parentId);
            if (!parent || !window->Create(QString(), QRect(QPoint(0, 0), area), parent))
                return 0;
        } else {
            const QString name = QFileInfo(programPath).completeBaseName();
            if (!window->Create(name, DesktopGrab::VirtualScreen(), nullptr))
                return 0;
        }
        QObject::connect(window, &CScrnSaverWnd::Ended, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        const int status = app.exec();
        delete window.data();
        return status;
    }
};

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    Platform::QuitOnTerminationSignals();
    CscrnsaverApp saver;
    return saver.Run(app);
}
