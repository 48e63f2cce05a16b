// Start-up reference: the least a Qt Widgets program does to show a main
// window, traced like the editor (KELVANA_STARTUP_TRACE).
#include "editor/app/StartupTrace.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Widgets start"));
    window.resize(1024, 700);
    window.show();
    StartupTrace::Watch(&window);
    return app.exec();
}
