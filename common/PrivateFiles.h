// Files that only this user may read or change, in folders others may write
// to (the shared temporary folder): opened without following a symbolic link,
// refused when another user owns them, created and kept owner-only (0600).
// The operating-system calls for this live here and nowhere else.
#pragma once

#include <QByteArray>
#include <QString>

namespace Platform {

enum class PrivateOpen {
    Existing,         // the file must exist
    CreateOrExisting, // made when missing
    CreateNew,        // made here and now; an entry of that name (a link too) is refused
};

struct PrivateFile {
    int handle = -1;      // open for reading and writing; -1 on failure
    bool created = false; // the file was made by this call
    bool existed = false; // on failure: something stands at the path
    QString error;        // on failure: why, for a message
};

// Opens a regular file owned by this user for reading and writing. A symbolic
// link at the path, an entry that is not a regular file and a file of another
// user are refused. An opened file is made owner-only.
PrivateFile OpenPrivateFile(const QString& path, PrivateOpen how);

// Another handle on the same open file (its own to close), so that a reader
// can keep the file while the first handle is closed.
int DuplicateHandle(int handle);
void CloseHandle(int handle);
// Up to size bytes from offset; the handle's position is not used or moved,
// so reading never disturbs writes made through another handle on the file.
QByteArray ReadAt(int handle, qint64 offset, qint64 size);

} // namespace Platform
