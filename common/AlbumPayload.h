// The album payload of an executable album: the player program's unchanged
// bytes (P of them), then four file groups, then P as an unsigned 32-bit
// little-endian trailer. Written by the editor's packaging, read by `player`.
//
//   group  := count:u32 entry{count}
//   entry  := nameLength:u32 name[nameLength] dataLength:u32 data[dataLength]
//
// Groups come in the order root, thumbs, res, photo; a group's folder is
// given by its position only. Names carry no folder part and are UTF-8.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace AlbumPayload {

inline constexpr int kGroupCount = 4;
inline constexpr uint32_t kMaxNameBytes = 255;
inline constexpr qint64 kTrailerSize = 4;
inline constexpr qint64 kCopyChunk = 40960; // files are copied into the payload in pieces of this size

// The subfolder of each group below the album's root ("" for the root itself).
inline const std::array<QString, kGroupCount>& GroupFolders()
{
    static const std::array<QString, kGroupCount> folders{QString(), QStringLiteral("thumbs/"),
                                                          QStringLiteral("res/"), QStringLiteral("photo/")};
    return folders;
}

inline QByteArray EncodeU32(uint32_t value)
{
    const char bytes[4] = {char(value & 0xff), char((value >> 8) & 0xff), char((value >> 16) & 0xff),
                           char((value >> 24) & 0xff)};
    return QByteArray(bytes, 4);
}

inline uint32_t DecodeU32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

} // namespace AlbumPayload
