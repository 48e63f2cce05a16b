#include "editor/imaging/ThumbnailCache.h"

#include "common/FileUtils.h"
#include "common/PrivateFiles.h"
#include "editor/imaging/CacheFileFormat.h"
#include "editor/imaging/ImageOps.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <QtDebug>
#include <algorithm>
#include <limits>

namespace Format = CacheFileFormat;

namespace {

// How much of the folders left recently is remembered: going back and forth
// between two folders (adding album photos from both) then reads no cache
// file again. A remembered record keeps its picture in its slot, so it costs
// little more than its path.
constexpr size_t kRememberedFolders = 2;
constexpr size_t kRememberedRecords = 2000;

// Delivers what the cache reports once its lock is released.
class ReportOnExit {
public:
    explicit ReportOnExit(std::function<void()> report) : m_report(std::move(report)) {}
    ~ReportOnExit() { m_report(); }
    ReportOnExit(const ReportOnExit&) = delete;
    ReportOnExit& operator=(const ReportOnExit&) = delete;

private:
    std::function<void()> m_report;
};

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

QImage ThumbnailCache::MakeThumbnail(const QString& path) { return ImageOps::LoadThumbnailBitmap(path); }

bool ThumbnailCache::IsLocked() const
{
    std::unique_lock<std::recursive_mutex> probe(m_mutex, std::try_to_lock);
    return !probe.owns_lock();
}

QString ThumbnailCache::CacheFilePath(const QString& folder) { return Format::CacheFilePath(folder); }

void ThumbnailCache::SetFileErrorSink(FileErrorSink sink)
{
    Lock lock(m_mutex);
    m_fileErrorSink = std::move(sink);
}

void ThumbnailCache::QueueError(const QString& path, const QString& reason) { m_errors.emplace_back(path, reason); }

void ThumbnailCache::ReportErrors()
{
    std::vector<std::pair<QString, QString>> errors;
    FileErrorSink sink;
    {
        Lock lock(m_mutex);
        errors.swap(m_errors);
        sink = m_fileErrorSink;
    }
    if (!sink)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    for (const auto& [path, reason] : errors) {
        if (app && QThread::currentThread() != app->thread())
            QMetaObject::invokeMethod(app, [sink, path = path, reason = reason] { sink(path, reason); },
                                      Qt::QueuedConnection);
        else
            sink(path, reason);
    }
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
    m_slots.Drop(it->second.handle);
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

ThumbHandle ThumbnailCache::AcquirePhoto(const QString& path)
{
    {
        Lock lock(m_mutex);
        const auto known = m_entries.find(path.toUtf8());
        if (known != m_entries.end()) {
            ++known->second.references;
            return known->second.handle;
        }
    }
    ThumbHandle handle = 0;
    AddPhotoImpl(path, &handle, nullptr, true);
    return handle;
}

bool ThumbnailCache::AddPhoto(const QString& path, ThumbHandle* handleOut, const std::atomic<bool>* stop)
{
    return AddPhotoImpl(path, handleOut, stop, false);
}

bool ThumbnailCache::AddPhotoImpl(const QString& path, ThumbHandle* handleOut, const std::atomic<bool>* stop,
                                  bool reference)
{
    if (handleOut)
        *handleOut = 0;
    const QByteArray key = path.toUtf8();
    const ReportOnExit report([this] { ReportErrors(); }); // after the lock below is released
    Lock lock(m_mutex);
    const QString folder = PhotoFolder(path);
    bool settled = false; // the folder's records went in while this call waited
    if (folder != m_currentFolder) {
        if (stop && stop->load())
            return false; // a stopped worker of the previous folder
        SwitchTo(folder, lock);
        settled = true;
    } else if (m_loading) {
        WaitForLoad(folder, lock);
        settled = true;
    }
    if (settled) {
        const auto known = m_entries.find(key);
        if (known != m_entries.end()) {
            if (reference)
                ++known->second.references;
            if (handleOut)
                *handleOut = known->second.handle;
            return true;
        }
    }
    // The folder's file as it is now; if the cache moves on while the photo is
    // decoded, the entry is not written into another folder's file.
    const int slot = folder == m_currentFolder && !m_loading ? m_currentFile : -1;
    const quint64 generation = IsOpen(slot) ? m_slots.Generation(slot) : 0;

    lock.unlock();
    const uint64_t time = FileUtils::FileTimeOf(path);
    const QImage thumbnail = MakeThumbnail(path);
    lock.lock();

    if (thumbnail.isNull())
        return false;
    Entry entry;
    entry.path = path;
    entry.state = Pending;
    entry.thumbnail = thumbnail;
    entry.time = time;
    entry.file = IsOpen(slot) && m_slots.Generation(slot) == generation ? slot : -1;
    const bool added = m_entries.find(key) == m_entries.end() && entry.file >= 0;
    const ThumbHandle handle = Insert(key, std::move(entry));
    if (reference)
        ++FindEntry(handle)->references;
    if (handleOut)
        *handleOut = handle;
    if (added) {
        m_unwritten.push_back(handle);
        if (m_unwritten.size() >= size_t(kUnwrittenPictures))
            WriteBehind();
    }
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
    const QImage thumbnail = MakeThumbnail(path);
    lock.lock();
    if (thumbnail.isNull())
        return 0;
    const auto known = m_entries.find(key);
    if (known != m_entries.end()) {
        if (forceNew) {
            known->second.thumbnail = thumbnail;
            known->second.inSlot = false; // the slot keeps the former picture
            known->second.time = time;
            m_slots.Drop(known->second.handle);
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
    const QImage picture = const_cast<ThumbnailCache*>(this)->PictureLocked(handle, lock);
    const Entry* entry = FindEntry(handle);
    if (!entry)
        return std::nullopt;
    return ThumbnailEntryInfo{entry->path, entry->references, entry->state,  entry->handle,
                              picture,     entry->time,       entry->offset, IsOpen(entry->file)};
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
    return const_cast<ThumbnailCache*>(this)->PictureLocked(handle, lock);
}

void ThumbnailCache::PrefetchPictures(const std::vector<ThumbHandle>& handles) const
{
    struct Range {
        int file;
        qint64 from, to;
    };
    std::vector<Range> ranges;
    {
        Lock lock(m_mutex);
        for (const ThumbHandle handle : handles) {
            const Entry* entry = FindEntry(handle);
            if (!entry || !entry->inSlot || entry->offset < 0 || !IsOpen(entry->file) || m_slots.Holds(handle))
                continue;
            const qint64 to = entry->offset + Format::kHeadSize + m_keys.at(handle).size() + Format::kPictureSize;
            ranges.push_back({m_slots.Handle(entry->file), entry->offset, to});
        }
    }
    // Records near one another (the workers write a folder's records in
    // about its order) go in one request.
    std::sort(ranges.begin(), ranges.end(),
              [](const Range& a, const Range& b) { return a.file != b.file ? a.file < b.file : a.from < b.from; });
    for (size_t i = 0; i < ranges.size();) {
        Range run = ranges[i++];
        while (i < ranges.size() && ranges[i].file == run.file && ranges[i].from <= run.to + Format::kPictureSize) {
            run.to = std::max(run.to, ranges[i].to);
            ++i;
        }
        ThumbnailSlots::ReadAhead(run.file, run.from, run.to - run.from);
    }
}

QImage ThumbnailCache::PictureLocked(ThumbHandle handle, Lock& lock)
{
    Entry* entry = FindEntry(handle);
    if (!entry)
        return QImage();
    if (!entry->inSlot)
        return entry->thumbnail;
    QImage picture = m_slots.Find(handle);
    if (!picture.isNull())
        return picture;
    if (IsOpen(entry->file))
        picture = ThumbnailSlots::ReadPicture(m_slots.Handle(entry->file), entry->offset,
                                              int(m_keys.at(handle).size()));
    if (!picture.isNull()) {
        m_slots.Put(handle, picture);
        return picture;
    }
    const QString path = entry->path;
    lock.unlock();
    const uint64_t time = FileUtils::FileTimeOf(path);
    picture = MakeThumbnail(path);
    lock.lock();
    entry = FindEntry(handle);
    if (!entry || entry->path != path)
        return QImage();
    if (!entry->inSlot)
        return entry->thumbnail; // another thread got there first
    if (picture.isNull())
        return QImage();
    entry->thumbnail = picture;
    entry->inSlot = false;
    entry->time = time;
    entry->state = Pending;
    return picture;
}

void ThumbnailCache::KeepInSlot(Entry& entry)
{
    if (entry.inSlot || entry.state != Written || entry.offset < 0 || !IsOpen(entry.file) || entry.thumbnail.isNull())
        return;
    m_slots.Put(entry.handle, entry.thumbnail);
    entry.thumbnail = QImage();
    entry.inSlot = true;
}

void ThumbnailCache::WriteBehind()
{
    std::vector<ThumbHandle> handles;
    handles.swap(m_unwritten);
    for (const ThumbHandle handle : handles) {
        Entry* entry = FindEntry(handle);
        if (!entry || entry->state != Pending || !IsOpen(entry->file))
            continue;
        if (WriteRecord(*entry, m_keys.at(handle))) {
            entry->state = Written;
            KeepInSlot(*entry);
        }
    }
}

int ThumbnailCache::HeldPictureCount() const
{
    Lock lock(m_mutex);
    int count = m_slots.Count();
    for (const auto& [key, entry] : m_entries)
        count += entry.thumbnail.isNull() ? 0 : 1;
    for (const RememberedFolder& remembered : m_remembered)
        for (const auto& [key, entry] : remembered.records)
            count += entry.thumbnail.isNull() ? 0 : 1;
    return count;
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
    return m_slots.OpenCount();
}

QStringList ThumbnailCache::RememberedFolders() const
{
    Lock lock(m_mutex);
    QStringList folders;
    for (const RememberedFolder& remembered : m_remembered)
        folders << remembered.folder;
    return folders;
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
    const QImage thumbnail = MakeThumbnail(path);
    lock.lock();
    Entry* current = FindEntry(handle);
    if (thumbnail.isNull() || !current)
        return false;
    current->thumbnail = thumbnail;
    current->inSlot = false;
    current->time = time;
    m_slots.Drop(handle);
    if (IsOpen(current->file)) {
        current->state = Written;
        if (WriteRecord(*current, path.toUtf8()))
            KeepInSlot(*current);
        else
            current->state = Pending;
    }
    return true;
}

// ---- cache files -------------------------------------------------------------

void ThumbnailCache::ReleaseFile(int slot)
{
    m_slots.Release(slot);
    if (m_currentFile == slot)
        m_currentFile = -1;
}

bool ThumbnailCache::WriteRecord(Entry& entry, const QByteArray& key)
{
    return m_slots.WriteRecord(entry.file, key, entry.time, entry.thumbnail, entry.offset);
}

bool ThumbnailCache::OpenFolder(const QString& folder)
{
    const ReportOnExit report([this] { ReportErrors(); });
    Lock lock(m_mutex);
    return SwitchTo(folder, lock);
}

void ThumbnailCache::WaitForLoad(const QString& folder, Lock& lock)
{
    m_loaded.wait(lock, [&] { return !m_loading || m_currentFolder != folder; });
}

bool ThumbnailCache::SwitchTo(const QString& folder, Lock& lock)
{
    if (folder == m_currentFolder) {
        WaitForLoad(folder, lock);
        return true;
    }
    LeaveCurrentFolder();
    m_currentFolder = folder;
    m_currentFile = -1;
    m_loading = false;
    ++m_switches;
    m_loaded.notify_all(); // threads waiting for the previous folder's records go on

    for (auto it = m_remembered.begin(); it != m_remembered.end(); ++it) {
        if (it->folder != folder)
            continue;
        RememberedFolder remembered = std::move(*it);
        m_remembered.erase(it);
        if (IsOpen(remembered.file) && m_slots.Generation(remembered.file) == remembered.generation)
            return Revive(std::move(remembered), lock);
        break;
    }

    const QString cachePath = CacheFilePath(folder);
    const int reused = m_slots.FileFor(cachePath); // entries of this folder still hold it open
    if (reused >= 0)
        return LoadCacheFile(folder, reused, -1, lock);
    const Platform::PrivateFile opened = Platform::OpenPrivateFile(cachePath, Platform::PrivateOpen::CreateOrExisting);
    if (opened.handle < 0) {
        // A file that cannot be created is reported; one that is there but
        // cannot be used (unreadable, a link, another user's) is left alone.
        if (!opened.existed)
            QueueError(cachePath, opened.error);
        return false;
    }
    if (!opened.created)
        return LoadCacheFile(folder, -1, opened.handle, lock);
    std::unique_ptr<QFile> file = ThumbnailSlots::Wrap(opened.handle);
    if (!file) {
        QueueError(cachePath, QStringLiteral("cannot open the new file"));
        return false;
    }
    m_currentFile = m_slots.Register(std::move(file), cachePath);
    return true;
}

ThumbnailCache::FileRead ThumbnailCache::ReadCacheFile(int handle, const std::set<QByteArray>& skip)
{
    FileRead read;
    qint64 offset = 0;
    for (;;) {
        const QByteArray headBytes = Platform::ReadAt(handle, offset, Format::kHeadSize);
        if (headBytes.size() < Format::kHeadSize)
            break;
        const Format::RecordHead head = Format::ParseHead(headBytes.constData());
        if (head.pathLength <= 0 || head.pathLength > Format::kMaxPathBytes) {
            read.corrupt = true;
            break;
        }
        const QByteArray key = Platform::ReadAt(handle, offset + Format::kHeadSize, head.pathLength);
        const qint64 pictureAt = offset + Format::kHeadSize + head.pathLength;
        const qint64 recordEnd = pictureAt + Format::kPictureSize;
        // A record cut short ends the file; later records are appended after
        // the last whole one.
        if (key.size() < head.pathLength)
            break;
        // The picture itself stays in its slot; only its head is checked, and
        // that the slot lies whole in the file.
        if (Platform::ReadAt(handle, recordEnd - 1, 1).size() < 1)
            break;
        const QByteArray pictureHead = Platform::ReadAt(handle, pictureAt, Format::kPictureHeadSize);
        if (pictureHead.size() < Format::kPictureHeadSize)
            break;
        const qint64 recordAt = offset;
        offset = recordEnd;
        if (skip.count(key))
            continue; // the cache holds this photo already

        Entry entry;
        entry.path = QString::fromUtf8(key);
        entry.offset = recordAt;
        const uint64_t photoTime = FileUtils::FileTimeOf(entry.path);
        if (photoTime == 0)
            continue; // the photo is gone: its record stays, unused, and the rest still counts
        if (photoTime != head.time) {
            // Changed photo: a new thumbnail, written back in place. One that
            // no longer decodes is left out like a deleted one.
            entry.thumbnail = MakeThumbnail(entry.path);
            if (entry.thumbnail.isNull())
                continue;
            entry.state = Pending;
            entry.time = photoTime;
        } else {
            if (!Format::ParsePictureHead(pictureHead.constData()).IsUsable()) {
                read.corrupt = true; // the file itself is damaged
                offset = recordAt;
                break;
            }
            entry.state = Written;
            entry.inSlot = true;
            entry.time = head.time;
        }
        read.records.emplace_back(key, std::move(entry));
    }
    read.end = offset;
    return read;
}

bool ThumbnailCache::LoadCacheFile(const QString& folder, int reusedSlot, int handle, Lock& lock)
{
    const QString cachePath = CacheFilePath(folder);
    const quint64 switches = m_switches;
    std::set<QByteArray> skip;
    int readHandle = handle;
    quint64 generation = 0;
    if (reusedSlot >= 0) {
        generation = m_slots.Generation(reusedSlot);
        readHandle = Platform::DuplicateHandle(m_slots.Handle(reusedSlot));
        if (readHandle < 0)
            return false;
        for (const auto& [key, entry] : m_entries)
            if (entry.file == reusedSlot)
                skip.insert(key);
        m_currentFile = reusedSlot;
    }
    m_loading = true;

    lock.unlock();
    FileRead read = ReadCacheFile(readHandle, skip);
    lock.lock();

    if (reusedSlot >= 0)
        Platform::CloseHandle(readHandle);
    if (m_switches != switches) { // another folder was opened meanwhile
        if (reusedSlot < 0)
            Platform::CloseHandle(handle);
        return false;
    }
    m_loading = false;
    m_loaded.notify_all();
    int slot = reusedSlot;
    if (slot < 0) {
        std::unique_ptr<QFile> file = ThumbnailSlots::Wrap(handle);
        if (!file)
            return false;
        slot = m_slots.Register(std::move(file), cachePath);
    } else if (!IsOpen(slot) || m_slots.Generation(slot) != generation) {
        m_currentFile = -1;
        return false;
    }
    m_currentFile = slot;
    QFile& file = m_slots.File(slot);
    qint64& claimedEnd = m_slots.ClaimedEnd(slot);

    if (!read.corrupt) {
        if (read.end < file.size() && claimedEnd <= read.end)
            file.resize(read.end); // drop a partial record at the end
        claimedEnd = std::max(claimedEnd, read.end);
        for (auto& [key, entry] : read.records) {
            entry.file = slot;
            Insert(key, std::move(entry));
        }
        return true;
    }

    // Rebuild: the file is emptied (in place, through the handle already
    // checked); what was read so far, and what the cache already held of
    // this file, is written back at its offset by the next Flush.
    const qint64 failedAt = read.end;
    TakeBackPictures(slot, read.records);
    file.resize(0);
    claimedEnd = failedAt;
    for (auto& [key, entry] : m_entries) {
        if (entry.file != slot)
            continue;
        entry.state = Pending;
        if (entry.offset >= failedAt)
            entry.offset = -1;
    }
    for (auto& [key, entry] : read.records) {
        entry.state = Pending;
        entry.file = slot;
        Insert(key, std::move(entry));
    }
    return true;
}

void ThumbnailCache::TakeBackPictures(int slot, std::vector<Record>& records)
{
    const int handle = m_slots.Handle(slot);
    for (auto& [key, entry] : m_entries) {
        if (entry.file != slot || !entry.inSlot)
            continue;
        QImage picture = m_slots.Find(entry.handle);
        if (picture.isNull())
            picture = ThumbnailSlots::ReadPicture(handle, entry.offset, int(key.size()));
        m_slots.Drop(entry.handle);
        entry.thumbnail = picture; // null only when the file was damaged meanwhile
        entry.inSlot = false;
    }
    std::vector<Record> kept;
    kept.reserve(records.size());
    for (auto& [key, entry] : records) {
        if (entry.inSlot) {
            entry.thumbnail = ThumbnailSlots::ReadPicture(handle, entry.offset, int(key.size()));
            entry.inSlot = false;
            if (entry.thumbnail.isNull())
                continue; // the workers make it again
        }
        kept.emplace_back(key, std::move(entry));
    }
    records.swap(kept);
}

void ThumbnailCache::Recheck(std::vector<Record>& records)
{
    std::vector<Record> kept;
    kept.reserve(records.size());
    for (auto& [key, entry] : records) {
        const uint64_t time = FileUtils::FileTimeOf(entry.path);
        if (time == 0)
            continue; // gone
        if (time != entry.time) {
            entry.thumbnail = MakeThumbnail(entry.path);
            if (entry.thumbnail.isNull())
                continue;
            entry.inSlot = false;
            entry.time = time;
            entry.state = Pending; // rewritten in place
        }
        kept.emplace_back(key, std::move(entry));
    }
    records.swap(kept);
}

bool ThumbnailCache::Revive(RememberedFolder remembered, Lock& lock)
{
    const quint64 switches = m_switches;
    m_currentFile = remembered.file;
    std::vector<Record> records;
    records.reserve(remembered.records.size());
    for (auto& [key, entry] : remembered.records)
        if (m_entries.find(key) == m_entries.end())
            records.emplace_back(key, std::move(entry));
    m_loading = true;

    lock.unlock();
    Recheck(records);
    lock.lock();

    if (m_switches != switches)
        return false;
    m_loading = false;
    m_loaded.notify_all();
    if (!IsOpen(remembered.file) || m_slots.Generation(remembered.file) != remembered.generation) {
        m_currentFile = -1;
        return false;
    }
    for (auto& [key, entry] : records) {
        entry.file = remembered.file;
        Insert(key, std::move(entry));
    }
    return true;
}

// ---- remembered folders ------------------------------------------------------

void ThumbnailCache::LeaveCurrentFolder()
{
    const int leaving = m_currentFile;
    const bool complete = !m_loading;
    m_currentFile = -1; // so that Prune may close the previous folder's file
    if (m_currentFolder.isEmpty() || !QFileInfo(m_currentFolder).isDir())
        return;
    Flush();
    if (complete && IsOpen(leaving))
        Remember(m_currentFolder, leaving);
    Prune();
}

void ThumbnailCache::Remember(const QString& folder, int slot)
{
    RememberedFolder remembered;
    remembered.folder = folder;
    remembered.file = slot;
    remembered.generation = m_slots.Generation(slot);
    for (const auto& [key, entry] : m_entries)
        if (entry.file == slot && entry.state == Written && entry.offset >= 0) {
            Entry& kept = remembered.records.emplace(key, entry).first->second;
            kept.references = 0; // a remembered record is held by no one
        }
    for (auto it = m_remembered.begin(); it != m_remembered.end();) {
        if (it->folder == folder || it->file == slot)
            it = m_remembered.erase(it);
        else
            ++it;
    }
    m_remembered.push_front(std::move(remembered));
}

bool ThumbnailCache::IsRemembered(int slot) const
{
    for (const RememberedFolder& remembered : m_remembered)
        if (remembered.file == slot && IsOpen(slot) && m_slots.Generation(slot) == remembered.generation)
            return true;
    return false;
}

void ThumbnailCache::KeepInMemory(const QByteArray& key, const Entry& entry)
{
    if (entry.state != Written || entry.offset < 0 || !IsOpen(entry.file))
        return;
    for (RememberedFolder& remembered : m_remembered) {
        if (remembered.file == entry.file && m_slots.Generation(entry.file) == remembered.generation) {
            Entry& kept = remembered.records[key] = entry;
            kept.references = 0;
            return;
        }
    }
}

void ThumbnailCache::TrimMemory()
{
    size_t total = 0;
    size_t kept = 0;
    for (const RememberedFolder& remembered : m_remembered) {
        if (kept == kRememberedFolders || total + remembered.records.size() > kRememberedRecords)
            break;
        total += remembered.records.size();
        ++kept;
    }
    m_remembered.resize(kept);
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
        else
            KeepInSlot(entry);
    }
    m_unwritten.clear();
}

void ThumbnailCache::Prune()
{
    Lock lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->second.references <= 0) {
            KeepInMemory(it->first, it->second);
            Erase(it++);
        } else {
            ++it;
        }
    }
    TrimMemory();
    std::vector<bool> used(size_t(m_slots.Places()), false);
    for (const auto& [key, entry] : m_entries)
        if (IsOpen(entry.file))
            used[size_t(entry.file)] = true;
    for (const RememberedFolder& remembered : m_remembered)
        if (IsRemembered(remembered.file))
            used[size_t(remembered.file)] = true;
    for (size_t slot = 0; slot < used.size(); ++slot)
        if (!used[slot] && int(slot) != m_currentFile) // the current folder's file stays for its next photos
            ReleaseFile(int(slot));
}

void ThumbnailCache::Close()
{
    Lock lock(m_mutex);
    Flush();
    m_entries.clear();
    m_keys.clear();
    m_remembered.clear();
    m_unwritten.clear();
    m_loading = false;
    ++m_switches;
    m_loaded.notify_all();
    m_slots.Clear();
    m_slots.ReleaseAll();
    m_currentFolder.clear();
    m_currentFile = -1;
}
