// Where a generation may not write: into the program's own data. An album
// generated into a template's folder would overwrite the template's
// configuration and fill its sample folders, breaking the template for good.
#pragma once

#include <QString>

namespace OutputPlace {

// Empty when an album may be written at `path` (a folder or a file, existing
// or not); otherwise the reason it may not: the path is, or lies inside, the
// folder of a template of the loaded catalogue or the program's Sources
// folder. Links are followed, so another spelling of such a folder is refused
// too.
QString RefusalFor(const QString& path);

// Why a folder path is not one an album may be made in (see
// FileUtils::IsValidPath), naming the offending character: for example
// `the character ":" is not allowed in a path`. Empty for a valid path.
QString InvalidPathReason(const QString& path);

} // namespace OutputPlace
