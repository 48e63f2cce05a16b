// Ties the photo editor's display copies to the album: when the album becomes
// empty or is cleared, the view's display copies are discarded.
#pragma once

class AlbumModel;
class DisplayCopies;

// Called once by the editor when it creates its album; copies defaults to the
// editor's own (DisplayCopies::Instance()).
void ClearViewWhenAlbumEmpties(AlbumModel& album, DisplayCopies* copies = nullptr);
