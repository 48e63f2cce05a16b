// The folder generation that every delivery starts from: generates the
// current album into a folder (movie, configuration, web page, photos,
// thumbnails, music) and answers its AlbumOutput, or nothing when it failed.
// Packaging and upload take it as a parameter so that they can be run on any
// album folder, and so that the editor plugs in its generation driver.
#pragma once

#include "editor/generation/AlbumOutput.h"

#include <QString>
#include <functional>
#include <optional>

using FolderAlbumGenerator = std::function<std::optional<AlbumOutput>(const QString& folder, bool autoStart)>;
