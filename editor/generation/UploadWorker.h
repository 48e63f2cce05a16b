// The upload worker: generates the album into a fresh temporary folder and
// packs it into the archive "~N.zip" (the first free N) in the temporary
// folder, telling its progress dialog through the notifier. The temporary
// album and the archive stay where they are; the upload page takes the
// archive from there.
#pragma once

#include "editor/generation/FolderAlbumGenerator.h"

#include <QString>
#include <thread>

class AlbumModel;
class CZipProcessNotify;

namespace UploadWorker {

// The thread entry: notices 1, (2, 3...), 4; the result in the notifier
// (0 success with the archive path, 1 generation failed, 2 packing failed,
// 3 packing cancelled); sets the end event last.
void Run(CZipProcessNotify& notify, const FolderAlbumGenerator& generate);

// Runs the worker on a new thread.
std::thread Start(CZipProcessNotify& notify, FolderAlbumGenerator generate);

// Runs the worker on a new thread with the generation driver over `album`,
// which must not change until the end event is set.
std::thread Start(CZipProcessNotify& notify, const AlbumModel& album);

// What the editor tells the user after the run: nothing for success (the
// upload dialog opens) and for a cancel, "生成影集失败" otherwise.
QString ResultMessage(int result);

} // namespace UploadWorker
