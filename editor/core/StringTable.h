// The editor's string table: every message the editor shows by id, with its
// exact text.
#pragma once

#include <QString>

namespace Strings {

enum Id {
    OleInitFailed = 100,
    PlayerMissing = 101,
    PlayerTooOld = 102,
    PlayerHelpPage = 103,
    ReadPhotoFailed = 107,
    HelpFileMissing = 108,
    ApplyEffectToAll = 109,
    ResourceLoadFailed = 110,
    AlbumHasNoPhotos = 111,
    ChoosePhotosFirst = 112,
    LoadAlbumFailed = 113,
    FolderHoldsProject = 114,
    SaveAlbumTitle = 115,
    CreateFolderQuestion = 117,
    CreateFolderFailed = 118,
    DeepFolderQuestion = 119,
    NewVersionAvailable = 120,
    Generating = 121,
    PackingAlbum = 124,
    GenerateFailed = 125,
    UploadSteps = 126,
    ProductTitle = 128,
};

// The text of the id; empty for an id the table does not hold.
QString Load(int id);

} // namespace Strings
