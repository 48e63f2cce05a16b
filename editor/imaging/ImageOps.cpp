#include "editor/imaging/ImageOps.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

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

QImage Decode(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false); // pixels as stored; the user turns photos himself
    return reader.read();
}

namespace {

// Reduces (never enlarges) to fit w x h and centres the result on a white
// w x h canvas, the margins being half the free space rounded down.
QImage thumbnailStep(const QImage& image, int w, int h)
{
    QImage scaled = image;
    if (image.width() > w || image.height() > h) {
        const float a = float(w) / float(h);
        const float scale = a * float(image.height()) > float(image.width()) ? float(h) / float(image.height())
                                                                            : float(w) / float(image.width());
        const int sw = std::max(1, int(scale * float(image.width())));
        const int sh = std::max(1, int(scale * float(image.height())));
        scaled = image.scaled(sw, sh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (scaled.width() == w && scaled.height() == h)
        return scaled;
    QImage canvas(w, h, scaled.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.drawImage((w - scaled.width()) / 2, (h - scaled.height()) / 2, scaled);
    return canvas;
}

} // namespace

QImage LoadFittedBitmap(const QString& path, int boxWidth, int boxHeight, bool shrinkOnly, float* scaleOut,
                        int* widthOut, int* heightOut)
{
    const QImage image = Decode(path);
    if (image.isNull() || boxWidth < 1 || boxHeight < 1)
        return QImage();
    if (widthOut)
        *widthOut = image.width();
    if (heightOut)
        *heightOut = image.height();
    if (scaleOut)
        *scaleOut = 1.0f;
    if (shrinkOnly) {
        if (image.width() <= boxWidth && image.height() <= boxHeight)
            return image;
        const float r = std::max(float(image.width()) / float(boxWidth), float(image.height()) / float(boxHeight));
        if (scaleOut)
            *scaleOut = r;
        const int w = std::max(1, int(float(image.width()) / r));
        const int h = std::max(1, int(float(image.height()) / r));
        return thumbnailStep(image, w, h);
    }
    return thumbnailStep(image, boxWidth, boxHeight);
}

QImage LoadThumbnailBitmap(const QString& path)
{
    return LoadFittedBitmap(path, kThumbWidth, kThumbHeight, false);
}

bool SaveBitmapToFile(const QString& path, const QImage& bitmap)
{
    if (path.isEmpty() || bitmap.isNull())
        return false;
    const QString ext = QFileInfo(path).suffix().toLower();
    QByteArray format = "png";
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe"))
        format = "jpeg";
    else if (ext == QLatin1String("bmp"))
        format = "bmp";
    QImageWriter writer(path, format);
    if (format == "jpeg")
        writer.setQuality(75);
    const QImage out = format == "png" ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
    return writer.write(out);
}

} // namespace ImageOps
