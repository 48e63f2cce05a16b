#include "editor/core/ProjectCommands.h"

#include "common/FileUtils.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/HistoryRecord.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/RecentProjects.h"
#include "editor/core/StringTable.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {
QString FolderName(const QString& folder)
{
    return QFileInfo(QDir::cleanPath(folder)).fileName();
}

bool SameFolder(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QDir::cleanPath(a) == QDir::cleanPath(b);
}

bool InHistory(const QString& folder)
{
    for (const QString& entry : CHistoryRecord::Instance().Entries())
        if (entry.compare(folder, Qt::CaseInsensitive) == 0 || SameFolder(entry, folder))
            return true;
    return false;
}

// Moves an album folder to the desktop's trash, with its read-only entries
// made writable first so that emptying the trash can remove them. When the
// home trash cannot be made, Qt would move the folder into a "files" folder
// relative to the working directory instead: that case is refused up front,
// and a move that still lands anywhere but an absolute trash path is undone.
bool MoveFolderToTrash(const QString& folder)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString trash = dataHome + QStringLiteral("/Trash");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome) || !QDir().mkpath(trash + QStringLiteral("/files"))
        || !QDir().mkpath(trash + QStringLiteral("/info")))
        return false;
    FileUtils::ClearReadOnly(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        FileUtils::ClearReadOnly(it.next());
    QString inTrash;
    if (!QFile::moveToTrash(folder, &inTrash))
        return false;
    if (!QDir::isAbsolutePath(inTrash)) {
        QDir().rename(inTrash, folder);
        return false;
    }
    return true;
}
} // namespace

ProjectCommands::ProjectCommands(AlbumModel& album, UserMessages& messages, QObject* parent)
    : QObject(parent), m_album(album), m_messages(messages), m_title(TitleFor(QString()))
{
}

QString ProjectCommands::TitleFor(const QString& albumName)
{
    const QString product = Strings::Load(Strings::ProductTitle);
    return albumName.isEmpty() ? product : QStringLiteral("%1 (%2)").arg(product, albumName);
}

void ProjectCommands::setTitle(const QString& albumName)
{
    const QString title = TitleFor(albumName);
    if (title == m_title)
        return;
    m_title = title;
    emit TitleChanged(title);
}

void ProjectCommands::notifyProjectState()
{
    if (CSubject* subject = CSubjectManager::Manager()->Find(kSubjectPrjState))
        subject->Notify(1);
    emit ProjectStateChanged();
}

ProjectCommands::Result ProjectCommands::Close()
{
    if (m_album.Project().modified) {
        const Answer answer = m_prompts.saveChanges ? m_prompts.saveChanges(QStringLiteral("Save changes to this Album?"))
                                                    : Answer::Cancel;
        if (answer == Answer::Cancel)
            return Result::Cancelled;
        if (answer == Answer::Yes && Save() == Result::Cancelled)
            return Result::Cancelled;
    }
    m_album.Clear();
    m_album.ResetProject();
    setTitle(QString());
    notifyProjectState();
    return Result::Done;
}

ProjectCommands::Result ProjectCommands::New()
{
    if (Close() == Result::Cancelled)
        return Result::Cancelled;
    setTitle(QStringLiteral("Untitled"));
    m_album.ResetProject();
    notifyProjectState();
    return Result::Done;
}

ProjectCommands::Result ProjectCommands::Open()
{
    const QString file = m_prompts.openPath ? m_prompts.openPath() : QString();
    if (file.isEmpty())
        return Result::Cancelled;
    bool opened = false;
    return CloseAndOpen(FileUtils::FolderOf(QFileInfo(file).absoluteFilePath()), &opened);
}

ProjectCommands::Result ProjectCommands::CloseAndOpen(const QString& folder, bool* opened)
{
    if (Close() == Result::Cancelled)
        return Result::Cancelled;
    const bool ok = OpenFolder(folder);
    // A project that could not be read leaves an empty untitled album, which
    // is neither opened nor a recent project.
    if (ok && !m_album.Project().untitled) {
        RecentProjects::Instance().Add(m_album.Project().folder);
        m_album.SetOpened(true);
    }
    if (opened)
        *opened = ok;
    return Result::Done;
}

AlbumLibrary& ProjectCommands::Library()
{
    m_library.EnsureFilled();
    return m_library;
}

