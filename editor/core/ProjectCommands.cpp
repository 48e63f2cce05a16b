#include "editor/core/ProjectCommands.h"

#include "common/FileUtils.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/HistoryRecord.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/RecentProjects.h"
#include "editor/core/StringTable.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString FolderName(const QString& folder)
{
    return QFileInfo(QDir::cleanPath(folder)).fileName();
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
    if (ok) {
        RecentProjects::Instance().Add(m_album.Project().folder);
        m_album.SetOpened(true);
    }
    if (opened)
        *opened = ok;
    return Result::Done;
}

bool ProjectCommands::OpenFolder(const QString& folderIn)
{
    const QString folder = QDir::cleanPath(folderIn);
    if (!QFileInfo(folder).isDir()) {
        m_messages.Warning(QStringLiteral("%1 was not found.").arg(folder));
        return false;
    }
    m_album.Clear();
    m_album.ResetProject();
    std::vector<SkippedPhoto> skipped;
    if (ProjectFile::Open(m_album, ProjectFile::PathIn(folder), &skipped)) {
        m_album.SetOpened(true);
        m_album.SetUntitled(false);
        m_album.SetProjectFolder(folder);
        CHistoryRecord::Instance().Add(folder);
        setTitle(FolderName(folder));
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
    return true;
}

ProjectCommands::Result ProjectCommands::Save()
{
    const ProjectState& project = m_album.Project();
    if (project.untitled || project.folder.isEmpty())
        return SaveAs();
    saveInto(project.folder, true);
    return Result::Done;
}

ProjectCommands::Result ProjectCommands::SaveAs()
{
    const QString start = QFileInfo(m_projectPath).isDir() ? m_projectPath : QString();
    const QString chosen = m_prompts.saveAsPath ? m_prompts.saveAsPath(start) : QString();
    if (chosen.isEmpty())
        return Result::Cancelled;
    const QFileInfo info(QDir::cleanPath(chosen));
    const QString folder = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    m_album.SetProjectFolder(folder);
    m_album.SetUntitled(false);
    CHistoryRecord::Instance().Add(folder);
    setTitle(FolderName(folder));
    saveInto(folder, false);
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
    if (m_album.Project().untitled || m_album.Project().folder.isEmpty()) {
        m_album.SetProjectFolder(folder);
        m_album.SetUntitled(false);
        m_album.SetModified(false);
        setTitle(FolderName(folder));
    }
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
