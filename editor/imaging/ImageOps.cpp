#include "editor/imaging/ImageOps.h"

#include "editor/imaging/GifWriter.h"
#include "editor/imaging/PhotoFileChecks.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <functional>

namespace ImageOps {

bool IsPhotoFile(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString ext = name.mid(dot).toLower();
    return ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg") || ext == QLatin1String(".bmp")
           || ext == QLatin1String(".png") || ext == QLatin1String(".gif");
}

namespace {

// The formats photos are read in; anything else Qt could read (PPM, SVG, ...)
// is not a photo here.
bool IsPhotoFormat(const QByteArray& format)
{
    static const char* const formats[] = {"bmp", "gif", "jpeg", "jpg", "png", "ico", "cur", "tiff", "tif", "tga", "wbmp"};
    for (const char* known : formats)
        if (format == known)
            return true;
    return false;
}

bool IsPaletteFormat(QImage::Format format)
{
    return format == QImage::Format_Indexed8 || format == QImage::Format_Mono || format == QImage::Format_MonoLSB;
}

bool IsGreyFormat(QImage::Format format)
{
    return format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
}

// Formats whose decoder reduces while it decodes, without the whole picture
// in memory: JPEG by its own 1/8, 1/4 or 1/2 scaling (then a bilinear step to
// the exact size), PNG row by row. Every other format is decoded whole and
// reduced afterwards.
bool DecodesReduced(const QByteArray& format) { return format == "jpeg" || format == "png"; }

// Qt refuses by default to allocate more than 128 MB for one picture, which a
// 7000 x 5000 photo or a 16-bit PNG of 6000 x 4000 already needs. Photos are
// refused from their header above kMaxPhotoPixels instead; the allocation
// limit lets the largest of them decode at 8 bytes a pixel (16-bit RGBA).
void RaiseAllocationLimit()
{
    static const bool raised = [] {
        const int needed = int((kMaxPhotoPixels * 8 + (1 << 20) - 1) >> 20);
        if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < needed)
            QImageReader::setAllocationLimit(needed);
        return true;
    }();
    (void)raised;
}

// The rows [from, to) of a BMP that its file no longer holds: the decoder
// leaves them as they were in memory. They are shown mid-grey, as the JPEG
// decoder shows the missing part of a JPEG.
QImage WithGreyRows(QImage image, int from, int to)
{
    if (from >= to)
        return image;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRgb grey = qRgb(128, 128, 128);
    for (int y = std::max(0, from); y < std::min(to, image.height()); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row, row + image.width(), grey);
    }
    return image;
}

