// The thumbnail cache file: no file header, records one after another from
// offset 0, all integers 32-bit little-endian:
//   path length (1..256), time high, time low, path bytes (UTF-8, no terminator),
//   width, height, bytes per pixel (2, 3 or 4), data size,
//   a fixed 110592-byte pixel slot: the picture's bottom-up rows, each padded
//   to 4 bytes, then 0xFF filler to the end of the slot.
// Pixels are stored blue, green, red (and a 0 byte at 4 bytes per pixel);
// 16-bit pixels are 5-5-5. Grey and palette thumbnails are expanded to 4 bytes
// per pixel. A record's picture can be skipped by moving 110608 bytes forward.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

namespace CacheFileFormat {

constexpr qint64 kHeadSize = 12;
constexpr qint64 kPictureHeadSize = 16;
constexpr qint64 kSlotSize = 110592; // 192 x 144 x 4
constexpr qint64 kPictureSize = kPictureHeadSize + kSlotSize;
constexpr int kMaxPathBytes = 256;

struct RecordHead {
    int32_t pathLength = 0;
    uint64_t time = 0; // FILETIME units
};

struct PictureHead {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerPixel = 0;
    int32_t dataSize = 0;

    int Stride() const { return (width * bytesPerPixel + 3) & ~3; }
    // Fits the slot and names a depth this format knows.
    bool IsUsable() const;
};

// The cache file of a folder: the temporary folder + the folder path with every
// "/" made "_" + "_qemthumbs.Data"; the root "/" has "_Root_qemthumbs.Data".
QString CacheFilePath(const QString& folder);

RecordHead ParseHead(const char* bytes);       // kHeadSize bytes
PictureHead ParsePictureHead(const char* bytes); // kPictureHeadSize bytes

// The record of one thumbnail: head, path, picture head and the whole slot.
// Empty when the path is not 1 to 256 bytes or the picture does not fit the slot.
QByteArray EncodeRecord(const QByteArray& path, uint64_t time, const QImage& thumbnail);
// The picture head and slot alone (kPictureSize bytes), or empty.
QByteArray EncodePicture(const QImage& thumbnail);
// The picture from a usable head and at least head.dataSize bytes of slot.
QImage DecodePicture(const PictureHead& head, const QByteArray& data);

} // namespace CacheFileFormat
