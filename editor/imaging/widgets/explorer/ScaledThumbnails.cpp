#include "ScaledThumbnails.h"

QImage ScaledThumbnails::Reduce(const QImage& thumbnail, QSize size)
{
    if (thumbnail.isNull() || size.isEmpty())
        return QImage();
    const QImage opaque = thumbnail.format() == QImage::Format_RGB32 ? thumbnail
                                                                     : thumbnail.convertToFormat(QImage::Format_RGB32);
    return opaque.size() == size ? opaque : opaque.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage ScaledThumbnails::Get(ThumbHandle handle, const QImage& thumbnail, QSize size)
{
    if (thumbnail.isNull() || size.isEmpty())
        return QImage();
    const auto found = m_index.find(handle);
    if (found != m_index.end()) {
        const Kept& kept = *found->second;
        if (kept.sourceKey == thumbnail.cacheKey() && kept.picture.size() == size) {
            m_order.splice(m_order.begin(), m_order, found->second);
            return kept.picture;
        }
        Drop(handle);
    }
    const QImage picture = Reduce(thumbnail, size);
    m_order.push_front(Kept{handle, thumbnail.cacheKey(), picture});
    m_index.emplace(handle, m_order.begin());
    m_bytes += picture.sizeInBytes();
    // The newest stays even when it alone is over the budget.
    while (m_bytes > m_budget && m_order.size() > 1) {
        m_bytes -= m_order.back().picture.sizeInBytes();
        m_index.erase(m_order.back().handle);
        m_order.pop_back();
    }
    return picture;
}

void ScaledThumbnails::Drop(ThumbHandle handle)
{
    const auto found = m_index.find(handle);
    if (found == m_index.end())
        return;
    m_bytes -= found->second->picture.sizeInBytes();
    m_order.erase(found->second);
    m_index.erase(found);
}

void ScaledThumbnails::Clear()
{
    m_order.clear();
    m_index.clear();
    m_bytes = 0;
}
