#include "editor/imaging/ThumbnailCache.h"

#include "common/FileUtils.h"
#include "editor/imaging/CacheFileFormat.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>
#include <QFileInfo>
#include <QtDebug>
#include <limits>

using Lock = std::unique_lock<std::recursive_mutex>;
namespace Format = CacheFileFormat;

namespace {

// The folder a photo belongs to: its path without the last component ("/" for
// a photo in the root).
QString PhotoFolder(const QString& path)
{
    const QString folder = FileUtils::FolderOf(path);
    return folder.isEmpty() && path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : folder;
}

} // namespace

ThumbnailCache::ThumbnailCache()
    : m_fileErrorSink([](const QString& path, const QString& reason) {
          qWarning("Cannot create the thumbnail cache file %s: %s", qPrintable(path), qPrintable(reason));
      })
{
}

ThumbnailCache::~ThumbnailCache() { Close(); }

ThumbnailCache& ThumbnailCache::Instance()
{
    static ThumbnailCache cache;
    return cache;
}

QString ThumbnailCache::CacheFilePath(const QString& folder) { return Format::CacheFilePath(folder); }

void ThumbnailCache::SetFileErrorSink(FileErrorSink sink)
{
    Lock lock(m_mutex);
    m_fileErrorSink = std::move(sink);
}

// ---- entries -----------------------------------------------------------------

ThumbnailCache::Entry* ThumbnailCache::FindEntry(ThumbHandle handle)
{
    const auto key = m_keys.find(handle);
    if (key == m_keys.end())
        return nullptr;
    const auto it = m_entries.find(key->second);
    return it == m_entries.end() ? nullptr : &it->second;
}

const ThumbnailCache::Entry* ThumbnailCache::FindEntry(ThumbHandle handle) const
{
    return const_cast<ThumbnailCache*>(this)->FindEntry(handle);
}

ThumbHandle ThumbnailCache::NewHandle()
{
    for (;;) {
        const ThumbHandle handle = m_nextHandle;
        m_nextHandle = m_nextHandle == std::numeric_limits<ThumbHandle>::max() ? 1 : m_nextHandle + 1;
        if (m_keys.find(handle) == m_keys.end())
            return handle;
    }
}

ThumbHandle ThumbnailCache::Insert(const QByteArray& key, Entry entry)
{
    const auto existing = m_entries.find(key);
    if (existing != m_entries.end())
        return existing->second.handle; // an existing entry is never replaced
    entry.handle = NewHandle();
    m_keys.emplace(entry.handle, key);
    const ThumbHandle handle = entry.handle;
    m_entries.emplace(key, std::move(entry));
    return handle;
}

void ThumbnailCache::Erase(std::map<QByteArray, Entry>::iterator it)
{
    m_keys.erase(it->second.handle);
    m_entries.erase(it);
}

ThumbHandle ThumbnailCache::FindByPath(const QString& path) const
{
    Lock lock(m_mutex);
    const auto it = m_entries.find(path.toUtf8());
    return it == m_entries.end() ? 0 : it->second.handle;
}

ThumbHandle ThumbnailCache::FindOrAddPhoto(const QString& path)
{
    ThumbHandle handle = FindByPath(path);
    if (handle == 0)
        AddPhoto(path, &handle);
    return handle;
}

bool ThumbnailCache::AddPhoto(const QString& path, ThumbHandle* handleOut, const std::atomic<bool>* stop)
{
    if (handleOut)
        *handleOut = 0;
    const QByteArray key = path.toUtf8();
    Lock lock(m_mutex);
    const QString folder = PhotoFolder(path);
    if (folder != m_currentFolder) {
        if (stop && stop->load())
            return false; // a stopped worker of the previous folder
        OpenFolder(folder);
        const auto known = m_entries.find(key);
        if (known != m_entries.end()) {
            if (handleOut)
                *handleOut = known->second.handle;
            return true;
        }
    }
    // The folder's file as it is now; if the cache moves on while the photo is
    // decoded, the entry is not written into another folder's file.
    const int slot = m_currentFile;
    const quint64 generation = IsOpen(slot) ? m_files[size_t(slot)].generation : 0;

    lock.unlock();
    const uint64_t time = FileUtils::FileTimeOf(path);
    const QImage thumbnail = ImageOps::LoadThumbnailBitmap(path);
    lock.lock();

    if (thumbnail.isNull())
        return false;
    Entry entry;
    entry.path = path;
    entry.state = Pending;
    entry.thumbnail = thumbnail;
    entry.time = time;
    entry.file = IsOpen(slot) && m_files[size_t(slot)].generation == generation ? slot : -1;
    const ThumbHandle handle = Insert(key, std::move(entry));
    if (handleOut)
        *handleOut = handle;
    return true;
}

