// What the generate pane's commands put into the worker block, once the user
// has chosen where the output goes. The pane runs the worker under its
// progress dialog and afterwards shows the result (the file browser on the
// output, the screen saver opened full screen).
#pragma once

#include <QString>

struct GenerationBlock;

namespace GenerateCommands {

// Generate, folder album: D is the chosen path without its extension, with a
// trailing "/" (Out/Trip.html -> Out/Trip/).
void FolderAlbum(GenerationBlock& block, const QString& chosenPath);

// Generate, executable: the chosen path is the executable to write.
void Executable(GenerationBlock& block, const QString& chosenPath);

// Screen saver: D from the chosen path as for a folder album; generated with
// automatic start, then the saver is made in D and installed.
void ScreenSaver(GenerationBlock& block, const QString& chosenPath);

// Preview screen saver: a fresh numbered temporary folder (made now, kept
// afterwards) with automatic start and the saver in it, not installed; the
// pane opens result.outputPath. False when no folder can be made.
bool ScreenSaverPreview(GenerationBlock& block);

} // namespace GenerateCommands
