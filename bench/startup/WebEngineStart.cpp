// Start-up reference: a Qt Widgets main window holding a web view that shows
// a small local page, prepared for the web engine like the editor and traced
// like it (KELVANA_STARTUP_TRACE).
#include "common/Platform.h"
#include "editor/app/StartupTrace.h"

#include <QApplication>
#include <QMainWindow>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("WebEngine start"));
    window.resize(1024, 700);
    auto* view = new QWebEngineView(&window);
    view->setHtml(QStringLiteral("<!DOCTYPE html><html><body style=\"background:#000;color:#fff\">start</body></html>"),
                  QUrl(QStringLiteral("file:///")));
    window.setCentralWidget(view);
    window.show();
    StartupTrace::Watch(&window);
    return app.exec();
}