// Decodes the file upright; where the format decodes reduced, `scaledFor`
// names the size the decoder should deliver for a picture of the given
// (upright) full size. `fullOut` gets the upright decoded size.
//
// A file cut short shows what decodes: a JPEG's missing rows grey (the
// decoder's own fill; also for a JPEG without its end marker), a GIF's as far
// as its data reach, a BMP's missing rows grey. What no decoder accepts (a
// file cut inside its header, garbage) stays refused.
QImage DecodeFile(const QString& path, const std::function<QSize(QSize)>& scaledFor, QSize* fullOut,
                  bool* paletteOut = nullptr, bool* greyOut = nullptr)
{
    if (!QFileInfo(path).isFile()) // folders, pipes and devices are no photos
        return QImage();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    RaiseAllocationLimit();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // Upright as the camera meant it: a phone stores a portrait photo
    // landscape with an EXIF orientation, and every browser applies it.
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (!IsPhotoFormat(format))
        return QImage();
    // The header's size, before any pixel memory is taken: a tiny file may
    // claim billions of pixels.
    QSize full = reader.size();
    if (full.isValid() && qint64(full.width()) * qint64(full.height()) > kMaxPhotoPixels)
        return QImage();
    // The reader's size and scaled size are the stored ones; the fit works on
    // the upright picture.
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    if (turned)
        full.transpose();
    const QImage::Format stored = reader.imageFormat();
    bool scaled = false;
    if (DecodesReduced(format) && full.isValid() && scaledFor) {
        const QSize wanted = scaledFor(full);
        if (wanted.isValid() && wanted != full) {
            reader.setScaledSize(turned ? wanted.transposed() : wanted);
            scaled = true;
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return QImage();
    if (qint64(image.width()) * qint64(image.height()) > kMaxPhotoPixels)
        return QImage();
    // The GIF decoder delivers 32 bits, but every GIF is a palette picture.
    const bool palette = format == "gif" || IsPaletteFormat(stored) || IsPaletteFormat(image.format());
    const bool grey = IsGreyFormat(stored) || IsGreyFormat(image.format());

    if (format == "bmp") {
        if (!file.seek(0))
            return QImage();
        const PhotoFileChecks::BmpRows rows = PhotoFileChecks::BmpRowsPresent(file.read(64), file.size());
        if (rows.present >= 0 && rows.present < image.height()) {
            const int present = int(rows.present);
            image = rows.topDown ? WithGreyRows(image, present, image.height())
                                 : WithGreyRows(image, 0, image.height() - present);
        }
    }
    if (!scaled || !full.isValid())
        full = image.size();
    if (fullOut)
        *fullOut = full;
    if (paletteOut)
        *paletteOut = palette;
    if (greyOut)
        *greyOut = grey;
    return image;
}

// The depth a resampled or canvas-placed picture gets: a palette picture
// (GIF, 8-bit PNG or BMP) 32 bits, as its colours expand to in the cache file;
// grey stays grey (one byte); anything else 24 bits.
QImage::Format FittedFormat(QImage::Format decoded, bool palette, bool grey)
{
    if (palette)
        return QImage::Format_RGB32;
    if (grey || IsGreyFormat(decoded))
        return QImage::Format_Grayscale8;
    return QImage::Format_RGB888;
}

// Transparent parts over white, in the given opaque format.
QImage Opaque(const QImage& image, QImage::Format format)
{
    if (!image.hasAlphaChannel())
        return image.format() == format ? image : image.convertToFormat(format);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat.convertToFormat(format);
}

// The thumbnail step after resampling: centre on a white canvas, the left and
// top margins half the free space rounded down.
QImage PlaceOnCanvas(const QImage& resampled, QSize canvas, QImage::Format format)
{
    const QImage picture = Opaque(resampled, format);
    if (picture.size() == canvas)
        return picture;
    QImage out(canvas, format);
    out.fill(Qt::white);
    const int left = (canvas.width() - picture.width()) / 2;
    const int top = (canvas.height() - picture.height()) / 2;
    const int bytesPerPixel = out.depth() / 8;
    const int rows = std::min(picture.height(), canvas.height());
    const int columns = std::min(picture.width(), canvas.width());
    for (int y = 0; y < rows; ++y)
        std::memcpy(out.scanLine(top + y) + left * bytesPerPixel, picture.constScanLine(y),
                    size_t(columns) * size_t(bytesPerPixel));
    return out;
}

// The picture reduced into the box keeping its proportions, in exact integer
// arithmetic: the limiting side gets the box's length, the other one its
// proportional length truncated (at least 1). Single-precision ratios would
// give 479 x 360 for 4608 x 3456, and the picture would not fill its size.
QSize ReducedInto(QSize image, QSize box)
{
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (qint64(box.width()) * h > w * qint64(box.height())) // the height limits
        return QSize(int(std::max<qint64>(1, w * box.height() / h)), box.height());
    return QSize(box.width(), int(std::max<qint64>(1, h * box.width() / w)));
}

} // namespace

QImage Decode(const QString& path)
{
    return DecodeFile(path, nullptr, nullptr);
}

QSize PictureSize(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return QSize();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!IsPhotoFormat(reader.format()))
        return QSize();
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QSize ShrinkOnlySize(QSize image, QSize box, float* scaleOut)
{
    if (scaleOut)
        *scaleOut = 1.0f;
    if (image.width() <= box.width() && image.height() <= box.height())
        return image;
    if (scaleOut)
        *scaleOut = std::max(float(image.width()) / float(box.width()), float(image.height()) / float(box.height()));
    return ReducedInto(image, box);
}

QSize ResampleSize(QSize image, QSize canvas)
{
    if (image.width() <= canvas.width() && image.height() <= canvas.height())
        return image;
    return ReducedInto(image, canvas);
}

QRect CanvasPlacement(QSize image)
{
    qint64 w = image.width();
    qint64 h = image.height();
    if (w > kCanvasWidth) {
        h = h * kCanvasWidth / w;
        w = kCanvasWidth;
    }
    if (h > kCanvasHeight) {
        w = w * kCanvasHeight / h;
        h = kCanvasHeight;
    }
    return QRect(int((kCanvasWidth - w) / 2), int((kCanvasHeight - h) / 2), int(w), int(h));
}

QImage Resample(const QImage& image, QSize size)
{
    if (image.isNull() || size.isEmpty())
        return QImage();
    QImage source = image;
    if (IsPaletteFormat(source.format()))
        source = source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (source.size() == size)
        return source;
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage LoadFittedBitmap(const QString& path, int boxWidth, int boxHeight, bool shrinkOnly, float* scaleOut,
                        int* widthOut, int* heightOut)
{
    if (boxWidth < 1 || boxHeight < 1)
        return QImage();
    const QSize box(boxWidth, boxHeight);
    // The canvas the picture ends on and the size it is resampled to first.
    const auto plan = [&](QSize full, QSize* canvas, float* r) {
        if (shrinkOnly) {
            *canvas = ShrinkOnlySize(full, box, r);
            return *canvas; // the reduced picture fills it exactly
        } else {
            *canvas = box;
            *r = 1.0f;
        }
        return ResampleSize(full, *canvas);
    };
    QSize full;
    bool palette = false;
    bool grey = false;
    const QImage decoded = DecodeFile(
        path,
        [&](QSize size) {
            QSize canvas;
            float r = 1.0f;
            return plan(size, &canvas, &r);
        },
        &full, &palette, &grey);
    if (decoded.isNull())
        return QImage();
    QSize canvas;
    float r = 1.0f;
    const QSize resample = plan(full, &canvas, &r);
    if (scaleOut)
        *scaleOut = r;
    if (widthOut)
        *widthOut = full.width();
    if (heightOut)
        *heightOut = full.height();
    if (shrinkOnly && canvas == full)
        return decoded; // fits: returned as it is
    const QImage::Format format = FittedFormat(decoded.format(), palette, grey);
    const QImage resampled = decoded.size() == resample ? decoded : Resample(decoded, resample);
    return PlaceOnCanvas(resampled, canvas, format);
}

QImage LoadThumbnailBitmap(const QString& path)
{
    return LoadFittedBitmap(path, kThumbWidth, kThumbHeight, false);
}

bool SaveBitmapAs(const QString& path, const QImage& bitmap, const QByteArray& format, int quality)
{
    if (path.isEmpty() || bitmap.isNull())
        return false;
    if (format == "gif")
        return GifWriter::Write(path, bitmap);
    QImage out = bitmap;
    if ((format == "jpeg" || format == "bmp") && out.hasAlphaChannel())
        out = Opaque(out, QImage::Format_RGB32); // neither keeps transparency: show it as white
    // Written beside the target and renamed over it, so a failed write leaves
    // the previous file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(quality);
    else if (format == "jpeg")
        writer.setQuality(75);
    // A short write can surface only when the buffer is flushed, and commit()
    // would still put the truncated file in place: flush and check first.
    if (!writer.write(out) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SaveBitmapToFile(const QString& path, const QImage& bitmap)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    QByteArray format;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe")
        || ext == QLatin1String("jfif"))
        format = "jpeg";
    else if (ext == QLatin1String("png"))
        format = "png";
    else if (ext == QLatin1String("bmp") || ext == QLatin1String("dib"))
        format = "bmp";
    else if (ext == QLatin1String("gif"))
        format = "gif";
    else if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        format = "tiff";
    else
        return false;
    return SaveBitmapAs(path, bitmap, format);
}

} // namespace ImageOps
