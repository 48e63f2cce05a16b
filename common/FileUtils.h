// File and path utilities shared by generation, packaging, the project writer
// and the playback programs. Paths use "/" as separator; folder paths that the
// callers keep "with a trailing separator" end in "/".
#pragma once

#include <QString>
#include <cstdint>

namespace FileUtils {

// An absolute path longer than one character, with no control character, no
// "//" after the first character and none of \ : * ? " < > | (kept so that
// albums stay portable to other systems).
bool IsValidPath(const QString& path);

// True when the folder exists; otherwise, for a valid path, creates every
// missing level from the left and stops with false at the first that cannot
// be made.
bool MakePath(const QString& path);

// Copies with overwrite; an existing read-only target is made writable first.
// Up to three attempts, 1 ms apart.
bool CopyFile(const QString& to, const QString& from);

// Copies every plain file of `from` into `to` under its own name (not folders,
// nor entries that are neither files nor folders). With keepExisting a file
// already present in `to` is left as it is. False when either folder is missing.
bool CopyFolderFiles(const QString& from, const QString& to, bool keepExisting);

// Deletes every plain file of the folder (read-only ones too); subfolders stay.
void EmptyFolder(const QString& folder);

// Deletes the folder with everything in it, read-only entries included.
bool DeleteTree(const QString& folder);

// Empties the folder as EmptyFolder does, then removes the folder itself.
void RemoveEmptiedFolder(const QString& folder);

// The temporary folder with a trailing "/": QDir::tempPath(), or "/tmp/" when
// that is empty (TMPDIR naming a missing folder); never the current folder.
QString TempDir();

// A free temporary file name: TempDir() + base + n + "." + extension with the
// smallest n from 0 for which no file exists. The name is chosen by existence
// alone; nothing is created.
QString MakeTempPath(const QString& base = QStringLiteral("~"), const QString& extension = QStringLiteral("tmp"));

// Like MakeTempPath, but the file is made at once, empty, for the owner only
// (0600), with the first n whose name is free (a link, or another user's file,
// counts as taken). Two threads or processes never get the same file, and no
// one can plant a link or a file of theirs at the name before it is written.
// Empty when no file can be made.
QString CreateTempFile(const QString& base = QStringLiteral("~"), const QString& extension = QStringLiteral("tmp"));

// TempDir() + n + "/" with the first n for which nothing exists. With create,
// the folder is made and claimed atomically, so two processes asking at the
// same time get different folders; an empty string when none can be made.
QString TemporaryFolder(bool create);

// Splits name at its dots into a base (before the first dot) and an extension
// (between the first and second dot) and tries folder + base + n + "." + ext
// for n = 1..100. The first free one replaces `name` (file name only) and the
// result is true; when all are taken, name stays and the result is false.
bool UniqueName(const QString& folder, QString& name);

// The extension is ".bmp", without regard to case.
bool IsBitmap(const QString& path);

// The text after the last "/", ignoring one trailing "/".
QString LastComponent(const QString& path);

// The folder part of a path (everything before the last "/"), without the separator.
QString FolderOf(const QString& path);

// Makes an existing file or folder writable by its owner.
void ClearReadOnly(const QString& path);

// Last-write time in the Windows FILETIME unit: 100 ns since 1601-01-01 UTC.
// 0 when the file does not exist.
uint64_t FileTimeOf(const QString& path);

} // namespace FileUtils
