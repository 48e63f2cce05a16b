// Packs a folder into a ZIP archive with libzip: every file of the folder and
// of its subfolders under its path relative to the folder ("photo/a.jpg"),
// compressed with the library's default method, reporting progress to and
// asking for cancellation from a CZipProcessNotify.
#pragma once

#include <QString>

class CZipProcessNotify;

namespace AlbumZip {

// Writes `archive` (replacing an existing file). False when the folder does
// not exist, a file cannot be added, the archive cannot be written or the
// notifier asked to cancel; a failed or cancelled run leaves no archive.
bool PackFolder(const QString& folder, const QString& archive, CZipProcessNotify* notify);

} // namespace AlbumZip
