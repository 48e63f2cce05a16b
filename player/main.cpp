// The stand-alone album player: plays the album appended to its own file.
#include "common/Platform.h"
#include "player/QemPlayerDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

// The application: runs the player window and ends when it closes.
class CQemPlayerApp {
public:
    int Run()
    {
        Platform::QuitOnTerminationSignals();
        CQemPlayerDlg dialog(QCoreApplication::applicationFilePath());
        // For timing runs: KELVANA_PLAYER_EXIT_WHEN_LOADED=1 reports the unpack
        // time and ends once the album is ready.
        if (qEnvironmentVariableIntValue("KELVANA_PLAYER_EXIT_WHEN_LOADED") == 1) {
            QTextStream(stdout) << "unpacked " << dialog.UnpackMilliseconds() << " ms" << Qt::endl;
            QTimer::singleShot(0, &dialog, &QDialog::reject);
        }
        dialog.exec();
        return 0;
    }
};

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    CQemPlayerApp player;
    return player.Run();
}
