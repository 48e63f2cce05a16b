#include "editor/app/QemApp.h"

#include "common/FileUtils.h"
#include "common/movieplayer/MoviePlayerCheck.h"
#include "common/Platform.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/HistoryRecord.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/RecentProjects.h"
#include "editor/core/StringTable.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/dialogs/SplashWnd.h"
#include "editor/shell/frame/MainFrame.h"
#include "editor/shell/update/RunUpdateCheck.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QUrl>
#include <cstdio>

namespace {
CqemApp* g_app = nullptr;
}

CqemApp::CqemApp(QObject* parent) : QObject(parent)
{
    g_app = this;
}

CqemApp::~CqemApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CqemApp* CqemApp::Instance() { return g_app; }

QString CqemApp::AppDir() const
{
    return m_appDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_appDir;
}

QString CqemApp::LockFilePath()
{
    return Platform::RuntimeDir() + QStringLiteral("/Vantri Kelvana2.lock");
}

QString CqemApp::ProjectArgument(const QStringList& arguments)
{
    QString text = arguments.mid(1).join(QLatin1Char(' ')).trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    if (text.size() <= 4 || !text.endsWith(QLatin1String(".qem"), Qt::CaseInsensitive))
        return QString();
    if (!QFileInfo(text).isFile())
        return QString();
    return QFileInfo(text).absoluteFilePath();
}

void CqemApp::reportLockFailure(int error)
{
    const QString reason = error == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                                : QStringLiteral("unknown error");
    const QString text = QStringLiteral("Kelvana cannot start: its single-instance lock file %1 cannot be created (%2).")
                             .arg(QDir::toNativeSeparators(LockFilePath()), reason);
    std::fprintf(stderr, "%s\n", qPrintable(text));
    // Started from a desktop menu there is no terminal to read: show it too.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        Messages().Critical(text);
}

bool CqemApp::checkMoviePlayer()
{
    int message = 0;
    if (!MoviePlayerCheck::Creatable())
        message = Strings::PlayerMissing;
    else if (MoviePlayerCheck::Version() < MoviePlayerCheck::kMinimumVersion)
        message = Strings::PlayerTooOld;
    if (message == 0)
        return true;
    if (Messages().Question(Strings::Load(message)))
        QDesktopServices::openUrl(QUrl(EditorSettings::SiteAddress() + Strings::Load(Strings::PlayerHelpPage)));
    return false;
}

bool CqemApp::InitInstance()
{
    // 1. One editor at a time; a second one ends at once, silently. A lock
    // that cannot be made at all is no second editor: say so and fail.
    m_lock = std::make_unique<QLockFile>(LockFilePath());
    m_lock->setStaleLockTime(0); // only a lock of a dead process is stale
    if (!m_lock->tryLock(0)) {
        const QLockFile::LockError error = m_lock->error();
        m_lock.reset();
        if (error == QLockFile::LockFailedError) {
            m_exitCode = 0;
            return false;
        }
        reportLockFailure(error);
        m_exitCode = 1;
        return false;
    }

    // 4. The movie player component.
    if (!checkMoviePlayer()) {
        m_exitCode = 1;
        return false;
    }

    // 5. The catalogues.
    const int effects = EffectCatalogue::instance().Load(AppDir());
    const int templates = TemplateCatalogue::instance().Load(AppDir());
    if (effects < 1 || templates < 1) {
        Messages().Critical(Strings::Load(Strings::ResourceLoadFailed));
        m_exitCode = 1;
        return false;
    }

    // 6. Settings.
    m_settings.Read();

    // 8. The notification hub's subjects.
    CSubjectManager* hub = CSubjectManager::Manager();
    hub->Register(kSubjectPrjState, new CSubject);
    hub->Register(kSubjectButtonState, new CSubject);

    // 9. The history lists.
    CHistoryRecord::Instance();
    CMp3HistoryRecord::Instance();
    m_started = true;

    // The editor's context: the album and what every window works with.
    m_context = std::make_unique<EditorContext>(EditorContext::ProcessServices(), m_settings, Messages());

    // 10. The main window, with the splash picture while it is made.
    const qreal ratio = qApp->devicePixelRatio();
    CSplashWnd::Show(ShellArt::Splash(ratio));
    m_mainWindow = CreateMainWindow();
    m_boxes.SetParent(m_mainWindow);
    if (m_mainWindow) {
        m_mainWindow->setAcceptDrops(true);
        m_mainWindow->show();
    }
    CSplashWnd::Close();

    // 11. The documents folder for albums.
    FileUtils::MakePath(EditorSettings::DefaultProjectPath());

    // 12. The project named on the command line, else a new album.
    const QString project = ProjectArgument(QCoreApplication::arguments());
    bool opened = false;
    if (!project.isEmpty()) {
        const QString folder = FileUtils::FolderOf(project);
        opened = OpenFolder(folder);
        if (opened)
            RecentProjects::Instance().Add(folder);
    }
    if (!opened)
        NewAlbum();
    if (m_mainWindow)
        m_mainWindow->raise();

    // 13. The update check: asynchronous, so a slow network never holds the window.
    if (m_mainWindow)
        RunUpdateCheck(m_mainWindow);
    return true;
}

void CqemApp::ExitInstance()
{
    if (!m_started)
        return;
    m_started = false;
    delete m_mainWindow.data();
    m_context.reset();
    m_settings.Write();
    CSubjectManager::Destroy();
    CHistoryRecord::SaveAndFreeAll();
    RecentProjects::Instance().Save();
    WorkingCopyMap::Instance().DiscardAll();
    m_lock.reset();
}

QWidget* CqemApp::CreateMainWindow()
{
    return new CMainFrame(*m_context);
}

bool CqemApp::OpenFolder(const QString& folder)
{
    return m_context && m_context->Projects().OpenFolder(folder);
}

void CqemApp::NewAlbum()
{
    if (m_context)
        m_context->Projects().New();
}
