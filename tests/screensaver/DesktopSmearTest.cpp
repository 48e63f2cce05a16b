#include "screensaver/DesktopSmear.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The smear as the description reads, on a plain array of bottom-up rows
// (row 0 is the bottom of the picture), one channel at a time.
std::vector<int> ReferenceSmear(std::vector<int> px, int w, int h)
{
    const int w4 = w / 4 * 4;
    const int h4 = h / 4 * 4;
    for (int y = 0; y + 4 <= h4; ++y) {
        for (int x = 0; x + 4 <= w4; x += 4) {
            int sum = 0;
            for (int r = y; r < y + 4; ++r)
                for (int c = x; c < x + 4; ++c)
                    sum += px[size_t(r * w + c)];
            for (int r = y; r < y + 4; ++r)
                for (int c = x; c < x + 4; ++c)
                    px[size_t(r * w + c)] = sum / 16;
        }
    }
    return px;
}

QImage RandomImage(int w, int h, quint32 seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    return image;
}

} // namespace

TEST(DesktopSmear, MatchesTheReferenceOnOddSizes)
{
    for (const QSize size : {QSize(13, 11), QSize(8, 8), QSize(4, 5), QSize(3, 9), QSize(17, 4)}) {
        const QImage image = RandomImage(size.width(), size.height(), quint32(size.width() * 100 + size.height()));
        const QImage smeared = DesktopSmear::Smear(image);
        const int w = size.width();
        const int h = size.height();
        for (int channel = 0; channel < 3; ++channel) {
            auto get = [channel](QRgb p) { return channel == 0 ? qRed(p) : channel == 1 ? qGreen(p) : qBlue(p); };
            std::vector<int> rows(size_t(w * h));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    rows[size_t(y * w + x)] = get(image.pixel(x, h - 1 - y));
            const std::vector<int> expected = ReferenceSmear(rows, w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(get(smeared.pixel(x, h - 1 - y)), expected[size_t(y * w + x)])
                        << w << "x" << h << " channel " << channel << " at " << x << "," << y;
        }
    }
}

TEST(DesktopSmear, HandWorkedCase)
{
    // 4 x 5: the bottom four rows become their average, the top row stays.
    QImage image(4, 5, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    for (int x = 0; x < 4; ++x)
        image.setPixel(x, 0, qRgb(200, 100, 50));
    image.setPixel(0, 4, qRgb(160, 32, 17)); // bottom-left
    const QImage smeared = DesktopSmear::Smear(image);
    EXPECT_EQ(smeared.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(smeared.pixel(3, 1), qRgb(10, 2, 1)); // 160/16, 32/16, 17/16 truncated
    EXPECT_EQ(smeared.pixel(0, 4), qRgb(10, 2, 1));
}

TEST(DesktopSmear, DarkenBlendsDarkBlueAt160Of255)
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(0, 0, 0));
    const QImage dark = DesktopSmear::Darken(image);
    // 255 * 95 / 255 = 95; blue (30 * 160 + 255 * 95) / 255 = 113.8 -> 114
    EXPECT_EQ(dark.pixel(0, 0), qRgb(95, 95, 114));
    EXPECT_EQ(dark.pixel(1, 0), qRgb(0, 0, 19)); // 4800 / 255 = 18.8 -> 19
}
