// The picture files that stand in for edited photos. The first edit of a photo
// makes a reduced copy of it in the temporary folder (the photo fitted into the
// 480 x 360 editor canvas); every later edit rewrites that copy, so the user's
// own file is never written. A copy of a copy is the snapshot that brightness
// and contrast start from.
#pragma once

#include <QString>
#include <map>

class WorkingCopyMap {
public:
    static WorkingCopyMap& Instance();

    // Writes a working copy of the file and enters it (copy -> source): the
    // photo fitted into the editor canvas, or, for a file that is a working
    // copy itself, its picture unchanged. Empty when the file does not exist
    // or cannot be decoded.
    QString MakeWorkingCopy(const QString& path, bool makeCurrent);
    // True when the path is a working copy; it then becomes the current one.
    bool IsWorkingCopy(const QString& path);
    // The file the copy was made from, or empty.
    QString SourceOf(const QString& path) const;
    // The first copy, in key order, made from the path, or empty.
    QString CopyMadeFrom(const QString& path) const;
    // Deletes the copy's file and forgets it (nothing for an unknown path).
    void Discard(const QString& path);
    // Deletes every working-copy file; called when the editor ends.
    void DiscardAll();

    const QString& Current() const { return m_current; }
    int Count() const { return int(m_copies.size()); }

    // The name a working copy of the file gets: base + n + "." + extension in
    // the temporary folder, the first n from 0 that is free; the file is made
    // at once, empty and owner-only.
    static QString NameFor(const QString& source);

private:
    std::map<QString, QString> m_copies; // working copy -> source
    QString m_current;
};
