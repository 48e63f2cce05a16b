#include "editor/shell/controls/PhotoListLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

// The default list: 96 x 96 thumbnails, 102 x (106 + 18) cells, no gap.
PhotoListLayout Layout(QSize client, int gap = 0)
{
    PhotoListLayout layout(18);
    layout.SetColumnGap(gap);
    layout.SetClientSize(client);
    return layout;
}

const auto noText = [](int) { return 0; };

} // namespace

TEST(PhotoListLayout, CellsFollowTheThumbnailSize)
{
    PhotoListLayout layout(18);
    EXPECT_EQ(layout.Cell(), QSize(102, 124));
    layout.SetThumbnailSize({144, 144});
    EXPECT_EQ(layout.Cell(), QSize(150, 172));
    layout.SetLabelsShown(false);
    layout.SetThumbnailSize({96, 96});
    EXPECT_EQ(layout.Cell(), QSize(102, 106));
}

TEST(PhotoListLayout, ColumnsForClientWidths)
{
    struct Case { int width; int gap; int columns; };
    const Case cases[] = {
        {450, 0, 4},  // (450 - 8) / 102
        {416, 0, 4},  // exactly four cells
        {415, 0, 3},
        {50, 0, 1},   // narrower than one cell: still one column
        {0, 0, 1},
        {450, 10, 3}, // (450 - 8) / 112
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " gap " << c.gap);
        EXPECT_EQ(Layout({c.width, 300}, c.gap).ColumnCount(), c.columns);
    }
    const PhotoListLayout layout = Layout({450, 300});
    EXPECT_EQ(layout.RowCount(0), 0);
    EXPECT_EQ(layout.RowCount(4), 1);
    EXPECT_EQ(layout.RowCount(5), 2);
}

TEST(PhotoListLayout, CellLabelAndPictureRectangles)
{
    PhotoListLayout layout = Layout({450, 300}, 10);
    // Three columns of pitch 112: item 4 is in column 1 of row 1.
    EXPECT_EQ(layout.CellRect(4), QRect(4 + 112 + 3, 4 + 124 + 3, 96, 118));
    EXPECT_EQ(layout.CellRect(4, 100), QRect(119, 31, 96, 118));
    layout.SetColumnGap(0);
    const QRect cell = layout.CellRect(0); // (7, 7) 96 x 118
    EXPECT_EQ(layout.LabelRect(cell, 41), QRect(7 + 48 - 30, 7 + 118 - 2 - 18, 60, 18)); // 41 -> 42 + 18
    EXPECT_EQ(layout.LabelRect(cell, 200), QRect(7, 105, 96, 18)); // clipped to the cell
    EXPECT_EQ(layout.PictureArea(cell), QRect(7, 7, 96, 96));       // to 2 pixels above the label
    EXPECT_EQ(layout.PictureRect(QRect(7, 7, 96, 96)), QRect(7, 7, 96, 96));
    EXPECT_EQ(layout.PictureRect(QRect(7, 7, 96, 72)), QRect(7, 7, 96, 72));
    layout.SetLabelsShown(false); // the storyboard's cell: 102 x (18 + 76), picture 96 x 72
    layout.SetCellSize({102, 94});
    EXPECT_EQ(layout.PictureArea(layout.CellRect(0)), QRect(7, 7, 96, 72));
}

TEST(PhotoListLayout, HitTest)
{
    const PhotoListLayout layout = Layout({450, 300});
    const auto text = [](int) { return 40; }; // label 58 wide: x 26..84 in the first cell
    struct Case { QPoint point; int scrollY; int count; int item; };
    const Case cases[] = {
        {{10, 10}, 0, 5, 0},
        {{2, 10}, 0, 5, -1},      // in the margin
        {{5, 10}, 0, 5, -1},      // in the area, beside the drawn cell
        {{120, 10}, 0, 5, 1},
        {{444, 10}, 0, 5, -1},    // right of the last column
        {{10, 101}, 0, 5, 0},     // just above 2 pixels over the label
        {{10, 103}, 0, 5, -1},    // beside the label
        {{50, 110}, 0, 5, 0},     // on the label
        {{10, 140}, 0, 5, 4},     // second row
        {{120, 140}, 0, 5, -1},   // no item 5
        {{10, 16}, 124, 5, 4},    // scrolled one row down
        {{10, 297}, 0, 50, -1},   // in the bottom margin
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << "," << c.point.y() << " scroll " << c.scrollY);
        EXPECT_EQ(layout.HitTest(c.point, c.scrollY, c.count, text), c.item);
    }
}

