#include "editor/imaging/PhotoFileChecks.h"

#include <algorithm>
#include <cstdint>

namespace PhotoFileChecks {

namespace {

uint32_t le16(const QByteArray& b, qsizetype at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}

uint32_t le32(const QByteArray& b, qsizetype at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

} // namespace

BmpRows BmpRowsPresent(const QByteArray& head, qint64 fileSize)
{
    if (head.size() < 30 || !head.startsWith("BM"))
        return {};
    const int64_t offset = le32(head, 10);
    const uint32_t headerSize = le32(head, 14);
    int64_t width = 0;
    int64_t height = 0;
    int64_t bits = 0;
    uint32_t compression = 0;
    if (headerSize == 12) {
        width = le16(head, 18);
        height = le16(head, 20);
        bits = le16(head, 24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = int32_t(le32(head, 18));
        height = int32_t(le32(head, 22));
        bits = le16(head, 28);
        compression = le32(head, 30);
    } else {
        return {};
    }
    if (compression != 0 && compression != 3 && compression != 6)
        return {};
    const bool topDown = height < 0;
    if (width < 0)
        width = -width;
    if (height < 0)
        height = -height;
    const int64_t stride = (width * bits + 31) / 32 * 4;
    if (stride <= 0 || fileSize >= offset + stride * height)
        return {};
    return BmpRows{std::max<int64_t>(0, (fileSize - offset) / stride), topDown};
}

} // namespace PhotoFileChecks
