// The end of a folder album: the movie and the configuration renamed after the
// output folder, and the web page that plays them in a browser.
#pragma once

#include <QByteArray>
#include <QString>

struct AlbumOutput;

class WebPage {
public:
    // The album name N: the last component of the output folder without any
    // extension ("Trip.2009/" gives "Trip").
    static QString AlbumNameOf(const QString& outputFolder);

    // The folder a file name chosen in the save dialog stands for: the path
    // without its extension, with a trailing "/" (Out/Trip.html -> Out/Trip/).
    static QString FolderForChosenPath(const QString& path);

    // The page's text: N.js on a black page with a stage of width x height,
    // the configuration carried inline for browsers that refuse to fetch
    // files. Lines end in CR LF; the last has no line break.
    static QByteArray Text(const QString& name, int width, int height, const QByteArray& configuration);

    // Renames the movie and the configuration in the output's root folder to
    // N.js and N.xml (replacing what an earlier generation left) and writes
    // N.html. False with `error` set when one of the three cannot be made.
    static bool Finish(const AlbumOutput& output, int width, int height, QString* error = nullptr);
};
