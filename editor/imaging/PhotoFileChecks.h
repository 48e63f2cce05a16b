// Byte-level checks that a photo file holds its whole picture. The decoders
// accept a JPEG, GIF or BMP file that was cut short and fill the missing part
// with grey or black; such a file is treated as undecodable instead.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace PhotoFileChecks {

// The two bytes before `consumed` (where the JPEG decoder stopped reading) are
// the end-of-image marker FF D9. Entropy-coded data never holds FF D9, so a
// file cut inside its scan fails this.
bool JpegEndsWithMarker(const QByteArray& tail);

// The GIF's first image is complete: its data sub-blocks reach their
// terminator inside the file.
bool GifFirstImageComplete(const QByteArray& bytes);

// An uncompressed BMP (BI_RGB, BI_BITFIELDS) is at least as long as its pixel
// offset plus its rows; other compressions are not checked.
bool BmpLongEnough(const QByteArray& head, qint64 fileSize);

} // namespace PhotoFileChecks
