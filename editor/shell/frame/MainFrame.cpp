#include "editor/shell/frame/MainFrame.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/ProjectCommands.h"
#include "editor/core/RecentProjects.h"
#include "editor/core/StringTable.h"
#include "editor/core/UserMessages.h"
#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/dialogs/AboutDlg.h"
#include "editor/shell/dialogs/DlgOption.h"
#include "editor/shell/frame/ChildView.h"
#include "editor/shell/steps/QemEditWnd.h"
#include "editor/shell/frame/CommandForwarding.h"
#include "editor/shell/frame/FramePrompts.h"
#include "editor/shell/frame/QemRibbonBar.h"
#include "editor/shell/frame/QemTabCtrl.h"
#include "editor/shell/frame/ShellCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>

using namespace ShellCommands;

namespace {
const char* const kStepCaptions[] = {"添加图片  ", "编辑效果    ", "主题和音乐 ", "生成影集      "};
bool IsFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}
} // namespace

CMainFrame::CMainFrame(EditorContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_view(nullptr), m_ribbon(nullptr)
{
    setObjectName(QStringLiteral("MainFrame"));
    ShellTheme::Current().Load();
    setWindowIcon(ShellArt::AppIcon());
    setMinimumSize(WorkspaceMetrics::kMinimumWindow);
    resize(1100, 720);
    setAcceptDrops(true);

    // The top band first: the keyboard focus order follows the layout.
    m_ribbon = new CQemRibbonBar(this);
    setMenuWidget(m_ribbon);
    for (const char* caption : kStepCaptions)
        m_ribbon->Tabs()->AddTab(QString::fromUtf8(caption));
    m_view = new CChildView(context, this);
    setCentralWidget(m_view);

    connect(m_ribbon, &CQemRibbonBar::Command, this, &CMainFrame::OnCommand);
    connect(m_ribbon->Tabs(), &CQemTabCtrl::StepRequested, this, [this](int index) { OnCommand(kFirstStep + index); });
    connect(m_view, &CChildView::StepRequested, this, &CMainFrame::SelectStep);
    connect(m_view, &CChildView::EditRequested, this, &CMainFrame::EditPhoto);
    connect(m_view, &CChildView::SaveRequested, this, [this] { OnCommand(kSave); });

    ProjectCommands& projects = context.Projects();
    projects.SetPrompts(FramePrompts::For(this));
    auto showTitle = [this](const QString& title) {
        setWindowTitle(title);
        m_ribbon->SetCaption(title);
    };
    connect(&projects, &ProjectCommands::TitleChanged, this, showTitle);
    connect(&projects, &ProjectCommands::ProjectStateChanged, this, &CMainFrame::refreshRecent);
    showTitle(projects.Title());
    refreshRecent();
    addShortcuts();
    addThemeActions();
}

CMainFrame::~CMainFrame() = default;

QString CMainFrame::HelpFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Kelvana.html");
}

void CMainFrame::addShortcuts()
{
    const struct {
        QKeySequence keys;
        int id;
    } keys[] = {{QKeySequence(QStringLiteral("Ctrl+N")), kNew},     {QKeySequence(QStringLiteral("Ctrl+O")), kOpen},
                {QKeySequence(QStringLiteral("Ctrl+S")), kSave},    {QKeySequence(QStringLiteral("Ctrl+A")), kSelectAll},
                {QKeySequence(Qt::Key_Delete), kDelete}};
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        const int id = key.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { OnCommand(id); });
    }
}

