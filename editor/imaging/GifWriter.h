// Writes GIF files through giflib (Qt reads GIF but cannot write it).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace GifWriter {

// The picture as a single-image GIF: an Indexed8 picture keeps its colour
// table; any other is reduced to at most 256 colours (its own colours when it
// has no more, giflib's median cut otherwise). Pixels with alpha below 128
// become the transparent index. Empty on failure.
QByteArray Encode(const QImage& image);

// Encode, then write the file (beside it first and renamed over it).
bool Write(const QString& path, const QImage& image);

} // namespace GifWriter
