// The pictures of thumbnails whose records lie in a cache file: read back from
// their fixed slots when asked for, and the last ones asked for kept decoded in
// a small most-recently-used cache. So the memory thumbnails take grows with
// what the explorer shows, not with the size of the folder.
//
// Not guarded by itself: the thumbnail cache uses it under its own lock. The
// pictures it hands out are QImage copies (implicitly shared), so dropping one
// here never pulls pixels from under a holder on another thread.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <QImage>
#include <list>
#include <unordered_map>
#include <utility>

class ThumbnailSlots {
public:
    // A screenful of a large explorer list several times over.
    static constexpr int kDecodedPictures = 256;

    explicit ThumbnailSlots(int capacity = kDecodedPictures);

    // The picture stored in the slot of the record at recordOffset, whose path
    // takes pathBytes bytes, read from the open file handle. Null when the
    // slot cannot be read whole or holds no usable picture.
    static QImage ReadPicture(int fileHandle, qint64 recordOffset, int pathBytes);

    // The decoded picture kept for the handle (now the most recent), or null.
    QImage Find(ThumbHandle handle);
    // Keeps the picture as the most recent, dropping the least recently used
    // beyond the capacity.
    void Put(ThumbHandle handle, const QImage& picture);
    void Drop(ThumbHandle handle);
    void Clear();
    int Count() const { return int(m_index.size()); }
    int Capacity() const { return m_capacity; }

private:
    using Order = std::list<std::pair<ThumbHandle, QImage>>; // the most recent first
    int m_capacity;
    Order m_order;
    std::unordered_map<ThumbHandle, Order::iterator> m_index;
};