ThumbHandle ThumbnailCache::AddUnsavedPhoto(const QString& path, bool forceNew)
{
    const QByteArray key = path.toUtf8();
    Lock lock(m_mutex);
    if (!forceNew) {
        const auto known = m_entries.find(key);
        if (known != m_entries.end()) {
            ++known->second.references;
            return known->second.handle;
        }
    }
    lock.unlock();
    const uint64_t time = FileUtils::FileTimeOf(path);
    const QImage thumbnail = ImageOps::LoadThumbnailBitmap(path);
    lock.lock();
    if (thumbnail.isNull())
        return 0;
    const auto known = m_entries.find(key);
    if (known != m_entries.end()) {
        if (forceNew) {
            known->second.thumbnail = thumbnail;
            known->second.time = time;
        }
        ++known->second.references;
        return known->second.handle;
    }
    Entry entry;
    entry.path = path;
    entry.references = 1;
    entry.state = Unsaved;
    entry.thumbnail = thumbnail;
    entry.time = time;
    return Insert(key, std::move(entry));
}

std::optional<ThumbnailEntryInfo> ThumbnailCache::EntryOfId(ThumbHandle handle) const
{
    Lock lock(m_mutex);
    const Entry* entry = FindEntry(handle);
    if (!entry)
        return std::nullopt;
    return ThumbnailEntryInfo{entry->path,   entry->references, entry->state,  entry->handle,
                              entry->thumbnail, entry->time,    entry->offset, IsOpen(entry->file)};
}

void ThumbnailCache::AddReference(ThumbHandle handle)
{
    Lock lock(m_mutex);
    if (Entry* entry = FindEntry(handle))
        ++entry->references;
}

void ThumbnailCache::ReleaseReference(ThumbHandle handle)
{
    Lock lock(m_mutex);
    if (Entry* entry = FindEntry(handle))
        --entry->references;
}

void ThumbnailCache::RemoveByPath(const QString& path)
{
    Lock lock(m_mutex);
    const auto it = m_entries.find(path.toUtf8());
    if (it != m_entries.end())
        Erase(it);
}

QString ThumbnailCache::PathOf(ThumbHandle handle) const
{
    Lock lock(m_mutex);
    const Entry* entry = FindEntry(handle);
    return entry ? entry->path : QString();
}

QImage ThumbnailCache::PictureOf(ThumbHandle handle) const
{
    Lock lock(m_mutex);
    const Entry* entry = FindEntry(handle);
    return entry ? entry->thumbnail : QImage();
}

QString ThumbnailCache::CurrentFolder() const
{
    Lock lock(m_mutex);
    return m_currentFolder;
}

int ThumbnailCache::Count() const
{
    Lock lock(m_mutex);
    return int(m_entries.size());
}

int ThumbnailCache::OpenCacheFileCount() const
{
    Lock lock(m_mutex);
    int count = 0;
    for (const CacheFile& file : m_files)
        count += file.file ? 1 : 0;
    return count;
}

bool ThumbnailCache::Refresh(ThumbHandle handle, bool force)
{
    Lock lock(m_mutex);
    const Entry* entry = FindEntry(handle);
    if (!entry)
        return false;
    const QString path = entry->path;
    const uint64_t time = FileUtils::FileTimeOf(path);
    if (!QFileInfo(path).isFile() || (!force && time == entry->time))
        return false;
    lock.unlock();
    const QImage thumbnail = ImageOps::LoadThumbnailBitmap(path);
    lock.lock();
    Entry* current = FindEntry(handle);
    if (thumbnail.isNull() || !current)
        return false;
    current->thumbnail = thumbnail;
    current->time = time;
    if (IsOpen(current->file)) {
        current->state = Written;
        if (!WriteRecord(*current, path.toUtf8()))
            current->state = Pending;
    }
    return true;
}

