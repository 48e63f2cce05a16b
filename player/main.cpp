// The stand-alone album player: plays the album appended to its own file.
#include "common/Platform.h"
#include "player/QemPlayerDlg.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

// The application: shows the player window and ends when it closes (or on
// SIGTERM), after the window has removed the unpacked album.
class CQemPlayerApp {
public:
    int Run(QApplication& app)
    {
        Platform::QuitOnTerminationSignals();
        CQemPlayerDlg dialog(QCoreApplication::applicationFilePath());
        QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
        // For timing runs: KELVANA_PLAYER_EXIT_WHEN_LOADED=1 reports the unpack
        // time and ends once the album is ready.
        if (qEnvironmentVariableIntValue("KELVANA_PLAYER_EXIT_WHEN_LOADED") == 1) {
            QTextStream(stdout) << "unpacked " << dialog.UnpackMilliseconds() << " ms" << Qt::endl;
            QTimer::singleShot(0, &dialog, &QDialog::reject);
        }
        dialog.show();
        return app.exec();
    }
};

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    CQemPlayerApp player;
    return player.Run(app);
}
