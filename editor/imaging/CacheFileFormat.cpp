#include "editor/imaging/CacheFileFormat.h"

#include "common/FileUtils.h"

#include <QtEndian>
#include <cstring>

namespace CacheFileFormat {

namespace {

uint32_t Get32(const char* bytes) { return qFromLittleEndian<uint32_t>(bytes); }

} // namespace

bool PictureHead::IsUsable() const
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535)
        return false;
    if (bytesPerPixel != 2 && bytesPerPixel != 3 && bytesPerPixel != 4)
        return false;
    const qint64 needed = qint64(Stride()) * height;
    return needed <= dataSize && dataSize <= kSlotSize;
}

QString CacheFilePath(const QString& folder)
{
    QString name;
    if (folder == QLatin1String("/")) {
        name = QStringLiteral("_Root_");
    } else {
        name = folder;
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        name += QLatin1Char('_');
    }
    return FileUtils::TempDir() + name + QStringLiteral("qemthumbs.Data");
}

RecordHead ParseHead(const char* bytes)
{
    RecordHead head;
    head.pathLength = int32_t(Get32(bytes));
    head.time = uint64_t(Get32(bytes + 4)) << 32 | Get32(bytes + 8);
    return head;
}

PictureHead ParsePictureHead(const char* bytes)
{
    PictureHead head;
    head.width = int32_t(Get32(bytes));
    head.height = int32_t(Get32(bytes + 4));
    head.bytesPerPixel = int32_t(Get32(bytes + 8));
    head.dataSize = int32_t(Get32(bytes + 12));
    return head;
}

namespace {

// The picture as the slot stores it: its head and how its rows are written.
// Grey and palette pictures are expanded through their colours, 1-bit ones
// after widening to 8 bits.
struct SlotPicture {
    QImage image;
    PictureHead head;
    bool expand = false;
};

SlotPicture ForSlot(const QImage& thumbnail)
{
    SlotPicture out;
    out.image = thumbnail;
    PictureHead& head = out.head;
    switch (thumbnail.format()) {
    case QImage::Format_RGB888: head.bytesPerPixel = 3; break;
    case QImage::Format_RGB555: head.bytesPerPixel = 2; break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        head.bytesPerPixel = 4;
        out.expand = true;
        break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        out.image = thumbnail.convertToFormat(QImage::Format_Indexed8);
        head.bytesPerPixel = 4;
        out.expand = true;
        break;
    case QImage::Format_RGB32: head.bytesPerPixel = 4; break;
    default:
        out.image = thumbnail.convertToFormat(QImage::Format_RGB32);
        head.bytesPerPixel = 4;
        break;
    }
    head.width = out.image.width();
    head.height = out.image.height();
    head.dataSize = head.Stride() * head.height;
    return out;
}

// Writes the picture head and the whole slot at `target` (kPictureSize bytes).
void WritePicture(const SlotPicture& picture, char* target)
{
    const PictureHead& head = picture.head;
    qToLittleEndian(uint32_t(head.width), target);
    qToLittleEndian(uint32_t(head.height), target + 4);
    qToLittleEndian(uint32_t(head.bytesPerPixel), target + 8);
    qToLittleEndian(uint32_t(head.dataSize), target + 12);
    uchar* pixels = reinterpret_cast<uchar*>(target + kPictureHeadSize);
    const QImage& image = picture.image;
    const int width = head.width;
    const int stride = head.Stride();
    const QList<QRgb> colours = image.colorTable();
    const bool grey = image.format() == QImage::Format_Grayscale8;
    for (int row = 0; row < head.height; ++row) {
        // Bottom-up: the first stored row is the picture's last.
        const uchar* line = image.constScanLine(head.height - 1 - row);
        uchar* out = pixels + qsizetype(row) * stride;
        std::memset(out + qsizetype(width) * head.bytesPerPixel, 0,
                    size_t(stride - width * head.bytesPerPixel)); // row padding
        if (picture.expand) {
            for (int x = 0; x < width; ++x) {
                const QRgb c = grey ? qRgb(line[x], line[x], line[x]) : line[x] < colours.size() ? colours[line[x]] : 0;
                out[4 * x] = uchar(qBlue(c));
                out[4 * x + 1] = uchar(qGreen(c));
                out[4 * x + 2] = uchar(qRed(c));
                out[4 * x + 3] = 0;
            }
        } else if (head.bytesPerPixel == 3) {
            for (int x = 0; x < width; ++x) {
                out[3 * x] = line[3 * x + 2];
                out[3 * x + 1] = line[3 * x + 1];
                out[3 * x + 2] = line[3 * x];
            }
        } else if (head.bytesPerPixel == 4) {
            const QRgb* in = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < width; ++x)
                qToLittleEndian(uint32_t(in[x] & 0x00FFFFFFu), out + 4 * x); // blue, green, red, 0
        } else {
            const uint16_t* in = reinterpret_cast<const uint16_t*>(line);
            for (int x = 0; x < width; ++x)
                qToLittleEndian(uint16_t(in[x] & 0x7FFF), out + 2 * x);
        }
    }
    std::memset(pixels + head.dataSize, 0xFF, size_t(kSlotSize - head.dataSize));
}

} // namespace

