// How the album library draws one album: a 200 x 100 item with the album
// thumbnail at (10, 4), at most 80 x 80, stretched, white showing the cell
// through; to its right, 12 pixels on and 15 pixels in from the item's top
// and bottom, the album name, the date and the photo count, one centred line
// each. Widget-free, so the numbers are tested without a display.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

struct LibraryEntry;

class LibraryItemLayout {
public:
    static constexpr QSize kItemSize{200, 100};
    static constexpr QPoint kPictureOffset{10, 4};
    static constexpr int kPictureMax = 80;
    static constexpr int kTextGap = 12;   // between the picture and the texts
    static constexpr int kTextInset = 15; // from the item's top and bottom
    static constexpr int kEmptyTextPixels = 15;

    // "Has no existing photo album.", drawn centred in an empty library.
    static QString EmptyText();

    // The picture's rectangle in an item.
    static QRect PictureRect(const QRect& item);
    // The band the three texts share.
    static QRect TextRect(const QRect& item);

    struct Line {
        QString text;
        int flags; // Qt alignment within the text band, one line
    };
    // Name at the top, date in the middle, photo count at the bottom. The
    // photo count's line break ends its line; it is not drawn.
    static std::vector<Line> Lines(const LibraryEntry& entry);

    // The thumbnail with its pure white pixels made transparent.
    static QImage WhiteTransparent(const QImage& picture);
};
