#include "editor/imaging/ImageTransforms.h"

#include "editor/imaging/ImageOps.h"

#include <QTransform>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace ImageOps {

namespace {

QImage Rotated(const QImage& image, qreal degrees)
{
    QImage source = image;
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB)
        source = source.convertToFormat(QImage::Format_Indexed8);
    return source.transformed(QTransform().rotate(degrees));
}

// A picture whose channels can be rewritten one byte at a time: 32-bit with
// straight (not premultiplied) alpha unless it is one of the byte formats.
QImage Editable(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB888:
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
}

QImage ThirtyTwoBit(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

template <typename Transform>
bool TransformFile(const QString& source, const QString& target, Transform transform)
{
    const QImage image = Decode(source);
    if (image.isNull())
        return false;
    return SaveBitmapToFile(target, transform(image));
}

} // namespace

QImage RotatedLeft(const QImage& image) { return Rotated(image, -90); }
QImage RotatedRight(const QImage& image) { return Rotated(image, 90); }
QImage Mirrored(const QImage& image) { return image.mirrored(true, false); }

QImage Cropped(const QImage& image, EdgeRect rect)
{
    int left = std::clamp(rect.left, 0, image.width());
    int right = std::clamp(rect.right, 0, image.width());
    int top = std::clamp(rect.top, 0, image.height());
    int bottom = std::clamp(rect.bottom, 0, image.height());
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return image;
    return image.copy(left, top, right - left, bottom - top);
}

std::array<uint8_t, 256> LightTable(int brightness, int contrast)
{
    const float factor = float(100 + contrast) / 100.0f;
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const float out = float(v - 128) * factor + float(128 + brightness);
        // Truncation first; anything beyond the range ends at its edge.
        const float clamped = std::clamp(out, -1.0f, 256.0f);
        table[size_t(v)] = uint8_t(std::clamp(int(clamped), 0, 255));
    }
    return table;
}

QImage WithLightTable(const QImage& image, const std::array<uint8_t, 256>& table)
{
    QImage out = Editable(image);
    if (out.isNull())
        return out;
    if (out.format() == QImage::Format_Indexed8) {
        QList<QRgb> colours = out.colorTable();
        for (QRgb& c : colours)
            c = qRgba(table[size_t(qRed(c))], table[size_t(qGreen(c))], table[size_t(qBlue(c))], qAlpha(c));
        out.setColorTable(colours);
        return out;
    }
    const bool hasAlphaByte = out.format() == QImage::Format_ARGB32;
    const int bytesPerPixel = out.depth() / 8;
    for (int y = 0; y < out.height(); ++y) {
        uchar* line = out.scanLine(y);
        if (bytesPerPixel == 4) {
            QRgb* pixels = reinterpret_cast<QRgb*>(line);
            for (int x = 0; x < out.width(); ++x) {
                const QRgb c = pixels[x];
                pixels[x] = qRgba(table[size_t(qRed(c))], table[size_t(qGreen(c))], table[size_t(qBlue(c))],
                                  hasAlphaByte ? qAlpha(c) : 255);
            }
        } else {
            const int bytes = out.width() * bytesPerPixel;
            for (int i = 0; i < bytes; ++i)
                line[i] = table[line[i]];
        }
    }
    return out;
}

bool RemoveRedEyeAt(QImage& image, int x, int y)
{
    if (image.isNull() || x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    QImage picture = ThirtyTwoBit(image);
    const int width = picture.width();
    const int height = picture.height();
    const auto pixel = [&](int px, int py) -> QRgb& {
        return reinterpret_cast<QRgb*>(picture.scanLine(py))[px];
    };

    // The window of side 5 around the point, moved back inside at the right
    // and bottom edges; a picture narrower (lower) than 5 whose point lies in
    // column (row) 2 takes its whole width (height) instead.
    const auto window = [](int point, int size, int& start, int& side) {
        side = 5;
        start = point - 2;
        if (size < 5 && point == 2) {
            start = 0;
            side = size;
        } else if (start + side > size) {
            start = size - side;
        }
    };
    int startX = 0, sideX = 0, startY = 0, sideY = 0;
    window(x, width, startX, sideX);
    window(y, height, startY, sideY);

    int counter[256] = {};
    for (int wy = startY; wy < startY + sideY; ++wy) {
        for (int wx = startX; wx < startX + sideX; ++wx) {
            // Left of or above the picture reads as white.
            const QRgb c = (wx < 0 || wy < 0 || wx >= width || wy >= height) ? qRgb(255, 255, 255) : pixel(wx, wy);
            if (qRed(c) >= (qGreen(c) + qBlue(c)) / 2)
                ++counter[qRed(c)];
        }
    }
    const int seed = qRed(pixel(x, y));
    const auto reddish = [&](int red) { return counter[red] != 0 || std::abs(red - seed) <= 10; };

    std::vector<uint8_t> visited(size_t(width) * size_t(height), 0);
    std::vector<std::pair<int, int>> stack;
    stack.emplace_back(x, y);
    // Up-left, up, up-right, right, down-right, down, down-left, left.
    static const int dx[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
    static const int dy[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
    while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        QRgb& c = pixel(px, py);
        const int red = qRed(c);
        const int mean = (qGreen(c) + qBlue(c)) / 2;
        if (reddish(red) && mean < red)
            c = qRgba(mean, qGreen(c), qBlue(c), qAlpha(c));
        for (int k = 0; k < 8; ++k) {
            const int nx = px + dx[k];
            const int ny = py + dy[k];
            if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                continue;
            uint8_t& seen = visited[size_t(ny) * size_t(width) + size_t(nx)];
            const int neighbourRed = qRed(pixel(nx, ny));
            if (neighbourRed > mean && reddish(neighbourRed) && !seen)
                stack.emplace_back(nx, ny);
            seen = 1;
        }
    }
    image = picture;
    return true;
}

bool ApplyRotateLeft(const QString& path) { return TransformFile(path, path, RotatedLeft); }
bool ApplyRotateRight(const QString& path) { return TransformFile(path, path, RotatedRight); }
bool ApplyMirror(const QString& path) { return TransformFile(path, path, Mirrored); }

bool ApplyCrop(EdgeRect rect, const QString& path)
{
    return TransformFile(path, path, [rect](const QImage& image) { return Cropped(image, rect); });
}

bool ApplyBrightness(const QString& sourcePath, const QString& targetPath, int value)
{
    const auto table = LightTable(value, 0);
    return TransformFile(sourcePath, targetPath, [&table](const QImage& image) { return WithLightTable(image, table); });
}

bool ApplyContrast(const QString& sourcePath, const QString& targetPath, int value)
{
    const auto table = LightTable(0, value);
    return TransformFile(sourcePath, targetPath, [&table](const QImage& image) { return WithLightTable(image, table); });
}

bool RemoveRedEye(const QString& path, int x, int y)
{
    QImage image = Decode(path);
    if (image.isNull())
        return false;
    // Back from the canvas to the picture: minus the centring margins. A
    // picture taller or wider than the canvas (a working copy turned on its
    // side) is drawn reduced, so the point is scaled back as well.
    const QRect drawn = CanvasPlacement(image.size());
    const float factor = float(image.width()) / float(drawn.width());
    const int imageX = int(float(x - drawn.left()) * factor);
    const int imageY = int(float(y - drawn.top()) * factor);
    if (!RemoveRedEyeAt(image, imageX, imageY))
        return false;
    return SaveBitmapToFile(path, image);
}

} // namespace ImageOps
