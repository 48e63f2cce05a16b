#include "editor/imaging/ThumbnailCache.h"

#include "editor/imaging/ImageOps.h"

ThumbnailCache& ThumbnailCache::Instance()
{
    static ThumbnailCache cache;
    return cache;
}

ThumbHandle ThumbnailCache::FindOrAddPhoto(const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (const auto it = m_handles.find(path); it != m_handles.end())
            return it->second;
    }
    const QImage picture = ImageOps::LoadThumbnailBitmap(path);
    if (picture.isNull())
        return 0;
    std::lock_guard lock(m_mutex);
    if (const auto it = m_handles.find(path); it != m_handles.end())
        return it->second;
    const ThumbHandle handle = ++m_last;
    m_handles[path] = handle;
    m_entries[handle] = Entry{path, picture, 0};
    return handle;
}

void ThumbnailCache::AddReference(ThumbHandle handle)
{
    std::lock_guard lock(m_mutex);
    if (const auto it = m_entries.find(handle); it != m_entries.end())
        ++it->second.references;
}

void ThumbnailCache::ReleaseReference(ThumbHandle handle)
{
    std::lock_guard lock(m_mutex);
    if (const auto it = m_entries.find(handle); it != m_entries.end())
        --it->second.references;
}

QString ThumbnailCache::PathOf(ThumbHandle handle) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_entries.find(handle);
    return it == m_entries.end() ? QString() : it->second.path;
}

QImage ThumbnailCache::PictureOf(ThumbHandle handle) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_entries.find(handle);
    return it == m_entries.end() ? QImage() : it->second.picture;
}
