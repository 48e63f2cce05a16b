// The photos of a batch generation, each decoded once.
//
// The editor makes a photo's thumbnail when the photo is added and its
// display copy when the photo is shown; by the time an album is generated
// both exist. A batch run opens the project and generates at once: the
// thumbnail cache would decode every photo for its thumbnail while the
// project is read, and the export would decode it again for its display
// copy. Here each photo of the project is decoded once, fitted into the
// editor canvas as its display copy would be; the thumbnail is made from
// that picture at once, and the export takes the picture from here instead
// of decoding the photo again. The thumbnails stay in memory (a batch run
// keeps no cache file); the pictures stay until the export takes them, up to
// a memory budget: beyond it the export makes display copies as the editor
// does.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <QImage>
#include <QString>
#include <map>
#include <mutex>
#include <optional>

// What the export asks an album's registry for when it has fitted pictures
// of its own (see PhotoExporter).
class FittedPictureSource {
public:
    virtual ~FittedPictureSource() = default;
    // The photo fitted into the 480 x 360 canvas (never enlarged), handed
    // over once; nothing when it is not kept.
    virtual std::optional<QImage> TakeFittedPicture(const QString& path) = 0;
};

class BatchPhotos : public ThumbnailRegistry, public FittedPictureSource {
public:
    // At most `budgetBytes` of fitted pictures are kept at a time.
    explicit BatchPhotos(qint64 budgetBytes = kDefaultBudget);

    // Safe to call from several threads at once (the project reader makes
    // its thumbnails on both cores). 0 when the photo cannot be decoded.
    ThumbHandle FindOrAddPhoto(const QString& path) override;
    // Entries stay for the whole run, so finding and referencing need not
    // be one locked step here.
    ThumbHandle AcquirePhoto(const QString& path) override;
    void AddReference(ThumbHandle handle) override;
    void ReleaseReference(ThumbHandle handle) override;
    QString PathOf(ThumbHandle handle) const override;
    QImage PictureOf(ThumbHandle handle) const override;

    std::optional<QImage> TakeFittedPicture(const QString& path) override;

    // About 300 pictures of 480 x 360.
    static constexpr qint64 kDefaultBudget = 160LL << 20;

private:
    struct Entry {
        QString path;
        QImage thumbnail;
        int references = 0;
    };

    qint64 m_budget;
    qint64 m_kept = 0;
    mutable std::mutex m_mutex;
    std::map<QString, ThumbHandle> m_handles; // by path
    std::map<ThumbHandle, Entry> m_entries;
    std::map<QString, QImage> m_pictures;     // fitted pictures not yet taken, by path
    ThumbHandle m_nextHandle = 1;
};
