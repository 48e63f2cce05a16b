#include "editor/imaging/ThumbnailSlots.h"

#include "common/PrivateFiles.h"
#include "editor/imaging/CacheFileFormat.h"

namespace Format = CacheFileFormat;

ThumbnailSlots::ThumbnailSlots(int capacity) : m_capacity(capacity < 1 ? 1 : capacity) {}

QImage ThumbnailSlots::ReadPicture(int fileHandle, qint64 recordOffset, int pathBytes)
{
    if (fileHandle < 0 || recordOffset < 0 || pathBytes < 1)
        return QImage();
    const qint64 pictureAt = recordOffset + Format::kHeadSize + pathBytes;
    const QByteArray head = Platform::ReadAt(fileHandle, pictureAt, Format::kPictureHeadSize);
    if (head.size() < Format::kPictureHeadSize)
        return QImage();
    const Format::PictureHead stored = Format::ParsePictureHead(head.constData());
    if (!stored.IsUsable())
        return QImage();
    const QByteArray data = Platform::ReadAt(fileHandle, pictureAt + Format::kPictureHeadSize, stored.dataSize);
    return Format::DecodePicture(stored, data);
}

QImage ThumbnailSlots::Find(ThumbHandle handle)
{
    const auto it = m_index.find(handle);
    if (it == m_index.end())
        return QImage();
    m_order.splice(m_order.begin(), m_order, it->second);
    return it->second->second;
}

void ThumbnailSlots::Put(ThumbHandle handle, const QImage& picture)
{
    if (picture.isNull())
        return;
    const auto it = m_index.find(handle);
    if (it != m_index.end()) {
        it->second->second = picture;
        m_order.splice(m_order.begin(), m_order, it->second);
        return;
    }
    m_order.emplace_front(handle, picture);
    m_index.emplace(handle, m_order.begin());
    while (int(m_index.size()) > m_capacity) {
        m_index.erase(m_order.back().first);
        m_order.pop_back();
    }
}

void ThumbnailSlots::Drop(ThumbHandle handle)
{
    const auto it = m_index.find(handle);
    if (it == m_index.end())
        return;
    m_order.erase(it->second);
    m_index.erase(it);
}

void ThumbnailSlots::Clear()
{
    m_index.clear();
    m_order.clear();
}
