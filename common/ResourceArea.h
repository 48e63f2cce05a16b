// The resource area at the very end of a program file, which carries the
// string-table block 1 of the screen saver (its name strings):
//
//   block bytes | block length (u32, little-endian) | "QEMRSRC1"
//
// The block is a string-table block: for each string id from 0 on, a 16-bit
// little-endian length in UTF-16 code units followed by that many UTF-16LE
// code units, no terminators, nothing between the entries.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace ResourceArea {

inline constexpr char kMagic[] = "QEMRSRC1"; // 8 bytes, without the terminator

// The block for the strings with ids 0, 1, ... in order. A string longer than
// 65535 code units is cut there.
QByteArray StringBlock(const QStringList& strings);
// The strings of a block; nothing when the block is malformed.
std::optional<QStringList> ReadStringBlock(const QByteArray& block);

// The block of the file's resource area; nothing when the file has none (or
// cannot be read).
std::optional<QByteArray> ReadBlock(const QString& path);

// Removes an existing resource area and appends one holding `block`. False
// when the file cannot be opened or written.
bool ReplaceBlock(const QString& path, const QByteArray& block);

} // namespace ResourceArea
