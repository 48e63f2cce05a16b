// The folder tree of the explorer pane: the file system's folders (hidden ones
// left out) in a file manager's order. The folder that becomes current is
// remembered as the last path and announced through FolderSelected. Its
// context menu opens or explores a folder on the desktop and adds a folder's
// photos, with or without its sub-folders, to the album. The width it is given
// becomes the remembered tree width (never below 200).
#pragma once

#include <QTreeView>
#include <functional>

class EditorContext;
class QAction;
class QFileSystemModel;
class QMenu;
class QSortFilterProxyModel;

class CQemShellTreeCtrl : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kControlId = 317;
    // Hands a folder to the desktop with the verb "open" or "explore".
    using ShellOpener = std::function<void(const QString& verb, const QString& folder)>;

    // Selects the "Last Path" folder once the event loop runs, so that whoever
    // connects to FolderSelected right after construction hears it.
    explicit CQemShellTreeCtrl(EditorContext& context, QWidget* parent = nullptr);

    // Makes the folder current (expanding its parents); ignored for a path
    // that is not a folder.
    void SelectFolder(const QString& path);
    // The current folder's path; empty when there is none.
    QString CurrentPath() const;
    // The view's index of a folder (invalid for a path that is not one).
    QModelIndex IndexOf(const QString& path) const;

    // The context menu and its commands (ShellTreeRules' command ids).
    QMenu* ContextMenu() const { return m_menu; }
    QAction* CommandAction(int id) const;
    // Adds the current folder's photos at the end of the album; with
    // sub-folders after asking whether to go on.
    void AddFolderPhotos(bool withSubFolders);
    void SetShellOpener(ShellOpener opener) { m_opener = std::move(opener); }

signals:
    // The folder the explore area should show: emitted when the current
    // folder changes, and again for the current folder when a left click in
    // the tree leaves it current (the click brings the photo explorer back).
    void FolderSelected(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current);
    void runCommand(int id);

    EditorContext& m_context;
    QFileSystemModel* m_files;
    QSortFilterProxyModel* m_order;
    QMenu* m_menu;
    ShellOpener m_opener;
};
