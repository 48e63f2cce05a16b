// Unpacks the album that packaging appended to the player's own file
// (layout in common/AlbumPayload.h) into a fresh numbered temporary folder.
//
// The payload comes from whoever sent the executable, so nothing in it is
// trusted: every count and length is checked against the end of the payload,
// names must be plain file names (1 to 255 bytes, not "." or "..", no "/" or
// NUL, valid UTF-8), and files are streamed through a fixed buffer, so memory
// stays small whatever the payload claims. A damaged payload ends unpacking;
// what was written until then stays in the extraction folders for clean-up.
#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

class CPayloadUnpacker {
public:
    enum class Status {
        NoAlbum,       // the trailer is 0 (or the file is too small to hold one): nothing done
        Unpacked,      // every group unpacked
        Damaged,       // a count, length, name or the trailer does not fit the file
        FolderFailed,  // an extraction folder could not be made
        WriteFailed,   // a file could not be written
        Unreadable,    // the source could not be opened or read
    };

    struct Result {
        Status status = Status::NoAlbum;
        // The extraction folders made so far, each with a trailing "/", in the
        // order root, thumbs, res, photo (fewer when making one failed).
        QStringList folders;
        // Full path of the movie: the first root file, in the file manager's
        // order, whose name ends exactly in ".js". Empty unless Unpacked.
        QString moviePath;
        int filesWritten = 0;
    };

    // Unpacks from an open, seekable device (the player's own file).
    static Result Unpack(QIODevice& source);
    // Opens the file and unpacks from it.
    static Result UnpackFile(const QString& path);

    // The movie of an unpacked root folder, as described for Result::moviePath.
    static QString FindMovie(const QString& rootFolder);

    // Removes the extraction folders in reverse order (photo, res, thumbs,
    // root): each is emptied, read-only files included, then removed.
    static void RemoveFolders(const QStringList& folders);

    // A name the unpacker accepts as a plain file name.
    static bool IsSafeName(const QByteArray& name);
};
