// Scrolling through a large folder in the photo explorer list, against a plain
// QListView showing the same items (see ScrollBench.cpp).
#pragma once

#include <QString>

// The peak memory of this process (VmHWM), in KB; -1 when unknown.
long PeakKilobytes();

// explorer_bench scroll FOLDER: the folder's thumbnails come from its cache
// file (made first when missing). Prints one line of "key=value" figures.
int ScrollBench(const QString& folder);
