// Writes the name strings of a screen-saver program file: string 0 empty,
// string 1 the given name. Used on the built album.scr, which the system then
// lists as "My Album ScreenSaver".
//   kelvana_scrnames FILE NAME
#include "common/ResourceArea.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: kelvana_scrnames FILE NAME" << Qt::endl;
        return 2;
    }
    const QByteArray block = ResourceArea::StringBlock({QString(), arguments[2]});
    if (!ResourceArea::ReplaceBlock(arguments[1], block)) {
        QTextStream(stderr) << "cannot write the name strings of " << arguments[1] << Qt::endl;
        return 1;
    }
    return 0;
}
