// Animated GIFs: cutting a GIF into frames with their delays and disposal,
// and the picture control stepping through them on its timer. The GIFs are
// made here from single-image GIFs of the project's writer, joined into one
// animated file with a graphic control extension per frame.
#include "editor/imaging/GifWriter.h"
#include "editor/imaging/widgets/picture/GifFrames.h"
#include "editor/imaging/widgets/picture/PictureEx.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

const QList<QRgb> kColours{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

QImage Solid(QSize size, int index)
{
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable(kColours);
    image.fill(uint(index));
    return image;
}

struct TestFrame {
    QImage image;
    int delay;
    int disposal;
};

// The header with its colour table, and the image block, of a single-image GIF.
std::pair<QByteArray, QByteArray> Parts(const QByteArray& gif)
{
    const int packed = uchar(gif[10]);
    qsizetype at = 13 + ((packed & 0x80) ? 3 * (1 << ((packed & 7) + 1)) : 0);
    const QByteArray head = gif.left(at);
    while (uchar(gif[at]) == 0x21) { // extensions the writer may add
        at += 2;
        while (uchar(gif[at]) != 0)
            at += 1 + uchar(gif[at]);
        ++at;
    }
    return {head, gif.mid(at, gif.size() - 1 - at)};
}

QByteArray Animated(const std::vector<TestFrame>& frames)
{
    QByteArray out;
    for (const TestFrame& frame : frames) {
        const auto [head, block] = Parts(GifWriter::Encode(frame.image));
        if (out.isEmpty())
            out = head.left(3) + "89a" + head.mid(6);
        out += QByteArray("\x21\xF9\x04", 3);
        out += char(frame.disposal << 2);
        out += char(frame.delay & 0xFF);
        out += char(frame.delay >> 8);
        out += QByteArray("\x00\x00", 2);
        out += block;
    }
    return out + char(0x3B);
}

TEST(GifFramesTest, DelayGivesTheFrameInterval)
{
    const struct {
        int delay, ms;
    } cases[] = {{0, 100}, {3, 100}, {4, 100}, {5, 50}, {50, 500}};
    for (const auto& c : cases)
        EXPECT_EQ(GifFrames::IntervalMs(c.delay), c.ms) << c.delay;
}

TEST(GifFramesTest, FramesAreCutWithDelayDisposalAndPicture)
{
    const QByteArray gif = Animated({{Solid({8, 6}, 1), 3, 2}, {Solid({4, 3}, 3), 50, 0}});
    const auto read = GifFrames::Read(gif);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->screen, QSize(8, 6));
    ASSERT_EQ(read->frames.size(), 2u);
    EXPECT_EQ(read->frames[0].delay, 3);
    EXPECT_EQ(read->frames[0].disposal, 2);
    EXPECT_EQ(read->frames[1].delay, 50);
    EXPECT_EQ(read->frames[1].disposal, 0);
    EXPECT_EQ(read->frames[1].area, QRect(0, 0, 4, 3));
    EXPECT_EQ(read->frames[0].image.pixel(7, 5), qRgb(255, 0, 0));
    EXPECT_EQ(read->frames[1].image.pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_TRUE(GifFrames::IsGif(read->frames[1].data));
}

TEST(GifFramesTest, NonGifAndBrokenDataAreRefused)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Solid({8, 6}, 1).save(&buffer, "PNG");
    EXPECT_FALSE(GifFrames::Read(png));
    const QByteArray gif = Animated({{Solid({8, 6}, 1), 10, 0}, {Solid({8, 6}, 2), 10, 0}});
    EXPECT_FALSE(GifFrames::Read(gif.left(20)));
    // Cut inside the second image: the first one is kept.
    const auto cut = GifFrames::Read(gif.left(gif.size() - 6));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->frames.size(), 1u);
}

TEST(PictureExTest, AnimatesAtTheFramesOwnIntervals)
{
    for (const auto& [delay, ms] : {std::pair{3, 100}, std::pair{50, 500}}) {
        CPictureEx picture;
        ASSERT_TRUE(picture.LoadPicture(Animated({{Solid({8, 6}, 1), delay, 0}, {Solid({8, 6}, 2), delay, 0}})));
        EXPECT_EQ(picture.size(), QSize(8, 6));
        picture.Draw();
        EXPECT_TRUE(picture.IsAnimating());
        EXPECT_EQ(picture.CurrentIntervalMs(), ms) << delay;
        EXPECT_EQ(picture.Canvas().pixel(0, 0), qRgb(255, 0, 0));
        picture.NextFrame();
        EXPECT_EQ(picture.CurrentFrame(), 1);
        EXPECT_EQ(picture.Canvas().pixel(0, 0), qRgb(0, 255, 0));
        picture.NextFrame();
        EXPECT_EQ(picture.CurrentFrame(), 0) << "loops";
        picture.Stop();
        EXPECT_FALSE(picture.IsAnimating());
    }
}

TEST(PictureExTest, DisposalTwoClearsTheFrameToTheBackground)
{
    for (int disposal : {0, 2}) {
        CPictureEx picture;
        ASSERT_TRUE(picture.LoadPicture(Animated({{Solid({8, 6}, 1), 10, disposal}, {Solid({4, 3}, 3), 10, 0}})));
        picture.Draw();
        picture.NextFrame();
        const QColor background = picture.palette().color(QPalette::Button);
        EXPECT_EQ(picture.Canvas().pixel(1, 1), qRgb(0, 0, 255));
        EXPECT_EQ(picture.Canvas().pixel(6, 5), disposal == 2 ? background.rgb() : qRgb(255, 0, 0)) << disposal;
    }
}

TEST(PictureExTest, StillPictureIsDrawnOnceAndBadDataRefused)
{
    CPictureEx picture;
    EXPECT_FALSE(picture.LoadPicture(QByteArray("not a picture")));
    ASSERT_TRUE(picture.LoadPicture(Animated({{Solid({8, 6}, 2), 10, 0}})));
    picture.Draw();
    EXPECT_EQ(picture.FrameCount(), 1);
    EXPECT_FALSE(picture.IsAnimating());
    EXPECT_EQ(picture.Canvas().pixel(4, 4), qRgb(0, 255, 0));
}

TEST(PictureExTest, EditorGifResourceIsAnimated)
{
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadGifResource());
    EXPECT_EQ(picture.FrameCount(), 8);
    EXPECT_EQ(picture.size(), QSize(32, 32));
    picture.Draw();
    EXPECT_EQ(picture.CurrentIntervalMs(), 100);
    const QImage first = picture.Canvas().copy();
    picture.NextFrame();
    EXPECT_NE(picture.Canvas(), first) << "the lit dot moves";
}

} // namespace