// ---- cache files -------------------------------------------------------------

bool ThumbnailCache::IsOpen(int slot) const
{
    return slot >= 0 && size_t(slot) < m_files.size() && m_files[size_t(slot)].file;
}

int ThumbnailCache::RegisterFile(std::unique_ptr<QFile> file, const QString& path)
{
    size_t slot = 0;
    while (slot < m_files.size() && m_files[slot].file)
        ++slot; // a released file leaves a slot that the next one takes
    if (slot == m_files.size())
        m_files.emplace_back();
    CacheFile& entry = m_files[slot];
    entry.file = std::move(file);
    entry.path = path;
    entry.generation = m_nextGeneration++;
    entry.claimedEnd = 0;
    return int(slot);
}

void ThumbnailCache::ReleaseFile(int slot)
{
    if (!IsOpen(slot))
        return;
    CacheFile& file = m_files[size_t(slot)];
    file.file->close();
    file.file.reset();
    file.path.clear();
    if (m_currentFile == slot)
        m_currentFile = -1;
}

int ThumbnailCache::FileSlotFor(const QString& cachePath) const
{
    for (size_t slot = 0; slot < m_files.size(); ++slot)
        if (m_files[slot].file && m_files[slot].path == cachePath)
            return int(slot);
    return -1;
}

