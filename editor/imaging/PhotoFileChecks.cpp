#include "editor/imaging/PhotoFileChecks.h"

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

bool JpegEndsWithMarker(const QByteArray& tail)
{
    return tail.size() >= 2 && uint8_t(tail[tail.size() - 2]) == 0xFF && uint8_t(tail[tail.size() - 1]) == 0xD9;
}

bool GifFirstImageComplete(const QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    qsizetype at = 13; // signature and logical screen descriptor
    if (size < at || !bytes.startsWith("GIF"))
        return false;
    const auto colourTable = [](uint8_t packed) -> qsizetype {
        return (packed & 0x80) ? 3 * (qsizetype(1) << ((packed & 7) + 1)) : 0;
    };
    at += colourTable(uint8_t(bytes[10]));
    // Skips data sub-blocks up to and including their zero terminator.
    const auto skipSubBlocks = [&]() {
        while (at < size) {
            const uint8_t length = uint8_t(bytes[at++]);
            if (length == 0)
                return true;
            at += length;
        }
        return false;
    };
    while (at < size) {
        const uint8_t introducer = uint8_t(bytes[at++]);
        if (introducer == 0x21) { // extension: label, then sub-blocks
            if (++at > size || !skipSubBlocks())
                return false;
        } else if (introducer == 0x2C) { // image descriptor
            if (at + 9 > size)
                return false;
            const uint8_t packed = uint8_t(bytes[at + 8]);
            at += 9 + colourTable(packed) + 1; // descriptor, local table, LZW code size
            return at <= size && skipSubBlocks();
        } else {
            return false; // the trailer before any image, or garbage
        }
    }
    return false;
}

bool BmpLongEnough(const QByteArray& head, qint64 fileSize)
{
    if (head.size() < 30 || !head.startsWith("BM"))
        return true; // not judged here; the decoder decides
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
        return true;
    }
    if (compression != 0 && compression != 3 && compression != 6)
        return true;
    if (width < 0)
        width = -width;
    if (height < 0)
        height = -height;
    const int64_t stride = (width * bits + 31) / 32 * 4;
    return fileSize >= offset + stride * height;
}

} // namespace PhotoFileChecks
