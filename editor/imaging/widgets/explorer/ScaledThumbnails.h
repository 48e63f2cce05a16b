// The thumbnails as the explorer list draws them: reduced to the size of the
// picture rectangle, opaque, in the 32-bit format the painter copies fastest,
// for the cells drawn lately. A repaint (a scroll, a selection change, a
// worker's thumbnail arriving) then copies each picture instead of
// converting and reducing the 192 x 144 thumbnail again.
//
// A kept picture is used only while it was made from the same thumbnail
// (QImage::cacheKey) at the same size, so a thumbnail made again (the photo
// changed) or read back again from its cache file is reduced again. No
// widgets; used on the user-interface thread only.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <QImage>
#include <QSize>
#include <cstdint>
#include <list>
#include <unordered_map>

class ScaledThumbnails {
public:
    // About this many bytes of reduced pictures are kept: some 300 cells at
    // the smallest zoom (several screenfuls), 50 at the largest.
    static constexpr qint64 kBudgetBytes = 6 * 1024 * 1024;

    explicit ScaledThumbnails(qint64 budgetBytes = kBudgetBytes) : m_budget(budgetBytes) {}

    // The thumbnail of the handle reduced to `size` (keeping no alpha: what
    // the list draws for a transparent picture). Null for a null thumbnail or
    // an empty size.
    QImage Get(ThumbHandle handle, const QImage& thumbnail, QSize size);
    void Drop(ThumbHandle handle);
    void Clear();
    int Count() const { return int(m_index.size()); }
    qint64 Bytes() const { return m_bytes; }

    // The reduction itself: nearest pixels, as a painter draws an image into
    // a smaller rectangle without smoothing.
    static QImage Reduce(const QImage& thumbnail, QSize size);

private:
    struct Kept {
        ThumbHandle handle = 0;
        qint64 sourceKey = 0;
        QImage picture;
    };
    using Order = std::list<Kept>; // the most recent first
    qint64 m_budget;
    qint64 m_bytes = 0;
    Order m_order;
    std::unordered_map<ThumbHandle, Order::iterator> m_index;
};
