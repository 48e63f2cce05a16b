// The reduced pictures the explorer list keeps for drawing: one per handle,
// made again when the thumbnail or the size changes, within a byte budget.
#include "editor/imaging/widgets/explorer/ScaledThumbnails.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Thumbnail(QRgb colour, QImage::Format format = QImage::Format_RGB888)
{
    QImage image(192, 144, QImage::Format_RGB32);
    image.fill(colour);
    return image.convertToFormat(format);
}

TEST(ScaledThumbnails, DrawsAsThePainterWouldAndKeepsThePicture)
{
    ScaledThumbnails kept;
    QImage thumbnail(192, 144, QImage::Format_RGB888);
    for (int y = 0; y < 144; ++y)
        for (int x = 0; x < 192; ++x)
            thumbnail.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
    const QImage first = kept.Get(1, thumbnail, QSize(80, 60));
    ASSERT_EQ(first.size(), QSize(80, 60));
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    // What drawing the thumbnail into the rectangle gives.
    QImage drawn(80, 60, QImage::Format_RGB32);
    QPainter painter(&drawn);
    painter.drawImage(QRect(0, 0, 80, 60), thumbnail);
    painter.end();
    EXPECT_EQ(first, drawn);
    // The same thumbnail at the same size: the kept picture itself.
    EXPECT_EQ(kept.Get(1, thumbnail, QSize(80, 60)).cacheKey(), first.cacheKey());
    EXPECT_EQ(kept.Count(), 1);
}

TEST(ScaledThumbnails, ANewThumbnailOrSizeIsReducedAgain)
{
    ScaledThumbnails kept;
    const QImage red = Thumbnail(qRgb(255, 0, 0));
    EXPECT_EQ(kept.Get(7, red, QSize(80, 60)).pixel(10, 10), qRgb(255, 0, 0));
    // The photo changed: same handle, another thumbnail.
    EXPECT_EQ(kept.Get(7, Thumbnail(qRgb(0, 0, 255)), QSize(80, 60)).pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(kept.Get(7, red, QSize(120, 90)).size(), QSize(120, 90)); // zoomed
    EXPECT_EQ(kept.Count(), 1);
    // A transparent picture is drawn opaque.
    QImage clear(192, 144, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 20, 30, 0));
    EXPECT_FALSE(kept.Get(8, clear, QSize(80, 60)).hasAlphaChannel());
    EXPECT_TRUE(kept.Get(9, QImage(), QSize(80, 60)).isNull());
    EXPECT_TRUE(kept.Get(9, red, QSize()).isNull());
}

TEST(ScaledThumbnails, KeepsTheLastDrawnWithinItsBudget)
{
    const qint64 one = 80 * 60 * 4;
    ScaledThumbnails kept(3 * one);
    std::vector<QImage> thumbnails;
    for (int i = 0; i < 5; ++i)
        thumbnails.push_back(Thumbnail(qRgb(i, i, i)));
    for (int i = 0; i < 4; ++i)
        kept.Get(ThumbHandle(i + 1), thumbnails[size_t(i)], QSize(80, 60));
    EXPECT_EQ(kept.Count(), 3);
    EXPECT_LE(kept.Bytes(), 3 * one);
    // Handle 2 drawn again becomes the most recent; the next one pushes out 3.
    const QImage two = kept.Get(2, thumbnails[1], QSize(80, 60));
    kept.Get(5, thumbnails[4], QSize(80, 60));
    EXPECT_EQ(kept.Get(2, thumbnails[1], QSize(80, 60)).cacheKey(), two.cacheKey());
    kept.Drop(2);
    EXPECT_EQ(kept.Count(), 2);
    kept.Clear();
    EXPECT_EQ(kept.Count(), 0);
    EXPECT_EQ(kept.Bytes(), 0);
}

} // namespace
