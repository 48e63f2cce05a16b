#include "editor/core/AlbumLibrary.h"

#include "common/FileUtils.h"
#include "editor/core/HistoryRecord.h"
#include "editor/core/ProjectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

QString LibraryEntry::Folder() const
{
    return FileUtils::FolderOf(projectFile);
}

QString LibraryEntry::Name() const
{
    return QFileInfo(projectFile).completeBaseName();
}

QString LibraryEntry::DateText() const
{
    return QStringLiteral("%1.%2.%3").arg(year).arg(month).arg(day);
}

QString LibraryEntry::PhotosText() const
{
    return QStringLiteral("Photos:%1\n").arg(photoCount);
}

bool LibraryEntry::SameHeader(const LibraryEntry& other) const
{
    return projectFile == other.projectFile && photoCount == other.photoCount && year == other.year
           && month == other.month && day == other.day;
}

AlbumLibrary::AlbumLibrary(QObject* parent) : QObject(parent) {}

bool AlbumLibrary::ReadHeader(const QString& folder, LibraryEntry& entry)
{
    ProjectHeader header;
    if (!ProjectFile::ReadHeader(QDir::cleanPath(folder), header))
        return false;
    LibraryEntry read;
    read.projectFile = header.projectFile;
    read.photoCount = header.photoCount;
    read.year = header.year;
    read.month = header.month;
    read.day = header.day;
    // The thumbnail is a file of the project folder itself; a name that
    // leads elsewhere is not followed.
    const QString thumbnail = header.thumbnail;
    if (!thumbnail.isEmpty() && !thumbnail.contains(QLatin1Char('/')) && !thumbnail.contains(QLatin1Char('\\'))
        && thumbnail != QLatin1String("..")) {
        QImageReader reader(read.Folder() + QLatin1Char('/') + thumbnail);
        read.picture = reader.read(); // null when it cannot be decoded
    }
    entry = read;
    return true;
}

void AlbumLibrary::EnsureFilled()
{
    if (!m_filled)
        Fill(CHistoryRecord::Instance());
}

void AlbumLibrary::Fill(const CHistoryRecord& history)
{
    m_entries.clear();
    m_selected = -1;
    for (const QString& folder : history.Entries()) {
        LibraryEntry entry;
        if (ReadHeader(folder, entry))
            m_entries.push_back(entry);
    }
    m_filled = true;
    emit Reset();
}

int AlbumLibrary::IndexOfFolder(const QString& folder) const
{
    const QString wanted = QDir::cleanPath(folder);
    for (int i = 0; i < Count(); ++i)
        if (QDir::cleanPath(m_entries[size_t(i)].Folder()) == wanted)
            return i;
    return -1;
}

int AlbumLibrary::IndexOfHeader(const LibraryEntry& header) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_entries[size_t(i)].SameHeader(header))
            return i;
    return -1;
}

int AlbumLibrary::Append(const LibraryEntry& entry)
{
    m_entries.push_back(entry);
    const int index = Count() - 1;
    emit Appended(index);
    return index;
}

void AlbumLibrary::Replace(int index, const LibraryEntry& entry)
{
    if (index < 0 || index >= Count())
        return;
    m_entries[size_t(index)] = entry;
    emit Changed(index);
}

void AlbumLibrary::Remove(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_entries.erase(m_entries.begin() + index);
    const int before = m_selected;
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    emit Removed(index);
    if (m_selected != before && before == index)
        emit SelectionChanged(m_selected);
}

void AlbumLibrary::Select(int index)
{
    if (index < -1 || index >= Count())
        index = -1;
    m_selected = index;
    emit SelectionChanged(index);
}
