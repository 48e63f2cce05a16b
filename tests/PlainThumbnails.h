// A plain thumbnail registry for tests: one handle per decodable file, the
// thumbnail made with the image operations, references counted.
#pragma once

#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailRegistry.h"

#include <QFileInfo>
#include <map>
#include <mutex>

class PlainThumbnails : public ThumbnailRegistry {
public:
    ThumbHandle FindOrAddPhoto(const QString& path) override
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_handles.find(path); it != m_handles.end())
            return it->second;
        const QImage picture = ImageOps::LoadThumbnailBitmap(path);
        if (picture.isNull())
            return 0;
        const ThumbHandle handle = ++m_last;
        m_handles[path] = handle;
        m_pictures[handle] = picture;
        m_paths[handle] = path;
        return handle;
    }
    void AddReference(ThumbHandle handle) override
    {
        std::lock_guard lock(m_mutex);
        ++m_references[handle];
    }
    void ReleaseReference(ThumbHandle handle) override
    {
        std::lock_guard lock(m_mutex);
        --m_references[handle];
    }
    QString PathOf(ThumbHandle handle) const override
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_paths.find(handle);
        return it == m_paths.end() ? QString() : it->second;
    }
    QImage PictureOf(ThumbHandle handle) const override
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_pictures.find(handle);
        return it == m_pictures.end() ? QImage() : it->second;
    }
    int References(ThumbHandle handle) const
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_references.find(handle);
        return it == m_references.end() ? 0 : it->second;
    }

private:
    mutable std::mutex m_mutex;
    ThumbHandle m_last = 0;
    std::map<QString, ThumbHandle> m_handles;
    std::map<ThumbHandle, QString> m_paths;
    std::map<ThumbHandle, QImage> m_pictures;
    std::map<ThumbHandle, int> m_references;
};
