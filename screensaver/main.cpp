// The screen-saver program.
#include "common/Platform.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("User-defined Screen Saver"),
                    QStringLiteral("This screen saver has no options that you can set."), QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? 0 : 0;
}
