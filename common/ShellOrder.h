// The order in which a file manager shows the entries of a folder: by name,
// without regard to case, with runs of digits compared as numbers ("a2"
// before "a10"). Packaging writes an album's files in this order and the
// playback programs look for their movie in it.
#pragma once

#include <QString>
#include <QStringList>

namespace ShellOrder {

// True when name a comes before name b in the file manager's order.
bool Less(const QString& a, const QString& b);

// Sorts file names in place into the file manager's order. Names that
// compare equal that way (differing only in case) keep a fixed order by
// their exact text, so the result never depends on the input order.
void Sort(QStringList& names);

// The names of the plain files of `folder` in the file manager's order:
// "." and "..", folders, hidden entries (names starting with ".") and
// entries that are neither files nor folders (pipes, sockets, devices,
// broken links) are left out. Empty when the folder cannot be read.
QStringList PlainFiles(const QString& folder);

} // namespace ShellOrder
