// The picture slot of a cache record: every depth a thumbnail may have goes
// in and comes back with the same colours, rows padded to 4 bytes with zeros
// and the slot filled up with 0xFF.
#include "editor/imaging/CacheFileFormat.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace CacheFileFormat;

// A picture whose every pixel differs from its neighbours, of an odd width so
// that 2- and 3-byte rows need padding.
QImage Pattern(QImage::Format format, int width = 37, int height = 5)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) & 0xFF, (x * 13 + y * 29) & 0xFF, (x * 5 + y * 61) & 0xFF));
    if (format == QImage::Format_Indexed8)
        return image.convertToFormat(format, Qt::ThresholdDither);
    return image.convertToFormat(format);
}

TEST(CacheFileFormat, EveryDepthComesBackFromItsSlot)
{
    struct Case {
        QImage::Format format;
        int bytesPerPixel;
        QImage::Format readBack;
    };
    const Case cases[] = {
        {QImage::Format_RGB888, 3, QImage::Format_RGB888},
        {QImage::Format_RGB32, 4, QImage::Format_RGB32},
        {QImage::Format_RGB555, 2, QImage::Format_RGB555},
        {QImage::Format_Grayscale8, 4, QImage::Format_RGB32},
        {QImage::Format_Indexed8, 4, QImage::Format_RGB32},
        {QImage::Format_ARGB32, 4, QImage::Format_RGB32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        const QImage picture = Pattern(c.format);
        const QByteArray slot = EncodePicture(picture);
        ASSERT_EQ(slot.size(), kPictureSize);
        const PictureHead head = ParsePictureHead(slot.constData());
        EXPECT_EQ(head.width, 37);
        EXPECT_EQ(head.height, 5);
        EXPECT_EQ(head.bytesPerPixel, c.bytesPerPixel);
        const int stride = (37 * c.bytesPerPixel + 3) & ~3;
        EXPECT_EQ(head.dataSize, stride * 5);
        const QByteArray data = slot.mid(kPictureHeadSize);
        for (int row = 0; row < 5; ++row)
            for (int pad = 37 * c.bytesPerPixel; pad < stride; ++pad)
                EXPECT_EQ(data[row * stride + pad], 0) << row;
        EXPECT_EQ(data.mid(head.dataSize), QByteArray(int(kSlotSize - head.dataSize), char(0xFF)));
        if (c.bytesPerPixel == 4) {
            for (int x = 0; x < 37; ++x)
                EXPECT_EQ(data[4 * x + 3], 0); // blue, green, red, 0
        }

        const QImage back = DecodePicture(head, data);
        ASSERT_EQ(back.format(), c.readBack);
        const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
        const QImage got = back.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(got.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
}

TEST(CacheFileFormat, ARecordIsItsHeadPathAndSlot)
{
    const QByteArray path = "/photos/a.jpg";
    const uint64_t time = 0x0123456789ABCDEFull;
    const QImage picture = Pattern(QImage::Format_RGB888, 192, 144);
    const QByteArray record = EncodeRecord(path, time, picture);
    ASSERT_EQ(record.size(), kHeadSize + path.size() + kPictureSize);
    const RecordHead head = ParseHead(record.constData());
    EXPECT_EQ(head.pathLength, path.size());
    EXPECT_EQ(head.time, time);
    EXPECT_EQ(record.mid(kHeadSize, path.size()), path);
    EXPECT_EQ(record.mid(kHeadSize + path.size()), EncodePicture(picture));
    EXPECT_TRUE(EncodeRecord(QByteArray(257, 'a'), time, picture).isEmpty());
    EXPECT_TRUE(EncodeRecord(path, time, QImage()).isEmpty());
    EXPECT_TRUE(EncodePicture(Pattern(QImage::Format_RGB32, 200, 150)).isEmpty()); // larger than a slot
}

} // namespace
