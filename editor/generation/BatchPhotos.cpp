#include "editor/generation/BatchPhotos.h"

#include "editor/imaging/ImageOps.h"

#include <QPainter>

using Guard = std::lock_guard<std::mutex>;

namespace {

// The thumbnail rule applied to a picture already decoded: reduced to the
// resample size and centred on the white 192 x 144 canvas.
QImage thumbnailOf(const QImage& picture)
{
    const QSize canvas(ImageOps::kThumbWidth, ImageOps::kThumbHeight);
    const QSize size = ImageOps::ResampleSize(picture.size(), canvas);
    const QImage reduced = size == picture.size() ? picture : ImageOps::Resample(picture, size);
    QImage thumbnail(canvas, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    QPainter painter(&thumbnail);
    painter.drawImage(QPoint((canvas.width() - reduced.width()) / 2, (canvas.height() - reduced.height()) / 2),
                      reduced);
    painter.end();
    return thumbnail;
}

} // namespace

BatchPhotos::BatchPhotos(qint64 budgetBytes) : m_budget(budgetBytes) {}

ThumbHandle BatchPhotos::FindOrAddPhoto(const QString& path)
{
    {
        Guard guard(m_mutex);
        const auto known = m_handles.find(path);
        if (known != m_handles.end())
            return known->second;
    }
    // The one decoding of the photo, as its display copy is made.
    const QImage picture =
        ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true);
    if (picture.isNull())
        return 0;
    const QImage thumbnail = thumbnailOf(picture);
    Guard guard(m_mutex);
    const auto [it, added] = m_handles.emplace(path, m_nextHandle);
    if (!added) // entered by another thread meanwhile
        return it->second;
    m_entries[m_nextHandle++] = Entry{path, thumbnail, 0};
    if (m_kept + picture.sizeInBytes() <= m_budget) {
        m_kept += picture.sizeInBytes();
        m_pictures.emplace(path, picture);
    }
    return it->second;
}

std::optional<QImage> BatchPhotos::TakeFittedPicture(const QString& path)
{
    Guard guard(m_mutex);
    const auto it = m_pictures.find(path);
    if (it == m_pictures.end())
        return std::nullopt;
    QImage picture = std::move(it->second);
    m_pictures.erase(it);
    m_kept -= picture.sizeInBytes();
    return picture;
}

ThumbHandle BatchPhotos::AcquirePhoto(const QString& path)
{
    const ThumbHandle handle = FindOrAddPhoto(path);
    if (handle != 0)
        AddReference(handle);
    return handle;
}

void BatchPhotos::AddReference(ThumbHandle handle)
{
    Guard guard(m_mutex);
    const auto it = m_entries.find(handle);
    if (it != m_entries.end())
        ++it->second.references;
}

void BatchPhotos::ReleaseReference(ThumbHandle handle)
{
    // Entries stay for the whole run: a photo left by one holder is usually
    // taken by the next (the reader hands its photos to the album).
    Guard guard(m_mutex);
    const auto it = m_entries.find(handle);
    if (it != m_entries.end() && it->second.references > 0)
        --it->second.references;
}

QString BatchPhotos::PathOf(ThumbHandle handle) const
{
    Guard guard(m_mutex);
    const auto it = m_entries.find(handle);
    return it == m_entries.end() ? QString() : it->second.path;
}

QImage BatchPhotos::PictureOf(ThumbHandle handle) const
{
    Guard guard(m_mutex);
    const auto it = m_entries.find(handle);
    return it == m_entries.end() ? QImage() : it->second.thumbnail;
}
