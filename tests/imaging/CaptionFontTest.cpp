#include "editor/imaging/CaptionFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
int CellHeight(const QFont& font)
{
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}
} // namespace

TEST(CaptionFont, TheCellIsAsHighAsTheCaptionSize)
{
    const QFont fallback;
    for (const QString face : {"WenQuanYi Micro Hei", "DejaVu Sans"}) {
        if (!QFontDatabase::hasFamily(face)) {
            ADD_FAILURE() << face.toStdString() << " is not installed";
            continue;
        }
        for (int size : {8, 9, 12, 16, 20, 28, 36, 48, 72, 150}) {
            const QFont font = CaptionFont::Make(face, size, fallback);
            EXPECT_EQ(QFontInfo(font).family(), face);
            EXPECT_NEAR(CellHeight(font), size, 1) << face.toStdString() << " " << size;
            EXPECT_LT(font.pixelSize(), size) << face.toStdString() << " " << size; // the em is smaller than the cell
        }
    }
}

TEST(CaptionFont, NegativeSizesAreCharacterHeightsAndUnknownFacesTheFallback)
{
    const QFont em = CaptionFont::Make("WenQuanYi Micro Hei", -20, QFont());
    EXPECT_EQ(em.pixelSize(), 20);
    EXPECT_GT(CellHeight(em), 20);

    QFont fallback("DejaVu Sans");
    fallback.setPixelSize(13);
    for (const QString face : {"", "No Such Face 12345"}) {
        const QFont font = CaptionFont::Make(face, 40, fallback);
        EXPECT_EQ(font, fallback) << face.toStdString();
    }
    // Size 0: the face at its own default size.
    EXPECT_EQ(CaptionFont::Make("DejaVu Sans", 0, fallback).family(), "DejaVu Sans");
    // An absurd size stays a size a picture can hold.
    EXPECT_LE(CaptionFont::Make("DejaVu Sans", 1 << 30, fallback).pixelSize(), 2000);
}