TEST(PhotoListLayout, VisibleCellsDependOnTheWindowOnly)
{
    const PhotoListLayout layout = Layout({450, 300});
    const auto top = layout.Visible(0, 10000);
    EXPECT_EQ(top.firstRow, 0);
    EXPECT_EQ(top.lastRow, 2); // 300 pixels show rows 0..2 (row 2 starts at 252)
    EXPECT_EQ(top.lastColumn, 3);
    EXPECT_EQ(layout.VisibleItems(0, 10000).size(), 12u);
    const auto middle = layout.Visible(124 * 100 + 10, 10000);
    EXPECT_EQ(middle.firstRow, 100);
    EXPECT_EQ(middle.lastRow, 102);
    EXPECT_EQ(layout.VisibleItems(0, 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(layout.VisibleItems(0, 0).empty());
}

TEST(PhotoListLayout, ScrollRangeInTwentyPixelUnits)
{
    const PhotoListLayout layout = Layout({450, 300});
    // 20 items: 5 rows, content 8 + 620 = 628 pixels.
    EXPECT_EQ(layout.ContentHeight(20), 628);
    EXPECT_EQ(layout.MaxScroll(20), 328);
    EXPECT_EQ(layout.ClampScroll(-5, 20), 0);
    EXPECT_EQ(layout.ClampScroll(1000, 20), 328);
    const auto bar = layout.ScrollBarFor(200, 20);
    EXPECT_EQ(bar.maximum, 31);
    EXPECT_EQ(bar.page, 14); // 292 / 20
    EXPECT_EQ(bar.position, 10);
    EXPECT_TRUE(bar.enabled);
    EXPECT_FALSE(layout.ScrollBarFor(0, 8).enabled); // two rows fit
    EXPECT_EQ(layout.WheelPixels(120), -124);
    EXPECT_EQ(layout.WheelPixels(-240), 248);
}

TEST(PhotoListLayout, ContentThatFitsExactlyDoesNotScroll)
{
    // Two rows of 124 plus the margins fill a 256-pixel client exactly: the
    // last row ends one margin above the bottom, nothing is left to scroll.
    const PhotoListLayout layout = Layout({450, 256});
    EXPECT_EQ(layout.MaxScroll(8), 0);
    EXPECT_FALSE(layout.ScrollBarFor(0, 8).enabled);
    EXPECT_EQ(Layout({450, 255}).MaxScroll(8), 1);
}

TEST(PhotoListLayout, EnsureVisibleScrollsTheLeast)
{
    const PhotoListLayout layout = Layout({450, 300});
    EXPECT_EQ(layout.EnsureVisible(0, 0, 40), 0);
    // Item 12 (row 3) spans 379..497 in content: its bottom meets the area's bottom (296).
    EXPECT_EQ(layout.EnsureVisible(12, 0, 40), 497 - 296);
    EXPECT_EQ(layout.EnsureVisible(4, 400, 40), 131 - 4); // row 1 top at 131
    EXPECT_EQ(layout.EnsureVisible(5, 100, 40), 100);     // already inside
}

TEST(PhotoListLayout, AutoScrollAndMarkerShape)
{
    const PhotoListLayout layout = Layout({450, 300});
    EXPECT_EQ(layout.AutoScrollDistance({10, -6}), -10);
    EXPECT_EQ(layout.AutoScrollDistance({10, 150}), 0);
    EXPECT_EQ(layout.AutoScrollDistance({10, 310}), 14);
    const QRect marker = layout.MarkerRect(layout.CellRect(1), false);
    EXPECT_EQ(marker, QRect(103, 7, 6, 118));
    const auto shape = PhotoListLayout::MarkerShape(marker);
    ASSERT_EQ(shape.size(), 3u);
    EXPECT_EQ(shape[0], QRect(103, -1, 6, 4));
    EXPECT_EQ(shape[1], QRect(103, 113, 6, 4));
    EXPECT_EQ(shape[2], QRect(104, 3, 4, 110));
}

TEST(PhotoListLayout, LabelHeightAndEllipsis)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const int height = PhotoListLayout::LabelHeightFor(metrics);
    EXPECT_EQ(height % 2, 0);
    EXPECT_GE(height - 4, metrics.height());
    EXPECT_LE(height - 4, metrics.height() + 1);

    PhotoListLayout layout(height);
    layout.SetClientSize({450, 300});
    const QRect cell = layout.CellRect(0);
    const QString longName = QStringLiteral("a-very-long-photo-file-name-from-the-camera_0001.jpg");
    const QRect label = layout.LabelRect(cell, metrics.horizontalAdvance(longName));
    EXPECT_EQ(label.left(), cell.left());
    EXPECT_EQ(label.width(), cell.width());
    const QString shown = PhotoListLayout::ElidedLabel(metrics, longName, label.width());
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), label.width());
    const QString shortName = QStringLiteral("A&B.jpg");
    EXPECT_EQ(PhotoListLayout::ElidedLabel(metrics, shortName, layout.LabelRect(cell, metrics.horizontalAdvance(shortName)).width()),
              shortName);
}

TEST(PhotoListLayout, Tints)
{
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(PhotoListLayout::Tint(white, qRgb(49, 106, 197), 80), qRgb(189, 207, 235));
    EXPECT_EQ(PhotoListLayout::Tint(white, qRgb(0, 0, 128), 100), qRgb(154, 154, 204));
    EXPECT_EQ(PhotoListLayout::Tint(qRgb(0, 0, 0), qRgb(0, 0, 128), 100), qRgb(0, 0, 50));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(white);
    PhotoListLayout::Tint(image, QRect(1, 1, 2, 2), qRgb(0, 0, 128), 100);
    EXPECT_EQ(image.pixel(1, 1), qRgb(154, 154, 204));
    EXPECT_EQ(image.pixel(2, 2), qRgb(154, 154, 204));
    EXPECT_EQ(image.pixel(0, 0), white);
    EXPECT_EQ(image.pixel(3, 3), white);
}
