// Byte-level checks of photo files that were cut short (photos from damaged
// cards): what part of the picture the file still holds.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace PhotoFileChecks {

// How many whole rows an uncompressed BMP (BI_RGB, BI_BITFIELDS) holds, in
// file order: from the bottom of the picture up, or from the top down when
// topDown. `present` is -1 when every row is there or the file is not judged
// here (other compressions, headers not understood).
struct BmpRows {
    qint64 present = -1;
    bool topDown = false;
};
BmpRows BmpRowsPresent(const QByteArray& head, qint64 fileSize);

} // namespace PhotoFileChecks
