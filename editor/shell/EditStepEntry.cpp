#include "editor/shell/EditStepEntry.h"

#include "editor/core/AlbumModel.h"

namespace EditStepEntry {

int PhotoToMakeCurrent(const AlbumModel& album)
{
    if (album.IsEmpty())
        return -1;
    for (int i = 0; i < album.Count(); ++i) {
        const LrItem& item = album.Item(i);
        if (item.photoState == LrItem::Current || item.effectState == LrItem::Current)
            return -1;
    }
    return 0;
}

int Enter(AlbumModel& album)
{
    const int index = PhotoToMakeCurrent(album);
    if (index < 0)
        return -1;
    album.SetCellStates(index, LrItem::Current, album.Item(index).effectState);
    album.SetCurrentIndex(index);
    return index;
}

bool MakePhotoCurrent(AlbumModel& album, int index)
{
    if (!album.IsValidIndex(index))
        return false;
    for (int i = 0; i < album.Count(); ++i)
        album.SetCellStates(i, i == index ? LrItem::Current : LrItem::Normal, LrItem::Normal);
    album.SetCurrentIndex(index);
    return true;
}

} // namespace EditStepEntry
