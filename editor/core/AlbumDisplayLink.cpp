#include "editor/core/AlbumDisplayLink.h"

#include "editor/core/AlbumModel.h"
#include "editor/imaging/DisplayCopies.h"

void ClearViewWhenAlbumEmpties(AlbumModel& album, DisplayCopies* copies)
{
    DisplayCopies* view = copies ? copies : &DisplayCopies::Instance();
    QObject::connect(&album, &AlbumModel::BecameEmpty, view, &DisplayCopies::ClearView);
    QObject::connect(&album, &AlbumModel::Cleared, view, &DisplayCopies::ClearView);
}
