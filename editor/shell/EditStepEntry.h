// What entering the edit step does to the album: when the album has photos
// and no cell of the transition strip is current, the first photo's cell
// becomes current.
#pragma once

class AlbumModel;

namespace EditStepEntry {
// The photo whose cell becomes current on entry, or -1 when nothing changes.
int PhotoToMakeCurrent(const AlbumModel& album);
// Makes it current in the model; returns the index or -1.
int Enter(AlbumModel& album);
// Makes the photo cell of `index` the one current cell (the storyboard's
// Edit); false for an index outside the album.
bool MakePhotoCurrent(AlbumModel& album, int index);
} // namespace EditStepEntry
