// The screen-saver program: plays the album beside it over a darkened picture
// of the desktop, full screen or as a preview, or tells that it has no options.
#include "common/movieplayer/MovieStateReport.h"
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

// Qt's quit first asks every window to close, and a window embedded in a
// foreign one (the preview) refuses, which would keep the saver running for
// ever once the preview is over or the saver is told to stop. The saver has
// nothing to ask: a quit ends the event loop at once.
class QuitAtOnce : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
            QCoreApplication::exit(0);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

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
        if (CMoviePlayer* control = window->MovieControl())
            MovieStateReport::WatchFromEnvironment(*control);
        QObject::connect(window, &CScrnSaverWnd::Ended, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        const int status = app.exec();
        delete window.data();
        return status;
    }
};

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QuitAtOnce quitAtOnce;
    app.installEventFilter(&quitAtOnce);
    Platform::QuitOnTerminationSignals();
    CscrnsaverApp saver;
    return saver.Run(app);
}
