#include "editor/shell/tree/QemShellTreeCtrl.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/StringTable.h"
#include "editor/core/UserMessages.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/tree/ShellTreeRules.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Folder names in a file manager's order.
class FolderOrder : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        return ShellTreeRules::NameLess(left.data(QFileSystemModel::FileNameRole).toString(),
                                        right.data(QFileSystemModel::FileNameRole).toString());
    }
};

// "explore": the desktop's file manager opens the folder (the freedesktop
// FileManager1 interface over the session bus); where that is not there or
// fails, the folder is opened like "open". dbus-send runs on its own so that
// the tree never waits for the file manager.
void exploreFolder(const QUrl& url)
{
    const QString dbusSend = QStandardPaths::findExecutable(QStringLiteral("dbus-send"));
    if (dbusSend.isEmpty()) {
        QDesktopServices::openUrl(url);
        return;
    }
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process, [process, url](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            QDesktopServices::openUrl(url);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        QDesktopServices::openUrl(url);
        process->deleteLater();
    });
    // dbus-send splits array values at commas.
    const QString uri = QString::fromLatin1(url.toEncoded()).replace(QLatin1Char(','), QLatin1String("%2C"));
    process->start(dbusSend, {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                              QStringLiteral("--dest=org.freedesktop.FileManager1"), QStringLiteral("--type=method_call"),
                              QStringLiteral("/org/freedesktop/FileManager1"),
                              QStringLiteral("org.freedesktop.FileManager1.ShowFolders"),
                              QStringLiteral("array:string:") + uri, QStringLiteral("string:")});
}

void openOnDesktop(const QString& verb, const QString& folder)
{
    const QUrl url = QUrl::fromLocalFile(folder);
    if (verb == QLatin1String("explore"))
        exploreFolder(url);
    else
        QDesktopServices::openUrl(url);
}

} // namespace

CQemShellTreeCtrl::CQemShellTreeCtrl(EditorContext& context, QWidget* parent)
    : QTreeView(parent), m_context(context), m_files(new QFileSystemModel(this)), m_order(new FolderOrder(this)),
      m_menu(new QMenu(this)), m_opener(openOnDesktop)
{
    setObjectName(QStringLiteral("FolderTree"));
    setAccessibleName(QStringLiteral("Folders"));
    // Folders only; without QDir::Hidden the hidden ones stay out.
    m_files->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_files->setRootPath(QDir::rootPath());
    m_order->setSourceModel(m_files);
    m_order->setDynamicSortFilter(true);
    m_order->sort(0, Qt::AscendingOrder);
    setModel(m_order);
    for (int column = 1; column < m_files->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    // The file-system model lists folders as they load: once a folder on the
    // way to the current one has loaded, the current one is scrolled into view
    // again (at start the last path is selected before its rows exist).
    connect(m_files, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QString current = CurrentPath();
        if (!current.isEmpty() && (current == loaded || current.startsWith(loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/'))))
            scrollTo(currentIndex(), PositionAtCenter);
    });

    // The square between the two scroll bars takes the panel colour.
    auto* corner = new QWidget(this);
    corner->setAutoFillBackground(true);
    auto paintCorner = [corner] {
        QPalette palette = corner->palette();
        palette.setColor(QPalette::Window, ShellTheme::Current().Colours().panel);
        corner->setPalette(palette);
    };
    paintCorner();
    connect(&ShellTheme::Current(), &ShellTheme::Changed, corner, paintCorner);
    setCornerWidget(corner);

    m_menu->setAccessibleName(QStringLiteral("Folder"));
    const auto addCommand = [this](int id, const QString& text) {
        QAction* action = m_menu->addAction(text);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    };
    addCommand(ShellTreeRules::kOpenCommand, QStringLiteral("Open"));
    m_menu->addSeparator();
    addCommand(ShellTreeRules::kExploreCommand, QStringLiteral("Explore"));
    m_menu->addSeparator();
    addCommand(ShellTreeRules::kAddFolderCommand, QStringLiteral("Add Photos in This Parent Folder to Album"));
    // A menu shows "&&" as one ampersand.
    addCommand(ShellTreeRules::kAddFolderTreeCommand, QStringLiteral("Add Photos in Parent && Sub Folders to Album"));

    QMetaObject::invokeMethod(this, [this] { SelectFolder(m_context.Settings().lastPath); }, Qt::QueuedConnection);
}

QModelIndex CQemShellTreeCtrl::IndexOf(const QString& path) const
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return {};
    return m_order->mapFromSource(m_files->index(QDir::cleanPath(path)));
}

void CQemShellTreeCtrl::SelectFolder(const QString& path)
{
    const QModelIndex index = IndexOf(path);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

QString CQemShellTreeCtrl::CurrentPath() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_files->filePath(m_order->mapToSource(current)) : QString();
}

QAction* CQemShellTreeCtrl::CommandAction(int id) const
{
    for (QAction* action : m_menu->actions())
        if (action->data().toInt() == id && !action->isSeparator())
            return action;
    return nullptr;
}

void CQemShellTreeCtrl::onCurrentChanged(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    const QString path = m_files->filePath(m_order->mapToSource(current));
    if (QFileInfo(path).isDir())
        m_context.Settings().lastPath = path;
    emit FolderSelected(path);
}

void CQemShellTreeCtrl::AddFolderPhotos(bool withSubFolders)
{
    if (ShellTreeRules::AsksBeforeAdding(withSubFolders) &&
        !m_context.Messages().Question(Strings::Load(Strings::DeepFolderQuestion)))
        return;
    // Files that cannot be decoded get no thumbnail and are left out silently.
    for (const QString& photo : ShellTreeRules::FolderPhotos(CurrentPath(), withSubFolders))
        m_context.Album().AddPhoto(photo);
}

void CQemShellTreeCtrl::runCommand(int id)
{
    const QString folder = CurrentPath();
    switch (id) {
    case ShellTreeRules::kOpenCommand:
    case ShellTreeRules::kExploreCommand:
        if (QFileInfo(folder).isDir() && m_opener)
            m_opener(id == ShellTreeRules::kOpenCommand ? QStringLiteral("open") : QStringLiteral("explore"), folder);
        break;
    case ShellTreeRules::kAddFolderCommand: AddFolderPhotos(false); break;
    case ShellTreeRules::kAddFolderTreeCommand: AddFolderPhotos(true); break;
    default: break;
    }
}

void CQemShellTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex before = currentIndex();
    QTreeView::mousePressEvent(event);
    // A click that changed the folder has announced it already; any other
    // left click brings the photo explorer back on the current folder.
    if (event->button() == Qt::LeftButton && before.isValid() && currentIndex() == before)
        emit FolderSelected(CurrentPath());
}

void CQemShellTreeCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = fromKeyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return; // empty space
    // The folder is selected first, so the photo explorer shows it before the menu opens.
    setCurrentIndex(index);
    m_menu->exec(fromKeyboard ? viewport()->mapToGlobal(visualRect(index).center()) : event->globalPos());
}

void CQemShellTreeCtrl::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    // The event may be the viewport's, which is narrower by the frame.
    m_context.Settings().treeWidth = ShellTreeRules::WidthToStore(width());
}
