// Where the thumbnail cache keeps its pictures: the open cache files (each
// record's picture in a fixed slot, format in CacheFileFormat.h), records
// written into them, pictures read back from their slots when asked for, and
// the last ones asked for kept decoded in a small most-recently-used cache. So
// the memory thumbnails take grows with what the explorer shows, not with the
// size of the folder.
//
// Not guarded by itself: the thumbnail cache uses it under its own lock. The
// pictures it hands out are QImage copies (implicitly shared), so dropping one
// here never pulls pixels from under a holder on another thread.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class QFile;

class ThumbnailSlots {
public:
    // A screenful of a large explorer list several times over.
    static constexpr int kDecodedPictures = 256;

    explicit ThumbnailSlots(int capacity = kDecodedPictures);
    ~ThumbnailSlots();
    ThumbnailSlots(const ThumbnailSlots&) = delete;
    ThumbnailSlots& operator=(const ThumbnailSlots&) = delete;

    // ---- open cache files, known by their place in a list: a released file
    // leaves its place to the next one opened.
    // An open handle as a QFile that closes it; null (the handle closed) when
    // that fails.
    static std::unique_ptr<QFile> Wrap(int fileHandle);
    int Register(std::unique_ptr<QFile> file, const QString& path);
    void Release(int file);
    void ReleaseAll(); // and forgets every place
    bool IsOpen(int file) const;
    // Changes each time a place takes another file; 0 for no open file.
    quint64 Generation(int file) const;
    int FileFor(const QString& path) const; // -1 when not open
    int Places() const { return int(m_files.size()); }
    int OpenCount() const;
    QFile& File(int file); // an open one
    int Handle(int file) const;
    // End of the last record known to lie in the file.
    qint64& ClaimedEnd(int file) { return m_files[size_t(file)].claimedEnd; }
    // Writes the record at offset, or appends it when offset is -1 (offset
    // then takes its place). True without writing when the path is too long
    // for a record; false when the file is not open or the write fails.
    bool WriteRecord(int file, const QByteArray& key, uint64_t time, const QImage& thumbnail, qint64& offset);

    // The picture stored in the slot of the record at recordOffset, whose path
    // takes pathBytes bytes, read from the open file handle. Null when the
    // slot cannot be read whole or holds no usable picture.
    static QImage ReadPicture(int fileHandle, qint64 recordOffset, int pathBytes);
    // Asks the system to bring these bytes of the open file handle into
    // memory in the background (nothing where it cannot); returns at once.
    static void ReadAhead(int fileHandle, qint64 offset, qint64 length);

    // The decoded picture kept for the handle (now the most recent), or null.
    QImage Find(ThumbHandle handle);
    // A decoded picture is kept for the handle (its order unchanged).
    bool Holds(ThumbHandle handle) const { return m_index.count(handle) != 0; }
    // Keeps the picture as the most recent, dropping the least recently used
    // beyond the capacity.
    void Put(ThumbHandle handle, const QImage& picture);
    void Drop(ThumbHandle handle);
    void Clear();
    int Count() const { return int(m_index.size()); }
    int Capacity() const { return m_capacity; }

private:
    struct CacheFile {
        std::unique_ptr<QFile> file; // null: a free place
        QString path;
        quint64 generation = 0;
        qint64 claimedEnd = 0;
    };
    std::vector<CacheFile> m_files;
    quint64 m_nextGeneration = 1;

    using Order = std::list<std::pair<ThumbHandle, QImage>>; // the most recent first
    int m_capacity;
    Order m_order;
    std::unordered_map<ThumbHandle, Order::iterator> m_index;
};
