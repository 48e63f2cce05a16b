// The stand-alone album player: plays the album appended to its own file.
#include "common/movieplayer/MovieStateReport.h"
#include "common/Platform.h"
#include "player/QemPlayerDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

// The application: shows the player window and ends when it closes (or on
// SIGTERM), after the window has removed the unpacked album.
class CQemPlayerApp {
public:
    int Run(QApplication& app, const QElapsedTimer& started)
    {
        Platform::QuitOnTerminationSignals();
        CQemPlayerDlg dialog(QCoreApplication::applicationFilePath());
        // Without its movie control the window cannot be made: end quietly.
        if (!dialog.HasControl())
            return 1;
        QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
        MovieStateReport::WatchFromEnvironment(dialog.Flash());
        // For timing runs: KELVANA_PLAYER_EXIT_WHEN_LOADED=1 reports the unpack
        // time and the time from start until the movie is loaded (its
        // configuration read and its first photo there), then ends.
        int status = 0;
        if (qEnvironmentVariableIntValue("KELVANA_PLAYER_EXIT_WHEN_LOADED") == 1) {
            QTimer::singleShot(0, &dialog, [&] {
                const bool loaded = dialog.Flash().WaitForMovie(120000);
                QTextStream out(stdout);
                out << "unpacked " << dialog.UnpackMilliseconds() << " ms";
                if (loaded)
                    out << ", movie loaded " << started.elapsed() << " ms after start";
                else
                    out << ", no movie loaded";
                out << Qt::endl;
                status = loaded ? 0 : 3;
                dialog.reject();
            });
        }
        dialog.show();
        const int loopStatus = app.exec();
        return status != 0 ? status : loopStatus;
    }
};

int main(int argc, char* argv[])
{
    QElapsedTimer started;
    started.start();
    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    CQemPlayerApp player;
    return player.Run(app, started);
}
