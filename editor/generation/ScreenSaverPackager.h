// Delivers an album as a screen saver: a copy of the screen-saver program
// "album.scr" (beside the editor) is put into the generated album folder F,
// named F + (A without extension) + ".scr" where A is F's last component, and
// its name strings are replaced: string 0 empty, 1 A, 2 A + ".js". The copy
// plays the movie and configuration named after itself (see screensaver/).
#pragma once

#include <QByteArray>
#include <QString>

class CScreenSaverPackager {
public:
    struct Result {
        bool ok = false;
        QString path; // the packaged screen saver; given also when the copy failed
    };

    // `appDir` is the folder holding the editor program and album.scr.
    explicit CScreenSaverPackager(QString appDir);

    // Copies album.scr into the album folder F (with or without a trailing
    // "/"), overwriting an earlier copy, gives it execute permission and
    // writes its name strings.
    Result Package(const QString& albumFolder) const;

    QString TemplatePath() const;
    // A: the last component of F, ignoring one trailing "/".
    static QString AlbumName(const QString& albumFolder);
    // F + (A without its extension) + ".scr".
    static QString TargetPath(const QString& albumFolder);
    // The name block for A.
    static QByteArray NameBlock(const QString& albumName);

private:
    QString m_appDir;
};
