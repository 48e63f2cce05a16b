// The names and folders of one generated album: the final output uses one
// process-wide instance, each template preview has its own.
#pragma once

#include <QString>
#include <array>

struct AlbumOutput {
    enum Folder { Root = 0, Thumbs = 1, Res = 2, Photo = 3 };

    QString movieName;         // file name of the template's movie
    QString configurationName; // file name of the template's configuration
    QString templateFolder;    // the folder holding the template's movie, with a trailing "/"
    std::array<QString, 4> folders; // root, thumbs, res, photo; each with a trailing "/"

    // Makes D, D/thumbs/, D/res/ and D/photo/ in this order and records the
    // four paths; stops with false at the first folder that cannot be made.
    bool MakeFolders(const QString& root);

    const QString& RootFolder() const { return folders[Root]; }
    const QString& ThumbsFolder() const { return folders[Thumbs]; }
    const QString& ResFolder() const { return folders[Res]; }
    const QString& PhotoFolder() const { return folders[Photo]; }

    // The process-wide output of the final generation.
    static AlbumOutput& Final();
};
