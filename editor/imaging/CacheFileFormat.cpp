#include "editor/imaging/CacheFileFormat.h"

#include "common/FileUtils.h"

#include <QtEndian>
#include <cstring>

namespace CacheFileFormat {

namespace {

void Put32(QByteArray& out, uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

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

QByteArray EncodePicture(const QImage& thumbnail)
{
    if (thumbnail.isNull())
        return QByteArray();
    QImage image = thumbnail;
    PictureHead head;
    head.width = image.width();
    head.height = image.height();
    bool expand = false; // grey and palette pictures: through their colours to 4 bytes
    switch (image.format()) {
    case QImage::Format_RGB888:
        head.bytesPerPixel = 3;
        break;
    case QImage::Format_RGB555:
        head.bytesPerPixel = 2;
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        head.bytesPerPixel = 4;
        expand = true;
        break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        image = image.convertToFormat(QImage::Format_Indexed8);
        head.bytesPerPixel = 4;
        expand = true;
        break;
    case QImage::Format_RGB32:
        head.bytesPerPixel = 4;
        break;
    default:
        image = image.convertToFormat(QImage::Format_RGB32);
        head.bytesPerPixel = 4;
        break;
    }
    const int stride = head.Stride();
    if (qint64(stride) * head.height > kSlotSize)
        return QByteArray();
    head.dataSize = stride * head.height;

    QByteArray out;
    out.reserve(int(kPictureSize));
    Put32(out, uint32_t(head.width));
    Put32(out, uint32_t(head.height));
    Put32(out, uint32_t(head.bytesPerPixel));
    Put32(out, uint32_t(head.dataSize));
    QByteArray pixels(int(kSlotSize), char(0xFF));
    const QList<QRgb> colours = image.colorTable();
    for (int row = 0; row < head.height; ++row) {
        // Bottom-up: the first stored row is the picture's last.
        const uchar* line = image.constScanLine(head.height - 1 - row);
        char* target = pixels.data() + qsizetype(row) * stride;
        std::memset(target, 0, size_t(stride));
        for (int x = 0; x < head.width; ++x) {
            if (expand) {
                QRgb c = 0;
                if (image.format() == QImage::Format_Grayscale8)
                    c = qRgb(line[x], line[x], line[x]);
                else if (line[x] < colours.size())
                    c = colours[line[x]];
                target[4 * x] = char(qBlue(c));
                target[4 * x + 1] = char(qGreen(c));
                target[4 * x + 2] = char(qRed(c));
            } else if (head.bytesPerPixel == 3) {
                target[3 * x] = char(line[3 * x + 2]);
                target[3 * x + 1] = char(line[3 * x + 1]);
                target[3 * x + 2] = char(line[3 * x]);
            } else if (head.bytesPerPixel == 4) {
                const QRgb c = reinterpret_cast<const QRgb*>(line)[x];
                target[4 * x] = char(qBlue(c));
                target[4 * x + 1] = char(qGreen(c));
                target[4 * x + 2] = char(qRed(c));
            } else {
                const uint16_t c = reinterpret_cast<const uint16_t*>(line)[x] & 0x7FFF;
                qToLittleEndian(c, target + 2 * x);
            }
        }
    }
    out.append(pixels);
    return out;
}

QByteArray EncodeRecord(const QByteArray& path, uint64_t time, const QImage& thumbnail)
{
    if (path.isEmpty() || path.size() > kMaxPathBytes)
        return QByteArray();
    const QByteArray picture = EncodePicture(thumbnail);
    if (picture.isEmpty())
        return QByteArray();
    QByteArray out;
    out.reserve(int(kHeadSize + path.size() + kPictureSize));
    Put32(out, uint32_t(path.size()));
    Put32(out, uint32_t(time >> 32));
    Put32(out, uint32_t(time & 0xFFFFFFFFu));
    out.append(path);
    out.append(picture);
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
    for (int row = 0; row < head.height; ++row) {
        const uchar* source = reinterpret_cast<const uchar*>(data.constData()) + qsizetype(row) * stride;
        uchar* line = image.scanLine(head.height - 1 - row);
        for (int x = 0; x < head.width; ++x) {
            if (head.bytesPerPixel == 3) {
                line[3 * x] = source[3 * x + 2];
                line[3 * x + 1] = source[3 * x + 1];
                line[3 * x + 2] = source[3 * x];
            } else if (head.bytesPerPixel == 4) {
                reinterpret_cast<QRgb*>(line)[x] = qRgb(source[4 * x + 2], source[4 * x + 1], source[4 * x]);
            } else {
                reinterpret_cast<uint16_t*>(line)[x] = qFromLittleEndian<uint16_t>(source + 2 * x) & 0x7FFF;
            }
        }
    }
    return image;
}

} // namespace CacheFileFormat
