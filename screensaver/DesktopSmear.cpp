#include "screensaver/DesktopSmear.h"

namespace DesktopSmear {

QImage Smear(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int w4 = w - w % 4;
    const int h4 = h - h % 4;
    if (w4 < 4 || h4 < 4)
        return image;
    // Bottom-up row order: row y of the smear is scan line h - 1 - y.
    auto row = [&image, h](int y) { return reinterpret_cast<QRgb*>(image.scanLine(h - 1 - y)); };
    for (int y = 0; y <= h4 - 4; ++y) {
        QRgb* rows[4] = {row(y), row(y + 1), row(y + 2), row(y + 3)};
        for (int x = 0; x <= w4 - 4; x += 4) {
            unsigned red = 0, green = 0, blue = 0;
            for (QRgb* line : rows) {
                for (int dx = 0; dx < 4; ++dx) {
                    const QRgb p = line[x + dx];
                    red += unsigned(qRed(p));
                    green += unsigned(qGreen(p));
                    blue += unsigned(qBlue(p));
                }
            }
            const QRgb average = qRgb(int(red / 16), int(green / 16), int(blue / 16));
            for (QRgb* line : rows)
                std::fill(line + x, line + x + 4, average);
        }
    }
    return image;
}

QImage Darken(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    constexpr int kOpacity = 160;
    constexpr int kRest = 255 - kOpacity;
    auto blend = [](int overlay, int under) { return (kOpacity * overlay + kRest * under + 127) / 255; };
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(blend(0, qRed(p)), blend(0, qGreen(p)), blend(30, qBlue(p)));
        }
    }
    return image;
}

QImage Background(const QImage& desktop) { return Darken(Smear(desktop)); }

} // namespace DesktopSmear
