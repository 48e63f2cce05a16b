// What a drop of files onto the storyboard brings into the album.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace StoryboardDrop {

// The photo files of a drop, in the order given: a photo file as it is, a
// folder's photos (its top level only, in the order a file manager lists
// them), anything else left out.
QStringList PhotosOf(const QStringList& paths);
// The local paths of dropped URLs, in their order.
QStringList LocalPaths(const QList<QUrl>& urls);
// A folder's photo files (not hidden ones), sorted by name as a file manager
// does: numbers by value, letters without regard to case.
QStringList FolderPhotos(const QString& folder);
// Whether a drop of these paths would bring anything worth offering: a photo
// file or a folder. Cheap enough for every drag move.
bool MayHoldPhotos(const QStringList& paths);

} // namespace StoryboardDrop
