// The thumbnail cache: one 192 x 144 thumbnail per photo file for the whole
// editor, and the registry through which the editor refers to photos. The
// thumbnail handle (a stable integer id, unique among live entries) identifies
// a photo; holders keep its entry alive through a reference count.
//
// The thumbnails of the folder being browsed are kept in a cache file in the
// temporary folder (format in CacheFileFormat.h), so that a folder opened
// again shows its thumbnails without decoding its photos. Adding a photo of
// another folder switches the cache to that folder: the previous folder's
// pending thumbnails are written and those nobody references are dropped.
// The records of the last folders left are remembered (with their cache files
// kept open), so that going back to one of them reads nothing again.
//
// A thumbnail whose record lies in an open cache file keeps no picture in its
// entry: the picture is read back from the record's slot when asked for, and
// the last few hundred asked for stay decoded (ThumbnailSlots). New thumbnails
// are written to their slots a few dozen at a time while a folder is browsed,
// so memory grows with what is shown, not with the folder.
//
// The user-interface thread and the thumbnail workers use the cache at the
// same time. Every operation holds the cache's re-entrant lock, but photos are
// decoded and cache files read without it: while a folder's file is read,
// other threads go on using the cache, and those that want a photo of that
// folder wait until its records are in.
#pragma once

#include "editor/imaging/ThumbnailRegistry.h"
#include "editor/imaging/ThumbnailSlots.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

class QFile;

// A copy of one entry as it was when asked for.
struct ThumbnailEntryInfo {
    QString path;         // the photo's full path
    int references = 0;   // holders of this thumbnail
    int state = 0;        // ThumbnailCache::EntryState
    ThumbHandle handle = 0;
    QImage thumbnail;
    uint64_t time = 0;    // the photo's last-write time when the thumbnail was made (FILETIME units)
    qint64 offset = -1;   // the record's offset in its cache file; -1 when it has none yet
    bool hasCacheFile = false;
};

class ThumbnailCache : public ThumbnailRegistry {
public:
    enum EntryState {
        Written = 0, // the cache file holds this record unchanged
        Pending = 1, // the record must be written to the cache file
        Unsaved = 2, // never written (working copies and other files added without a cache file)
    };
    // New thumbnails of the current folder are written to their slots this
    // many at a time; written ones hold no picture of their own.
    static constexpr int kUnwrittenPictures = 32;
    // Told when a cache file cannot be created: the file and the system's
    // reason. Called without the cache's lock, on the application's thread:
    // a failure met on another thread is queued there.
    using FileErrorSink = std::function<void(const QString& path, const QString& reason)>;

    ThumbnailCache();
    ~ThumbnailCache() override; // Close()
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    // The editor's cache, created on first use.
    static ThumbnailCache& Instance();
    static QString CacheFilePath(const QString& folder);

    // Default: a warning on stderr.
    void SetFileErrorSink(FileErrorSink sink);

    // Makes the folder current: when it is not already, writes the pending
    // records and drops unreferenced thumbnails of the previous folder (when
    // that still exists; its records are remembered), then takes the folder's
    // remembered records or reads its cache file, or creates an empty one.
    // Records of changed photos get new thumbnails; records of deleted or no
    // longer decodable photos are left out (and stay in the file); a corrupt
    // record makes the file be rebuilt from the records before it. False when
    // the folder keeps no cache file (a file that is a link or belongs to
    // another user is never used).
    bool OpenFolder(const QString& folder);
    // Makes and inserts the thumbnail of a photo (switching the cache to the
    // photo's folder first). handleOut gets the photo's handle. True when the
    // photo has a thumbnail in the cache afterwards. A worker passes its stop
    // flag: once it is set, the worker's photo no longer switches the cache
    // away from the folder now shown (nothing is added then).
    virtual bool AddPhoto(const QString& path, ThumbHandle* handleOut = nullptr,
                          const std::atomic<bool>* stop = nullptr);
    // The handle of the entry with exactly this path, or 0.
    virtual ThumbHandle FindByPath(const QString& path) const;
    ThumbHandle FindOrAddPhoto(const QString& path) override;
    ThumbHandle AcquirePhoto(const QString& path) override;
    // For files that must not enter a cache file (working copies). The caller
    // holds one reference on the returned entry. Unless forceNew, a known path
    // just gets the reference; otherwise the file is decoded (a known entry
    // takes the new thumbnail). 0 when the file cannot be decoded.
    ThumbHandle AddUnsavedPhoto(const QString& path, bool forceNew = false);
    std::optional<ThumbnailEntryInfo> EntryOfId(ThumbHandle handle) const;
    void AddReference(ThumbHandle handle) override;
    void ReleaseReference(ThumbHandle handle) override;
    void RemoveByPath(const QString& path);
    // When the photo file exists and its last-write time differs from the
    // entry's (or force is set, for a file the caller just rewrote): a new
    // thumbnail and time for the entry, its record rewritten at once when it
    // has a cache file. The handle stays. True when a new thumbnail was made.
    bool Refresh(ThumbHandle handle, bool force = false);
    // Writes every pending record whose cache file is open.
    void Flush();
    // Drops every entry nobody references (a written record of a remembered
    // folder is remembered) and closes cache files that no entry and no
    // remembered folder uses (except the current folder's).
    void Prune();
    // What destruction does: Flush, drop every entry and remembered folder,
    // close every cache file.
    // The cache can be used again afterwards.
    void Close();

