// The editor's main window: the top band with the application button and the
// step tabs, and the client view with the current step. It runs the commands
// of the application menu and the keyboard, opens a project dropped on it,
// and asks to save a modified album before it closes.
#pragma once

#include <QMainWindow>

class CChildView;
class CQemRibbonBar;
class EditorContext;
class QActionGroup;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(EditorContext& context, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs a command by its id (menu entries, keys, buttons, steps 1 to 4,
    // themes 210 to 218). False for an id the window does not handle.
    bool OnCommand(int id);
    // Opens the project of a dropped path list (see WorkspaceMetrics).
    void OpenDropped(const QStringList& paths);
    // Makes step `index` current with its tab selected.
    void SelectStep(int index);
    // Makes the photo at index current and shows the edit step.
    void EditPhoto(int index);

    CChildView* ClientView() const { return m_view; }
    CQemRibbonBar* RibbonBar() const { return m_ribbon; }
    EditorContext& Context() const { return m_context; }

    // The help file beside the program.
    static QString HelpFilePath();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addShortcuts();
    void addThemeActions();
    void refreshRecent();
    void finishEditing();
    void openRecent(int slot);
    void showHelp();
    void showOptions();

    EditorContext& m_context;
    CChildView* m_view;
    CQemRibbonBar* m_ribbon;
    QActionGroup* m_themes = nullptr;
    bool m_closeConfirmed = false;
};
