// Provisional until the thumbnail cache lands: one handle per decodable file,
// its 192 x 144 thumbnail made on first request, references counted.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"

#include <map>
#include <mutex>

class ThumbnailCache : public ThumbnailRegistry {
public:
    static ThumbnailCache& Instance();

    ThumbHandle FindOrAddPhoto(const QString& path) override;
    void AddReference(ThumbHandle handle) override;
    void ReleaseReference(ThumbHandle handle) override;
    QString PathOf(ThumbHandle handle) const override;
    QImage PictureOf(ThumbHandle handle) const override;

private:
    struct Entry {
        QString path;
        QImage picture;
        int references = 0;
    };
    mutable std::mutex m_mutex;
    ThumbHandle m_last = 0;
    std::map<QString, ThumbHandle> m_handles;
    std::map<ThumbHandle, Entry> m_entries;
};
