#include "common/ResourceArea.h"

#include "common/AlbumPayload.h"

#include <QFile>
#include <cstring>

namespace ResourceArea {

namespace {

constexpr qint64 kMagicSize = 8;
constexpr qint64 kFooterSize = 4 + kMagicSize;

// Size of the file without its resource area (the whole size when it has none).
qint64 programSize(QFile& file, QByteArray* block)
{
    const qint64 size = file.size();
    if (size < kFooterSize || !file.seek(size - kFooterSize))
        return size;
    const QByteArray footer = file.read(kFooterSize);
    if (footer.size() != kFooterSize || std::memcmp(footer.constData() + 4, kMagic, kMagicSize) != 0)
        return size;
    const qint64 length = AlbumPayload::DecodeU32(footer.constData());
    if (length > size - kFooterSize)
        return size;
    const qint64 start = size - kFooterSize - length;
    if (block) {
        if (!file.seek(start))
            return size;
        *block = file.read(length);
        if (block->size() != length)
            return size;
    }
    return start;
}

void appendU16(QByteArray& out, unsigned value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

QByteArray StringBlock(const QStringList& strings)
{
    QByteArray block;
    for (const QString& text : strings) {
        const qsizetype units = std::min<qsizetype>(text.size(), 0xffff);
        appendU16(block, unsigned(units));
        for (qsizetype i = 0; i < units; ++i)
            appendU16(block, text[i].unicode());
    }
    return block;
}

std::optional<QStringList> ReadStringBlock(const QByteArray& block)
{
    QStringList strings;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.constData());
    qsizetype pos = 0;
    while (pos < block.size()) {
        if (block.size() - pos < 2)
            return std::nullopt;
        const qsizetype units = bytes[pos] | (bytes[pos + 1] << 8);
        pos += 2;
        if (block.size() - pos < units * 2)
            return std::nullopt;
        QString text(units, Qt::Uninitialized);
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(char16_t(bytes[pos + 2 * i] | (bytes[pos + 2 * i + 1] << 8)));
        pos += units * 2;
        strings.append(text);
    }
    return strings;
}

std::optional<QByteArray> ReadBlock(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray block;
    if (programSize(file, &block) == file.size())
        return std::nullopt;
    return block;
}

bool ReplaceBlock(const QString& path, const QByteArray& block)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 keep = programSize(file, nullptr);
    if (!file.resize(keep) || !file.seek(keep))
        return false;
    const QByteArray area = block + AlbumPayload::EncodeU32(uint32_t(block.size())) + QByteArray(kMagic, kMagicSize);
    const bool written = file.write(area) == area.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace ResourceArea