bool ProjectCommands::OpenFolder(const QString& folderIn)
{
    const QString folder = QDir::cleanPath(folderIn);
    if (!QFileInfo(folder).isDir()) {
        m_messages.Warning(QStringLiteral("%1 was not found.").arg(folder));
        return false;
    }
    AlbumLibrary& library = Library();
    LibraryEntry header;
    if (!AlbumLibrary::ReadHeader(folder, header)) {
        // No project file named after the folder, or not a readable one:
        // nothing is listed and the user is told, instead of the album
        // silently staying as it was.
        m_album.Clear();
        m_album.ResetProject();
        m_messages.Warning(Strings::Load(Strings::LoadAlbumFailed));
        setTitle(QStringLiteral("Untitled"));
        notifyProjectState();
        return true;
    }
    int index = InHistory(folder) ? library.IndexOfHeader(header) : -1;
    if (index < 0) {
        // An entry of the same folder whose header changed since it was read
        // is brought up to date rather than listed twice.
        index = library.IndexOfFolder(folder);
        if (index >= 0)
            library.Replace(index, header);
        else
            index = library.Append(header);
        CHistoryRecord::Instance().Add(folder);
    }
    library.Select(index);
    OpenLibraryItem(index);
    return true;
}

void ProjectCommands::OpenLibraryItem(int index)
{
    AlbumLibrary& library = Library();
    if (index < 0 || index >= library.Count())
        return;
    const LibraryEntry entry = library.At(index);
    m_album.Clear();
    m_album.ResetProject();
    std::vector<SkippedPhoto> skipped;
    if (ProjectFile::Open(m_album, entry.projectFile, &skipped)) {
        m_album.SetOpened(true);
        m_album.SetUntitled(false);
        m_album.SetProjectFolder(entry.Folder());
        setTitle(entry.Name());
        if (!skipped.empty()) {
            QStringList lines;
            for (const SkippedPhoto& photo : skipped)
                lines << QStringLiteral("%1: %2").arg(photo.photoName, photo.reason);
            m_messages.Warning(QStringLiteral("Some photos of the album could not be read and were left out:\n")
                               + lines.join(QLatin1Char('\n')));
        }
    } else {
        m_messages.Warning(Strings::Load(Strings::LoadAlbumFailed));
        m_album.SetUntitled(true);
        setTitle(QStringLiteral("Untitled"));
    }
    m_album.SetModified(false);
    notifyProjectState();
}

ProjectCommands::Result ProjectCommands::CloseAndOpenLibraryItem(int index)
{
    AlbumLibrary& library = Library();
    if (index < 0 || index >= library.Count())
        return Result::Cancelled;
    // Saving in the close step may add entries: the item is found again by
    // its project file afterwards.
    const QString folder = library.At(index).Folder();
    if (Close() == Result::Cancelled)
        return Result::Cancelled;
    const int now = library.IndexOfFolder(folder);
    if (now < 0)
        return Result::Done;
    library.Select(now);
    OpenLibraryItem(now);
    return Result::Done;
}

void ProjectCommands::RefreshSelected()
{
    AlbumLibrary& library = Library();
    const int index = library.Selected();
    if (index < 0)
        return;
    LibraryEntry entry;
    if (AlbumLibrary::ReadHeader(library.At(index).Folder(), entry))
        library.Replace(index, entry);
}

void ProjectCommands::refreshAlbumEntry()
{
    AlbumLibrary& library = Library();
    const QString folder = m_album.Project().folder;
    int index = library.IndexOfFolder(folder);
    if (index < 0) {
        LibraryEntry entry;
        if (folder.isEmpty() || !AlbumLibrary::ReadHeader(folder, entry))
            return;
        index = library.Append(entry);
    }
    if (library.Selected() != index)
        library.Select(index);
    RefreshSelected();
}

void ProjectCommands::resetToUntitled()
{
    m_album.Clear();
    m_album.ResetProject();
    setTitle(QString());
    notifyProjectState();
}

