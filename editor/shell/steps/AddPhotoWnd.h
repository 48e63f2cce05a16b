// The add-photos step ("AddPhoto"): the browsing row (the explorer pane and
// the explore area side by side) above the storyboard, in a splitter whose
// bar can collapse the browsing row.
#pragma once

#include "editor/shell/controls/StepWindow.h"

class CQemSplitter;
class CExplorePane;
class CPhotoUserWnd;
class CViewPane;
class EditorContext;
class QSplitter;

class CAddPhotoWnd : public StepWindow {
    Q_OBJECT
public:
    explicit CAddPhotoWnd(EditorContext& context, QWidget* parent = nullptr);

    CQemSplitter* Splitter() const { return m_splitter; }
    CViewPane* ExplorerPane() const { return m_explorer; }
    QSplitter* BrowseRow() const { return m_browse; }
    CPhotoUserWnd* Storyboard() const { return m_storyboard; }
    CExplorePane* ExploreArea() const { return m_exploreArea; }

signals:
    // The storyboard's Edit: the photo at index is to be edited.
    void EditRequested(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    EditorContext& m_context;
    CQemSplitter* m_splitter;
    QSplitter* m_browse;
    CViewPane* m_explorer;
    CPhotoUserWnd* m_storyboard;
    CExplorePane* m_exploreArea = nullptr;
};
