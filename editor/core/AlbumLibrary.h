// The album library: the albums of the album history that can still be read,
// each with its thumbnail, photo count, project file and date. The project
// commands find, add, select and remove entries here; the library list window
// shows them and follows the signals. Widget-free, so that the commands and
// their tests need no display.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <vector>

class CHistoryRecord;

// One album of the library.
struct LibraryEntry {
    QImage picture;      // the album thumbnail, or null
    int photoCount = 0;  // "numphotos" of the project file
    QString projectFile; // F/N.qem
    int year = 0;
    int month = 0;
    int day = 0;

    // F, the project folder (the item's label).
    QString Folder() const;
    // N, the album name: the project file's name without its extension.
    QString Name() const;
    // "%d.%d.%d": year, month, day.
    QString DateText() const;
    // "Photos:%d\n" with the photo count.
    QString PhotosText() const;
    // The same album as the header says: project file, photo count and date.
    bool SameHeader(const LibraryEntry& other) const;
};

class AlbumLibrary : public QObject {
    Q_OBJECT
public:
    explicit AlbumLibrary(QObject* parent = nullptr);

    // Reads the project element of F/N.qem into the entry: photo count, date,
    // project file, and the picture F/prj_thumb when that attribute is set
    // (null when it cannot be loaded). False when the project file does not
    // exist or cannot be read; the entry is then unchanged.
    static bool ReadHeader(const QString& folder, LibraryEntry& entry);

    // Fills the library from the history once, on first use: every folder of
    // the history in order whose header can be read. Folders that cannot be
    // read are left out here and stay in the history.
    void EnsureFilled();
    // Empties the library and fills it again from the history.
    void Fill(const CHistoryRecord& history);
    bool IsFilled() const { return m_filled; }

    int Count() const { return int(m_entries.size()); }
    const LibraryEntry& At(int index) const { return m_entries.at(size_t(index)); }
    // The first entry whose project folder is the folder (same cleaned path), or -1.
    int IndexOfFolder(const QString& folder) const;
    // The first entry whose header equals the given one, or -1.
    int IndexOfHeader(const LibraryEntry& header) const;

    int Append(const LibraryEntry& entry);
    void Replace(int index, const LibraryEntry& entry);
    void Remove(int index);

    // The selected entry (the album the commands opened or saved last), or -1.
    int Selected() const { return m_selected; }
    void Select(int index);

signals:
    void Reset();
    void Appended(int index);
    void Changed(int index);
    void Removed(int index);
    void SelectionChanged(int index);

private:
    std::vector<LibraryEntry> m_entries;
    int m_selected = -1;
    bool m_filled = false;
};
