// delivery_bench package TARGET TEMPLATE ALBUM_FOLDER
//     writes the executable album TARGET from the player TEMPLATE and the
//     album folder (root, thumbs/, res/, photo/), as the editor's packaging does
// delivery_bench unpack EXECUTABLE
//     unpacks it as the player does (into a numbered folder of TMPDIR) and
//     leaves the files there; prints the extraction folder
#include "editor/generation/ExeAlbumPackager.h"
#include "player/PayloadUnpacker.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() == 5 && args[1] == QLatin1String("package")) {
        AlbumOutput album;
        const QString root = args[4].endsWith(QLatin1Char('/')) ? args[4] : args[4] + QLatin1Char('/');
        album.folders = {root, root + "thumbs/", root + "res/", root + "photo/"};
        if (!CExeAlbumPackager::WriteExecutable(args[2], args[3], album)) {
            err << "packaging failed" << Qt::endl;
            return 1;
        }
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("unpack")) {
        const CPayloadUnpacker::Result result = CPayloadUnpacker::UnpackFile(args[2]);
        if (result.status != CPayloadUnpacker::Status::Unpacked) {
            err << "unpacking failed" << Qt::endl;
            return 1;
        }
        QTextStream(stdout) << result.folders.value(0) << Qt::endl;
        return 0;
    }
    err << "usage: delivery_bench package TARGET TEMPLATE ALBUM_FOLDER | unpack EXECUTABLE" << Qt::endl;
    return 2;
}