QByteArray EncodePicture(const QImage& thumbnail)
{
    if (thumbnail.isNull())
        return QByteArray();
    const SlotPicture picture = ForSlot(thumbnail);
    if (picture.head.dataSize > kSlotSize)
        return QByteArray();
    QByteArray out(qsizetype(kPictureSize), Qt::Uninitialized);
    WritePicture(picture, out.data());
    return out;
}

QByteArray EncodeRecord(const QByteArray& path, uint64_t time, const QImage& thumbnail)
{
    if (path.isEmpty() || path.size() > kMaxPathBytes || thumbnail.isNull())
        return QByteArray();
    const SlotPicture picture = ForSlot(thumbnail);
    if (picture.head.dataSize > kSlotSize)
        return QByteArray();
    // One buffer of the record's final size: the head, the path, the picture.
    QByteArray out(qsizetype(kHeadSize + path.size() + kPictureSize), Qt::Uninitialized);
    char* at = out.data();
    qToLittleEndian(uint32_t(path.size()), at);
    qToLittleEndian(uint32_t(time >> 32), at + 4);
    qToLittleEndian(uint32_t(time & 0xFFFFFFFFu), at + 8);
    std::memcpy(at + kHeadSize, path.constData(), size_t(path.size()));
    WritePicture(picture, at + kHeadSize + path.size());
    return out;
}

QImage DecodePicture(const PictureHead& head, const QByteArray& data)
{
    if (!head.IsUsable() || data.size() < head.dataSize)
        return QImage();
    const QImage::Format format = head.bytesPerPixel == 3   ? QImage::Format_RGB888
                                  : head.bytesPerPixel == 4 ? QImage::Format_RGB32
                                                            : QImage::Format_RGB555;
    QImage image(head.width, head.height, format);
    if (image.isNull())
        return QImage();
    const int stride = head.Stride();
    const int width = head.width;
    for (int row = 0; row < head.height; ++row) {
        const uchar* source = reinterpret_cast<const uchar*>(data.constData()) + qsizetype(row) * stride;
        uchar* line = image.scanLine(head.height - 1 - row);
        if (head.bytesPerPixel == 3) {
            for (int x = 0; x < width; ++x) {
                line[3 * x] = source[3 * x + 2];
                line[3 * x + 1] = source[3 * x + 1];
                line[3 * x + 2] = source[3 * x];
            }
        } else if (head.bytesPerPixel == 4) {
            QRgb* out = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < width; ++x)
                out[x] = qFromLittleEndian<uint32_t>(source + 4 * x) | 0xFF000000u;
        } else {
            uint16_t* out = reinterpret_cast<uint16_t*>(line);
            for (int x = 0; x < width; ++x)
                out[x] = qFromLittleEndian<uint16_t>(source + 2 * x) & 0x7FFF;
        }
    }
    return image;
}

} // namespace CacheFileFormat
