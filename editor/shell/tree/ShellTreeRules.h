// The folder tree's rules apart from its widget: the order of folder names,
// which photos a folder adds to the album and in what order, when adding asks
// first, and the width the tree remembers.
#pragma once

#include <QString>
#include <QStringList>

namespace ShellTreeRules {

// Command ids of the tree's context menu.
inline constexpr int kOpenCommand = 40036;
inline constexpr int kExploreCommand = 40046;
inline constexpr int kAddFolderCommand = 40047;
inline constexpr int kAddFolderTreeCommand = 40048;

inline constexpr int kMinimumWidth = 200;

// A file manager's order of two names: without regard to case, runs of digits
// compared as numbers ("b2" before "b10"); names equal that way fall back to
// their exact text so that the order is total.
bool NameLess(const QString& a, const QString& b);

// The photos of `folder` (full paths) in the order adding them puts them in the
// album: the folder's entries by NameLess, files and folders mixed; with
// sub-folders, each sub-folder's photos (depth first, same rules) come where
// its name falls among the files. Hidden entries (names starting with ".") are
// left out, and so are files that are not photos by their extension. A folder
// reached twice through symbolic links is read only once, so a link back to a
// parent cannot make the walk endless. Empty when `folder` is not a folder.
QStringList FolderPhotos(const QString& folder, bool withSubFolders);

// Adding with sub-folders asks first (the walk may be long); adding one folder
// does not.
inline bool AsksBeforeAdding(bool withSubFolders) { return withSubFolders; }

// The tree width to remember for a width the tree was given: never below the
// minimum.
inline int WidthToStore(int width) { return width < kMinimumWidth ? kMinimumWidth : width; }

} // namespace ShellTreeRules