    QString PathOf(ThumbHandle handle) const override;
    QImage PictureOf(ThumbHandle handle) const override;
    // The pictures of these thumbnails will soon be asked for: the cache-file
    // slots of those not kept decoded are read ahead by the system in the
    // background (neighbouring slots in one request). Returns at once.
    void PrefetchPictures(const std::vector<ThumbHandle>& handles) const;

    QString CurrentFolder() const;
    int Count() const;
    int OpenCacheFileCount() const;
    // The folders whose records are remembered, the last one left first.
    QStringList RememberedFolders() const;
    // How many decoded pictures the cache holds: those kept from recent reads
    // of slots, and those of entries not written to a slot (new, unsaved or
    // without a cache file).
    int HeldPictureCount() const;

protected:
    // Makes a photo's thumbnail (ImageOps::LoadThumbnailBitmap); always
    // called without the cache's lock.
    virtual QImage MakeThumbnail(const QString& path);
    // True when some thread holds the cache's lock (asked from another thread
    // than the holder: the lock is re-entrant).
    bool IsLocked() const;

private:
    struct Entry {
        QString path;
        int references = 0;
        int state = Pending;
        QImage thumbnail;
        ThumbHandle handle = 0;
        uint64_t time = 0;
        qint64 offset = -1;
        int file = -1; // the cache file's place in m_slots, or -1
        // The picture is the one in the record's slot (the entry is written,
        // its file open) and `thumbnail` holds nothing: m_slots
        // give it.
        bool inSlot = false;
    };
    using Record = std::pair<QByteArray, Entry>; // key and entry
    // A folder left recently: its written records as they were, and its file.
    struct RememberedFolder {
        QString folder;
        int file = -1;
        quint64 generation = 0;
        std::map<QByteArray, Entry> records;
    };
    // What reading a cache file gave.
    struct FileRead {
        std::vector<Record> records; // in file order
        qint64 end = 0;              // where the last whole record ends, or the corrupt one starts
        bool corrupt = false;
    };
    using Lock = std::unique_lock<std::recursive_mutex>;

    bool AddPhotoImpl(const QString& path, ThumbHandle* handleOut, const std::atomic<bool>* stop, bool reference);
    // These may unlock while they read or decode; `lock` holds the mutex once.
    bool SwitchTo(const QString& folder, Lock& lock);
    bool LoadCacheFile(const QString& folder, int reusedSlot, int handle, Lock& lock);
    bool Revive(RememberedFolder remembered, Lock& lock);
    void WaitForLoad(const QString& folder, Lock& lock);
    FileRead ReadCacheFile(int handle, const std::set<QByteArray>& skip);
    // Checks remembered records against their photos: a changed photo gets a
    // new thumbnail, a missing or undecodable one is dropped.
    void Recheck(std::vector<Record>& records);

    void LeaveCurrentFolder();
    void Remember(const QString& folder, int slot);
    void KeepInMemory(const QByteArray& key, const Entry& entry);
    void TrimMemory();
    bool IsRemembered(int slot) const;
    void QueueError(const QString& path, const QString& reason);
    void ReportErrors();

    // The entry's picture: its own, a decoded one kept, or its slot read
    // back. A slot that cannot be read (the file was damaged behind the
    // cache's back) has the photo decoded again, without the lock, and its
    // record rewritten by the next Flush.
    QImage PictureLocked(ThumbHandle handle, Lock& lock);
    // A written entry gives its picture to the kept ones and holds none.
    void KeepInSlot(Entry& entry);
    // Writes the new thumbnails noted in m_unwritten to their slots.
    void WriteBehind();
    // Gives entries kept in the slot's file their pictures back, before the
    // file is emptied.
    void TakeBackPictures(int slot, std::vector<Record>& records);

    Entry* FindEntry(ThumbHandle handle);
    const Entry* FindEntry(ThumbHandle handle) const;
    ThumbHandle NewHandle();
    ThumbHandle Insert(const QByteArray& key, Entry entry);
    void Erase(std::map<QByteArray, Entry>::iterator it);
    void ReleaseFile(int slot);
    bool WriteRecord(Entry& entry, const QByteArray& key);
    bool IsOpen(int slot) const { return m_slots.IsOpen(slot); }

    mutable std::recursive_mutex m_mutex;
    std::map<QByteArray, Entry> m_entries;             // by the path's UTF-8 bytes
    std::unordered_map<ThumbHandle, QByteArray> m_keys; // handle -> key
    QString m_currentFolder;
    int m_currentFile = -1;
    ThumbHandle m_nextHandle = 1;
    FileErrorSink m_fileErrorSink;
    std::vector<std::pair<QString, QString>> m_errors; // cache-file failures not reported yet
    std::deque<RememberedFolder> m_remembered;          // the last folder left first
    bool m_loading = false;       // the current folder's records are being read or checked
    quint64 m_switches = 0;       // counts folder switches: a load that sees it change was overtaken
    std::condition_variable_any m_loaded;
    mutable ThumbnailSlots m_slots;       // the open cache files and the pictures last read from them
    std::vector<ThumbHandle> m_unwritten; // new thumbnails of the current folder not written yet
};
