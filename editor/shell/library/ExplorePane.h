// The explore area of the add-photos step: shows either the photo explore
// window (the thumbnail grid of the folder chosen in the tree) or the album
// library list, the current one filling the area. Each switch raises the
// hub's "ButtonState", 1 for the library and 0 for the explore window, which
// presses or releases the "Existing Album" button.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class CPhotoPrjectsList;
class EditorContext;

class CExplorePane : public QWidget {
    Q_OBJECT
public:
    CExplorePane(EditorContext& context, QWidget* parent = nullptr);

    // The photo explore window, which the pane takes as its child, and how
    // to show a folder in it. It is the current window until the library is
    // shown.
    void SetExploreWindow(QWidget* window, std::function<void(const QString&)> setFolder);
    // The explore window, on that folder.
    void ShowFolder(const QString& path);
    // The explore window as it is (a click in the folder tree).
    void ShowExploreWindow();
    // The album library.
    void ShowLibrary();

    bool LibraryShown() const { return m_libraryShown; }
    QWidget* ExploreWindow() const { return m_explore; }
    CPhotoPrjectsList* Library() const { return m_library; }

signals:
    // The current window changed; the storyboard's empty-album hint depends
    // on whether the explore window is visible.
    void CurrentWindowChanged(bool libraryShown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowInExploreArea(bool library);
    QWidget* current() const;

    EditorContext& m_context;
    CPhotoPrjectsList* m_library;
    QWidget* m_explore = nullptr;
    std::function<void(const QString&)> m_setFolder;
    bool m_libraryShown = false;
};
