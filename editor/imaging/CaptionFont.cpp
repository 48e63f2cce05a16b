#include "editor/imaging/CaptionFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace {

// Larger text than this does not fit any picture a caption is drawn on.
constexpr int kLargestPixels = 2000;

int cellHeight(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

} // namespace

namespace CaptionFont {

QFont Make(const QString& face, int size, const QFont& fallback)
{
    if (face.isEmpty() || !QFontDatabase::hasFamily(face))
        return fallback;
    QFont font(face);
    if (size == 0)
        return font;
    if (size < 0) {
        font.setPixelSize(std::min(std::abs(size), kLargestPixels));
        return font;
    }
    const int wanted = std::min(size, kLargestPixels);
    // The cell is about 1.2 em for most faces: start from the proportion at
    // the wanted size, then take the nearest pixel size around it (hinted
    // metrics are whole pixels and do not grow exactly in proportion).
    const int cell = std::max(cellHeight(font, wanted), 1);
    const int estimate = std::max(1, int(double(wanted) * wanted / cell + 0.5));
    int best = estimate;
    int bestError = std::abs(cellHeight(font, estimate) - wanted);
    for (int pixels = std::max(1, estimate - 3); pixels <= estimate + 3; ++pixels) {
        const int error = std::abs(cellHeight(font, pixels) - wanted);
        if (error < bestError || (error == bestError && pixels < best)) {
            best = pixels;
            bestError = error;
        }
    }
    font.setPixelSize(best);
    return font;
}

} // namespace CaptionFont
