#include "editor/shell/steps/AddPhotoWnd.h"

#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/shell/WorkspaceMetrics.h"
#include "editor/imaging/widgets/explorer/PhotoExploreWnd.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/library/ExplorePane.h"
#include "editor/shell/steps/QemSplitter.h"
#include "editor/shell/steps/ViewPane.h"
#include "editor/shell/storyboard/PhotoUserList.h"
#include "editor/shell/storyboard/PhotoUserWnd.h"
#include "editor/shell/tree/QemShellTreeCtrl.h"

#include <algorithm>

CAddPhotoWnd::CAddPhotoWnd(EditorContext& context, QWidget* parent)
    : StepWindow(parent), m_context(context), m_splitter(new CQemSplitter(this)),
      m_browse(new QSplitter(Qt::Horizontal)), m_explorer(new CViewPane(context)), m_storyboard(new CPhotoUserWnd(context))
{
    setObjectName(QStringLiteral("AddPhoto"));
    setAccessibleName(QStringLiteral("添加图片"));
    m_browse->setChildrenCollapsible(false);
    m_browse->addWidget(m_explorer);
    m_exploreArea = new CExplorePane(context);
    auto* photos = new CPhotoExploreWnd(context);
    m_exploreArea->SetExploreWindow(photos, [photos](const QString& folder) { photos->SetFolder(folder); });
    m_browse->addWidget(m_exploreArea);
    m_browse->setStretchFactor(1, 1);
    m_splitter->addWidget(m_browse);
    m_splitter->addWidget(m_storyboard);
    connect(m_storyboard, &CPhotoUserWnd::EditRequested, this, &CAddPhotoWnd::EditRequested);
    // The folder tree and the "Existing Album" button choose what the explore
    // area shows; the storyboard's empty hint shows with the photo explorer.
    connect(m_explorer->Tree(), &CQemShellTreeCtrl::FolderSelected, m_exploreArea, &CExplorePane::ShowFolder);
    connect(m_explorer, &CViewPane::ExistingAlbumRequested, m_exploreArea, &CExplorePane::ShowLibrary);
    connect(m_exploreArea, &CExplorePane::CurrentWindowChanged, m_storyboard,
            [this](bool library) { m_storyboard->SetExplorerVisible(!library); });
    // Keyboard focus follows the layout: the bar's toggle, then the storyboard.
    setTabOrder(m_splitter->ToggleButton(), m_storyboard->DeleteButton());
    setTabOrder(m_storyboard->DeleteButton(), m_storyboard->List());

    const int treeWidth = std::max(context.Settings().treeWidth, WorkspaceMetrics::kMinimumTreeWidth);
    m_browse->setSizes({treeWidth, 1000});
    // The pane remembers its width whenever the user moves the bar.
    connect(m_browse, &QSplitter::splitterMoved, this, [this] {
        m_context.Settings().treeWidth = std::max(m_explorer->width(), WorkspaceMetrics::kMinimumTreeWidth);
    });
}

void CAddPhotoWnd::resizeEvent(QResizeEvent*)
{
    m_splitter->setGeometry(rect());
}
