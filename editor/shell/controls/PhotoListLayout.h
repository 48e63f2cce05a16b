// Geometry of the thumbnail list: equal cells in rows inside the client area
// less four margins, scrolled vertically only. Cells are numbered row by row.
// Rectangles follow the half-open convention: a point is inside when
// left <= x < right and top <= y < bottom (QRect::contains with these sizes).
// Kept free of widgets so that the rules can be tested without a display.
#pragma once

#include <QPoint>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QFontMetrics;

class PhotoListLayout {
public:
    static constexpr int Margin = 4;       // each of the four sides
    static constexpr int CellInset = 3;    // the drawn cell inside its slot
    static constexpr int ScrollUnit = 20;  // pixels per scroll-bar unit and per line step
    static constexpr int LabelPadding = 18; // added to the (even) text width of a label
    static constexpr int MarkerWidth = 6;
    static constexpr int MarkerLift = 8;

    // Label height for a font: its character height, made even, plus 4.
    static int LabelHeightFor(const QFontMetrics& metrics);
    // The text drawn in a label rectangle: one line, "&" literal, an
    // ellipsis at the end when it does not fit the width.
    static QString ElidedLabel(const QFontMetrics& metrics, const QString& label, int width);

    explicit PhotoListLayout(int labelHeight = 18);

    // Thumbnail w x h: cell w + 6 wide and h + 10 high, plus the label
    // height when labels are shown. Lists with their own cell rule set the
    // thumbnail and the cell apart.
    void SetThumbnailSize(QSize thumbnail);
    void SetThumbnail(QSize thumbnail) { m_thumbnail = thumbnail; }
    void SetCellSize(QSize cell) { m_cell = cell; }
    void SetLabelHeight(int height) { m_labelHeight = height; }
    void SetLabelsShown(bool shown) { m_labelsShown = shown; }
    void SetColumnGap(int gap) { m_gap = gap; }
    void SetClientSize(QSize client) { m_client = client; }

    QSize Thumbnail() const { return m_thumbnail; }
    QSize Cell() const { return m_cell; }
    int LabelHeight() const { return m_labelHeight; }
    bool LabelsShown() const { return m_labelsShown; }
    int ColumnGap() const { return m_gap; }
    QSize ClientSize() const { return m_client; }
    int Pitch() const { return m_cell.width() + m_gap; }

    // The client rectangle less the margins.
    QRect Area() const;
    int ColumnCount() const;
    int RowCount(int count) const;
    // Whole rows that fit in the area, at least one.
    int PageRows() const;

    // The drawn rectangle of cell i in content coordinates (scroll 0), and in
    // client coordinates for a scroll position.
    QRect CellRect(int index) const;
    QRect CellRect(int index, int scrollY) const { return CellRect(index).translated(0, -scrollY); }
    // The label under the picture for a text of the given pixel width,
    // centred on the cell and clipped to its left and right edges.
    QRect LabelRect(const QRect& cell, int textWidth) const;
    // The part of the cell given to the picture.
    QRect PictureArea(const QRect& cell) const;
    // The thumbnail placed at the area's top-left corner, each side reduced
    // to the area's size where the area is smaller.
    QRect PictureRect(const QRect& pictureArea) const;

    // The item under a client point, or -1. textWidth gives the label text
    // width of an item (its label rectangle takes part in the test).
    int HitTest(QPoint client, int scrollY, int count, const std::function<int(int)>& textWidth) const;

    struct VisibleRange {
        int firstRow = 0, lastRow = -1, firstColumn = 0, lastColumn = -1;
        bool IsEmpty() const { return lastRow < firstRow || lastColumn < firstColumn; }
    };
    // Rows and columns of the cells that intersect the client area at a
    // scroll position, clamped to the existing ones.
    VisibleRange Visible(int scrollY, int count) const;
    std::vector<int> VisibleItems(int scrollY, int count) const;

    // Vertical scrolling, in pixels.
    int ContentHeight(int count) const;
    int MaxScroll(int count) const;
    int ClampScroll(int scrollY, int count) const;
    // The smallest scroll that brings cell i inside the area.
    int EnsureVisible(int index, int scrollY, int count) const;
    // Pixels scrolled for a wheel turn (120 per notch, one cell per notch).
    int WheelPixels(int angleDelta) const { return m_cell.height() * angleDelta / -120; }
    // How far the cursor is above (negative) or below (positive) the area,
    // 0 inside it; band selection scrolls by this much on each tick.
    int AutoScrollDistance(QPoint client) const;

    // The vertical scroll bar in units of 20 pixels.
    struct ScrollBar {
        int maximum = 0; // content height / 20
        int page = 0;    // area height / 20
        int position = 0;
        bool enabled = false; // false when nothing scrolls
    };
    ScrollBar ScrollBarFor(int scrollY, int count) const;

    // A pixel tinted with a colour at weight/256: each channel becomes
    // tint * weight / 256 + old * (255 - weight) / 256. The band uses
    // RGB(49, 106, 197) at 80, a selected picture RGB(0, 0, 128) at 100.
    static QRgb Tint(QRgb old, QRgb tint, int weight);
    static void Tint(QImage& image, const QRect& rect, QRgb tint, int weight);

    // The insertion marker beside a cell (kinds as in PhotoListSelection::
    // DropMarker): 6 pixels wide and as tall as the cell.
    QRect MarkerRect(const QRect& cell, bool rightOfCell) const;
    // The I-beam drawn for a marker rectangle: lifted by 8 pixels, a 4-pixel
    // bar across its top and its bottom and the column between them inset by
    // one pixel on each side.
    static std::vector<QRect> MarkerShape(const QRect& marker);

private:
    QSize m_thumbnail{96, 96};
    QSize m_cell{102, 106};
    int m_labelHeight = 18;
    bool m_labelsShown = true;
    int m_gap = 0;
    QSize m_client;
};
