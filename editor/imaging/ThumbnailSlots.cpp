#include "editor/imaging/ThumbnailSlots.h"

#include "common/PrivateFiles.h"
#include "editor/imaging/CacheFileFormat.h"

#include <QFile>
#include <algorithm>
#if defined(Q_OS_LINUX)
#include <fcntl.h>
#endif

namespace Format = CacheFileFormat;

ThumbnailSlots::ThumbnailSlots(int capacity) : m_capacity(capacity < 1 ? 1 : capacity) {}

ThumbnailSlots::~ThumbnailSlots() { ReleaseAll(); }

std::unique_ptr<QFile> ThumbnailSlots::Wrap(int fileHandle)
{
    auto file = std::make_unique<QFile>();
    if (file->open(fileHandle, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return file;
    Platform::CloseHandle(fileHandle);
    return nullptr;
}

int ThumbnailSlots::Register(std::unique_ptr<QFile> file, const QString& path)
{
    size_t place = 0;
    while (place < m_files.size() && m_files[place].file)
        ++place;
    if (place == m_files.size())
        m_files.emplace_back();
    CacheFile& entry = m_files[place];
    entry.file = std::move(file);
    entry.path = path;
    entry.generation = m_nextGeneration++;
    entry.claimedEnd = 0;
    return int(place);
}

void ThumbnailSlots::Release(int file)
{
    if (!IsOpen(file))
        return;
    CacheFile& entry = m_files[size_t(file)];
    entry.file->close();
    entry.file.reset();
    entry.path.clear();
}

void ThumbnailSlots::ReleaseAll()
{
    for (size_t place = 0; place < m_files.size(); ++place)
        Release(int(place));
    m_files.clear();
}

bool ThumbnailSlots::IsOpen(int file) const
{
    return file >= 0 && size_t(file) < m_files.size() && m_files[size_t(file)].file;
}

quint64 ThumbnailSlots::Generation(int file) const { return IsOpen(file) ? m_files[size_t(file)].generation : 0; }

int ThumbnailSlots::FileFor(const QString& path) const
{
    for (size_t place = 0; place < m_files.size(); ++place)
        if (m_files[place].file && m_files[place].path == path)
            return int(place);
    return -1;
}

int ThumbnailSlots::OpenCount() const
{
    return int(std::count_if(m_files.begin(), m_files.end(), [](const CacheFile& f) { return bool(f.file); }));
}

QFile& ThumbnailSlots::File(int file) { return *m_files[size_t(file)].file; }

int ThumbnailSlots::Handle(int file) const { return IsOpen(file) ? m_files[size_t(file)].file->handle() : -1; }

bool ThumbnailSlots::WriteRecord(int fileIndex, const QByteArray& key, uint64_t time, const QImage& thumbnail,
                                 qint64& offset)
{
    if (!IsOpen(fileIndex))
        return false;
    const QByteArray record = Format::EncodeRecord(key, time, thumbnail);
    if (record.isEmpty())
        return true; // a path longer than a record can hold stays in memory only
    CacheFile& cacheFile = m_files[size_t(fileIndex)];
    QFile& file = *cacheFile.file;
    const bool append = offset < 0;
    const qint64 end = std::max(file.size(), cacheFile.claimedEnd);
    const qint64 at = append ? end : offset;
    if (!file.seek(at) || file.write(record) != record.size()) {
        if (append)
            file.resize(end); // no half record at the end
        return false;
    }
    offset = at;
    cacheFile.claimedEnd = std::max(cacheFile.claimedEnd, at + record.size());
    return true;
}

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

void ThumbnailSlots::ReadAhead(int fileHandle, qint64 offset, qint64 length)
{
    if (fileHandle < 0 || offset < 0 || length <= 0)
        return;
#if defined(Q_OS_LINUX)
    posix_fadvise(fileHandle, off_t(offset), off_t(length), POSIX_FADV_WILLNEED);
#endif
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