void CMainFrame::addThemeActions()
{
    // The looks have no control of their own; the actions carry the check
    // mark of the current one for whoever lists them.
    m_themes = new QActionGroup(this);
    for (int id = kFirstTheme; id <= kLastTheme; ++id) {
        auto* action = new QAction(QString::number(id), m_themes);
        action->setCheckable(true);
        action->setChecked(id == ShellTheme::Current().Number());
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    addActions(m_themes->actions());
}

void CMainFrame::refreshRecent()
{
    m_ribbon->SetRecent(RecentProjects::Instance().Entries());
}

void CMainFrame::EditPhoto(int index)
{
    // The photo becomes current first, so that entering the step keeps it.
    if (!static_cast<CQemEditWnd*>(m_view->Step(1))->EditPhoto(index))
        return;
    SelectStep(1);
}

void CMainFrame::SelectStep(int index)
{
    m_ribbon->Tabs()->SelectStepTab(index);
    m_view->SwitchStep(index);
}

void CMainFrame::finishEditing()
{
    // A caption still being typed goes into its photo's record before the
    // album is saved or closed, so that it is saved or asked about.
    static_cast<CQemEditWnd*>(m_view->Step(1))->FinishEditing();
}

bool CMainFrame::OnCommand(int id)
{
    ProjectCommands& projects = m_context.Projects();
    const bool projectCommand = id == kNew || id == kOpen || id == kClose || id == kSave || id == kSaveAs ||
                                (id >= kFirstRecent && id <= kLastRecent);
    if (projectCommand)
        finishEditing();
    if (id >= kFirstStep && id <= kLastStep) {
        m_view->SwitchStep(id - kFirstStep);
    } else if (id >= kFirstRecent && id <= kLastRecent) {
        openRecent(id - kFirstRecent);
    } else if (id >= kFirstTheme && id <= kLastTheme) {
        ShellTheme::Current().SetNumber(id);
        ShellTheme::Current().Save();
        for (QAction* action : m_themes->actions())
            action->setChecked(action->data().toInt() == id);
        update();
    } else {
        switch (id) {
        case kNew:
            if (projects.New() != ProjectCommands::Result::Cancelled)
                SelectStep(0);
            break;
        case kOpen:
            projects.Open();
            break;
        case kClose:
            if (m_context.Album().Project().opened || m_context.Album().Project().modified)
                projects.Close();
            break;
        case kSave:
            projects.Save();
            break;
        case kSaveAs:
            projects.SaveCopyAs();
            break;
        case kOptions:
            showOptions();
            break;
        case kHelp:
            showHelp();
            break;
        case kAbout: {
            // Window-modal without a nested event loop in this slot.
            auto* about = new CAboutDlg(this, ShellArt::AppIcon());
            about->setAttribute(Qt::WA_DeleteOnClose);
            about->open();
            break;
        }
        case kExit:
            close();
            break;
        case kSelectAll:
        case kDelete:
            CommandForwarding::ToFocusWindow(id);
            break;
        default:
            return false;
        }
    }
    refreshRecent();
    return true;
}

void CMainFrame::openRecent(int slot)
{
    const QStringList entries = RecentProjects::Instance().Entries();
    if (slot < 0 || slot >= entries.size())
        return;
    const QString folder = entries[slot];
    bool opened = false;
    if (m_context.Projects().CloseAndOpen(folder, &opened) == ProjectCommands::Result::Cancelled)
        return;
    if (!opened)
        RecentProjects::Instance().Remove(folder);
    SelectStep(0);
}

void CMainFrame::showHelp()
{
    const QString help = HelpFilePath();
    if (!QFileInfo(help).isFile() || !QDesktopServices::openUrl(QUrl::fromLocalFile(help)))
        m_context.Messages().Warning(Strings::Load(Strings::HelpFileMissing));
}

void CMainFrame::showOptions()
{
    // Opened without a nested event loop; the answer arrives when it closes.
    auto* dialog = new CDlgOption(m_context.Settings().projectPath, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        if (result == QDialog::Accepted && QFileInfo(dialog->Path()).isDir()) {
            m_context.Settings().projectPath = dialog->Path();
            m_context.Projects().SetProjectPath(dialog->Path());
        }
    });
    dialog->open();
}

void CMainFrame::OpenDropped(const QStringList& paths)
{
    const QString folder = WorkspaceMetrics::ProjectFolderOfDrop(paths, IsFolder);
    if (folder.isEmpty())
        return;
    ProjectCommands& projects = m_context.Projects();
    finishEditing();
    if (projects.Close() == ProjectCommands::Result::Cancelled)
        return;
    SelectStep(0);
    bool opened = false;
    projects.CloseAndOpen(folder, &opened);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    OpenDropped(paths);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_closeConfirmed)
        finishEditing();
    if (!m_closeConfirmed && m_context.Projects().Close() == ProjectCommands::Result::Cancelled) {
        event->ignore();
        return;
    }
    m_closeConfirmed = true;
    event->accept();
}