void ProjectCommands::DeleteLibraryItems(const std::vector<int>& indices)
{
    AlbumLibrary& library = Library();
    QStringList folders;
    for (int index : indices)
        if (index >= 0 && index < library.Count() && !folders.contains(library.At(index).Folder()))
            folders << library.At(index).Folder();
    for (const QString& folder : folders) {
        if (SameFolder(folder, m_album.Project().folder))
            resetToUntitled();
        if (QFileInfo::exists(folder) && !MoveFolderToTrash(folder)) {
            // The folder stays where it is, and so does its entry: the user
            // can try again or remove it by hand.
            m_messages.Warning(
                QStringLiteral("%1 could not be moved to the trash.").arg(QDir::toNativeSeparators(folder)));
            continue;
        }
        CHistoryRecord::Instance().Remove(folder);
        for (int i = library.Count() - 1; i >= 0; --i)
            if (SameFolder(library.At(i).Folder(), folder))
                library.Remove(i);
    }
}

ProjectCommands::Result ProjectCommands::Save()
{
    const ProjectState& project = m_album.Project();
    if (project.untitled || project.folder.isEmpty())
        return SaveAs();
    saveInto(project.folder, true);
    m_album.SetUntitled(false);
    refreshAlbumEntry();
    return Result::Done;
}

ProjectCommands::Result ProjectCommands::SaveAs()
{
    const QString start = QFileInfo(m_projectPath).isDir() ? m_projectPath : QString();
    const QString chosen = m_prompts.saveAsPath ? m_prompts.saveAsPath(start) : QString();
    if (chosen.isEmpty())
        return Result::Cancelled;
    const QFileInfo info(QDir::cleanPath(chosen));
    if (info.isDir()) {
        // A folder was chosen, not a project file to make: writing into it
        // would mix the album with whatever the folder holds.
        m_messages.Warning(Strings::Load(Strings::FolderHoldsProject));
        return Result::Cancelled;
    }
    const QString folder = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();

    // The library lists the album at once, with no picture and no photos
    // until the write below has made its header.
    AlbumLibrary& library = Library();
    LibraryEntry entry;
    entry.projectFile = ProjectFile::PathIn(folder);
    entry.photoCount = 0;
    const QDate today = QDate::currentDate();
    entry.year = today.year();
    entry.month = today.month();
    entry.day = today.day();
    int index = library.IndexOfFolder(folder);
    if (index < 0)
        index = library.Append(entry);
    library.Select(index);

    m_album.SetProjectFolder(folder);
    m_album.SetUntitled(false);
    CHistoryRecord::Instance().Add(folder);
    setTitle(FolderName(folder));
    saveInto(folder, false);
    RecentProjects::Instance().Add(folder);
    RefreshSelected();
    return Result::Done;
}

ProjectCommands::Result ProjectCommands::SaveCopyAs()
{
    const QString chosen = m_prompts.saveCopyPath ? m_prompts.saveCopyPath() : QString();
    if (chosen.isEmpty())
        return Result::Cancelled;
    const QString folder = QDir::cleanPath(chosen);
    if (QFileInfo(folder).isDir()) {
        m_messages.Warning(Strings::Load(Strings::FolderHoldsProject));
        return Result::Done;
    }
    if (!ProjectFile::Save(m_album, folder, false)) {
        m_messages.Warning(QStringLiteral("The album could not be saved in %1.").arg(QDir::toNativeSeparators(folder)));
        return Result::Done;
    }
    CHistoryRecord::Instance().Add(folder);
    // The copy is in the album history, so the library lists it as well.
    AlbumLibrary& library = Library();
    LibraryEntry copy;
    if (library.IndexOfFolder(folder) < 0 && AlbumLibrary::ReadHeader(folder, copy))
        library.Append(copy);
    if (m_album.Project().untitled || m_album.Project().folder.isEmpty()) {
        m_album.SetProjectFolder(folder);
        m_album.SetUntitled(false);
        m_album.SetModified(false);
        setTitle(FolderName(folder));
    }
    refreshAlbumEntry();
    RecentProjects::Instance().Add(m_album.Project().folder);
    return Result::Done;
}

bool ProjectCommands::saveInto(const QString& folder, bool namedSave)
{
    // A failed write keeps the album modified and says so: the user's work
    // is only in memory until a save succeeds.
    if (!ProjectFile::Save(m_album, folder, namedSave)) {
        m_messages.Warning(QStringLiteral("The album could not be saved in %1.").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    m_album.SetModified(false);
    RecentProjects::Instance().Add(folder);
    return true;
}
