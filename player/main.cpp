// The stand-alone album player.
#include "common/Platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    window.setStyleSheet(QStringLiteral("background: black"));
    window.resize(720, 420);
    window.show();
    return app.exec();
}
