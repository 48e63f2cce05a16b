// Delivers an album as one stand-alone executable: a copy of the player
// program followed by the album's files (layout in common/AlbumPayload.h).
#pragma once

#include "editor/generation/AlbumOutput.h"
#include "editor/generation/FolderAlbumGenerator.h"

#include <QString>
#include <QStringList>

class QFileDevice;

class CExeAlbumPackager {
public:
    // `appDir` is the folder holding the editor program; the player template
    // is appDir + "/Sources/Player".
    CExeAlbumPackager(FolderAlbumGenerator generate, QString appDir);

    // Generates the album into a fresh temporary folder, writes the executable
    // at `target` (overwriting it) and removes the temporary album. False when
    // the generation, the template, the copy or a write failed; after a write
    // failure no partial executable is left at `target`. A generation that
    // yields no album (cancelled, or a full disk) leaves no temporary folder;
    // after the later failures the generated album stays for inspection.
    bool PackageAlbum(const QString& target);

    // Why the last PackageAlbum failed, for the packaging steps; empty when it
    // succeeded or when the generation failed (its driver knows why).
    const QString& LastError() const { return m_error; }

    QString TemplatePath() const;
    static QString TemplatePath(const QString& appDir);

    // Copies the template over `target` and appends the payload of `album`'s
    // four folders and the trailer; the result gets execute permission. On a
    // write failure the target is deleted and the result is false.
    static bool WriteExecutable(const QString& target, const QString& templatePath, const AlbumOutput& album);

    // Appends one file group for the files `names` of `folder` at the
    // device's current position: the count, then one entry per file that can
    // be opened and read whole, in the order given. Files that cannot be
    // opened (or shrink while being read) are left out and not counted.
    // False on a write failure.
    static bool WriteGroup(QFileDevice& out, const QString& folder, const QStringList& names);

private:
    FolderAlbumGenerator m_generate;
    QString m_appDir;
    QString m_error;
};