std::unique_ptr<QFile> ThumbnailCache::CreateFile(const QString& cachePath)
{
    auto file = std::make_unique<QFile>(cachePath);
    if (file->open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        return file;
    if (m_fileErrorSink)
        m_fileErrorSink(cachePath, file->errorString());
    return nullptr;
}

bool ThumbnailCache::WriteRecord(Entry& entry, const QByteArray& key)
{
    if (!IsOpen(entry.file))
        return false;
    const QByteArray record = Format::EncodeRecord(key, entry.time, entry.thumbnail);
    if (record.isEmpty())
        return true; // a path longer than a record can hold stays in memory only
    CacheFile& cacheFile = m_files[size_t(entry.file)];
    QFile& file = *cacheFile.file;
    const bool append = entry.offset < 0;
    const qint64 end = std::max(file.size(), cacheFile.claimedEnd);
    const qint64 offset = append ? end : entry.offset;
    if (!file.seek(offset) || file.write(record) != record.size()) {
        if (append)
            file.resize(end); // no half record at the end
        return false;
    }
    entry.offset = offset;
    cacheFile.claimedEnd = std::max(cacheFile.claimedEnd, offset + record.size());
    return true;
}

bool ThumbnailCache::OpenFolder(const QString& folder)
{
    Lock lock(m_mutex);
    if (folder == m_currentFolder)
        return true;
    m_currentFile = -1; // so that Prune may close the previous folder's file
    if (!m_currentFolder.isEmpty() && QFileInfo(m_currentFolder).isDir()) {
        Flush();
        Prune();
    }
    m_currentFolder = folder;
    const QString cachePath = CacheFilePath(folder);
    if (QFileInfo::exists(cachePath))
        return LoadCacheFile(folder);
    std::unique_ptr<QFile> file = CreateFile(cachePath);
    if (!file)
        return false;
    m_currentFile = RegisterFile(std::move(file), cachePath);
    return true;
}

bool ThumbnailCache::LoadCacheFile(const QString& folder)
{
    Lock lock(m_mutex);
    const QString cachePath = CacheFilePath(folder);
    int slot = FileSlotFor(cachePath);
    const bool reused = slot >= 0; // entries of this folder still hold it open
    if (!reused) {
        auto file = std::make_unique<QFile>(cachePath);
        if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            m_currentFile = -1;
            return false;
        }
        slot = RegisterFile(std::move(file), cachePath);
    }
    m_currentFile = slot;
    QFile& file = *m_files[size_t(slot)].file;
    const qint64 fileSize = file.size();

    std::vector<std::pair<QByteArray, Entry>> read; // in file order
    qint64 offset = 0;
    bool corrupt = false;
    for (;;) {
        if (!file.seek(offset))
            break;
        const QByteArray headBytes = file.read(Format::kHeadSize);
        if (headBytes.size() < Format::kHeadSize)
            break;
        const Format::RecordHead head = Format::ParseHead(headBytes.constData());
        if (head.pathLength <= 0 || head.pathLength > Format::kMaxPathBytes) {
            corrupt = true;
            break;
        }
        const QByteArray key = file.read(head.pathLength);
        const qint64 pictureAt = offset + Format::kHeadSize + head.pathLength;
        const qint64 recordEnd = pictureAt + Format::kPictureSize;
        // A record cut short ends the file; later records are appended after the
        // last whole one.
        if (key.size() < head.pathLength || recordEnd > fileSize)
            break;
        if (reused && m_entries.find(key) != m_entries.end()) {
            offset = recordEnd;
            continue;
        }
        Entry entry;
        entry.path = QString::fromUtf8(key);
        entry.offset = offset;
        entry.file = slot;
        const uint64_t photoTime = FileUtils::FileTimeOf(entry.path);
        if (photoTime != head.time) {
            // Changed (or missing) photo: a new thumbnail, written back in place.
            entry.thumbnail = ImageOps::LoadThumbnailBitmap(entry.path);
            entry.state = Pending;
            entry.time = photoTime;
        } else {
            const QByteArray pictureHead = file.read(Format::kPictureHeadSize);
            if (pictureHead.size() == Format::kPictureHeadSize) {
                const Format::PictureHead picture = Format::ParsePictureHead(pictureHead.constData());
                if (picture.IsUsable())
                    entry.thumbnail = Format::DecodePicture(picture, file.read(picture.dataSize));
            }
            entry.state = Written;
            entry.time = head.time;
        }
        if (entry.thumbnail.isNull()) {
            corrupt = true;
            break;
        }
        read.emplace_back(key, std::move(entry));
        offset = recordEnd;
    }

    CacheFile& cacheFile = m_files[size_t(slot)];
    if (!corrupt) {
        if (offset < fileSize)
            file.resize(offset); // drop a partial record at the end
        cacheFile.claimedEnd = std::max(cacheFile.claimedEnd, offset);
        for (auto& [key, entry] : read)
            Insert(key, std::move(entry));
        return true;
    }

    // Rebuild: an empty file; what was read so far (and what the cache already
    // held of this file) is written back at its offset by the next Flush.
    const qint64 failedAt = offset;
    cacheFile.file->close();
    QFile::remove(cachePath);
    cacheFile.file = CreateFile(cachePath);
    const bool recreated = cacheFile.file != nullptr;
    cacheFile.claimedEnd = failedAt;
    for (auto& [key, entry] : m_entries) {
        if (entry.file != slot)
            continue;
        entry.state = Pending;
        if (entry.offset >= failedAt)
            entry.offset = -1;
        if (!recreated)
            entry.file = -1;
    }
    for (auto& [key, entry] : read) {
        entry.state = Pending;
        if (!recreated)
            entry.file = -1;
        Insert(key, std::move(entry));
    }
    if (!recreated) {
        cacheFile.path.clear();
        m_currentFile = -1;
        return false;
    }
    return true;
}

void ThumbnailCache::Flush()
{
    Lock lock(m_mutex);
    for (auto& [key, entry] : m_entries) {
        if (entry.state != Pending)
            continue;
        entry.state = Written;
        if (IsOpen(entry.file) && !WriteRecord(entry, key))
            entry.state = Pending; // try again next time
    }
}

void ThumbnailCache::Prune()
{
    Lock lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->second.references <= 0)
            Erase(it++);
        else
            ++it;
    }
    std::vector<bool> used(m_files.size(), false);
    for (const auto& [key, entry] : m_entries)
        if (IsOpen(entry.file))
            used[size_t(entry.file)] = true;
    for (size_t slot = 0; slot < m_files.size(); ++slot)
        if (!used[slot] && int(slot) != m_currentFile) // the current folder's file stays for its next photos
            ReleaseFile(int(slot));
}

void ThumbnailCache::Close()
{
    Lock lock(m_mutex);
    Flush();
    m_entries.clear();
    m_keys.clear();
    for (size_t slot = 0; slot < m_files.size(); ++slot)
        ReleaseFile(int(slot));
    m_files.clear();
    m_currentFolder.clear();
    m_currentFile = -1;
}
