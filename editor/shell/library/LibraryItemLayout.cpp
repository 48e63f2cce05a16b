#include "editor/shell/library/LibraryItemLayout.h"

#include "editor/core/AlbumLibrary.h"

#include <algorithm>

QString LibraryItemLayout::EmptyText()
{
    return QStringLiteral("Has no existing photo album.");
}

QRect LibraryItemLayout::PictureRect(const QRect& item)
{
    return QRect(item.topLeft() + kPictureOffset,
                 QSize(std::clamp(item.width() - kPictureOffset.x(), 0, kPictureMax),
                       std::clamp(item.height() - kPictureOffset.y(), 0, kPictureMax)));
}

QRect LibraryItemLayout::TextRect(const QRect& item)
{
    const QRect picture = PictureRect(item);
    const int left = picture.x() + picture.width() + kTextGap;
    const int top = item.y() + kTextInset;
    const int bottom = item.y() + item.height() - kTextInset;
    return QRect(left, top, std::max(0, item.x() + item.width() - left), std::max(0, bottom - top));
}

std::vector<LibraryItemLayout::Line> LibraryItemLayout::Lines(const LibraryEntry& entry)
{
    QString photos = entry.PhotosText();
    while (photos.endsWith(QLatin1Char('\n')))
        photos.chop(1);
    const int single = Qt::TextSingleLine | Qt::AlignHCenter;
    return {{entry.Name(), single | Qt::AlignTop},
            {entry.DateText(), single | Qt::AlignVCenter},
            {photos, single | Qt::AlignBottom}};
}

QImage LibraryItemLayout::WhiteTransparent(const QImage& picture)
{
    if (picture.isNull())
        return picture;
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if ((line[x] & 0x00ffffff) == 0x00ffffff)
                line[x] = 0;
    }
    return keyed;
}
