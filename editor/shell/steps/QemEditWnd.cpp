#include "editor/shell/steps/QemEditWnd.h"

#include "editor/catalogues/widgets/effects/EffectListCtrl.h"
#include "editor/catalogues/widgets/effects/EffectPhotoWnd.h"
#include "editor/catalogues/widgets/effects/LREffectExplorerWnd.h"
#include "editor/catalogues/widgets/strip/QemLREffectWnd.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/imaging/widgets/arrows/QemLRPhotoEditWnd.h"
#include "editor/imaging/widgets/editpane/NormalEditPane.h"
#include "editor/imaging/widgets/editpane/PhotoEditPane.h"
#include "editor/imaging/widgets/photoview/QemPhotoView.h"
#include "editor/shell/EditStepEntry.h"
#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/steps/PhotoEditArea.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTimer>

using Kind = QemControls::CLREffectWnd::Kind;

CQemEditWnd::CQemEditWnd(EditorContext& context, QWidget* parent)
    : StepWindow(parent), m_context(context), m_view(new CQemPhotoView(context)),
      m_photoWindow(new CQemLRPhotoEditWnd(context)), m_photoPane(new CPhotoEditPane(context)),
      m_photoArea(new PhotoEditArea(m_photoWindow, m_photoPane, this)), m_explorer(new CLREffectExplorerWnd(context)),
      m_normalPane(new CNormalEditPane(context, this)), m_strip(new CQemLREffectWnd(context, this)),
      m_effects(new CEffectPhotoWnd(context, this))
{
    setObjectName(QStringLiteral("EditWindow"));
    setAccessibleName(QStringLiteral("编辑效果"));
    m_photoPane->setObjectName(QStringLiteral("PhotoEditPane"));
    m_normalPane->setObjectName(QStringLiteral("NormalEditPane"));
    m_photoWindow->SetView(m_view);
    m_normalPane->SetExplorer(m_explorer);
    m_explorer->SetSources(m_effects->List(), m_strip);
    m_normalPane->SetLastPreviewedEffect([explorer = m_explorer] { return explorer->LastPreviewedEffect(); });
    connectPanes();
    addKeys();
    m_photoArea->hide();
    m_normalPane->hide();
    SetCurrentPane(Pane::PhotoEdit);
}

QWidget* CQemEditWnd::PaneWidget(Pane pane) const
{
    return pane == Pane::PhotoEdit ? static_cast<QWidget*>(m_photoArea) : m_normalPane;
}

void CQemEditWnd::connectPanes()
{
    PhotoEditCommands& commands = m_context.EditCommands();
    // The view's tools ask; the edit commands change the working copy.
    connect(m_view, &CQemPhotoView::CropRequested, &commands, &PhotoEditCommands::ApplyCrop);
    connect(m_view, &CQemPhotoView::RedEyeRequested, &commands,
            [&commands](QPoint point) { commands.RedEyeAt(point.x(), point.y()); });

    // Caption properties go from the pane to the caption window, and a shown
    // caption's properties come back to the pane.
    connect(m_photoPane, &CPhotoEditPane::FaceChosen, m_view, &CQemPhotoView::SetCaptionFace);
    connect(m_photoPane, &CPhotoEditPane::SizeChosen, m_view, &CQemPhotoView::SetCaptionSize);
    connect(m_photoPane, &CPhotoEditPane::ColourChosen, m_view, &CQemPhotoView::SetCaptionColour);
    connect(m_photoPane, &CPhotoEditPane::UrlEdited, m_view, &CQemPhotoView::SetUrl);
    connect(m_view, &CQemPhotoView::CaptionShown, m_photoPane, &CPhotoEditPane::ShowCaptionProperties);
    m_view->SetCaptionFace(m_photoPane->CaptionFace());
    m_view->SetCaptionSize(m_photoPane->CaptionSize());

    // The strip decides what is edited.
    connect(m_strip, &CQemLREffectWnd::BeforeCurrentChanges, m_view, [this] { m_view->StoreCaption(); });
    connect(m_strip, &CQemLREffectWnd::PhotoCellCurrent, this, [this](int index) {
        SetCurrentPane(Pane::PhotoEdit);
        m_photoWindow->SelectPhoto(index, true);
        showCaptionProperties(index);
    });
    connect(m_strip, &CQemLREffectWnd::TransitionCellCurrent, this, [this] { SetCurrentPane(Pane::NormalEdit); });
    connect(m_strip, &CQemLREffectWnd::PhotoMoved, m_photoWindow, &CQemLRPhotoEditWnd::Refresh);
    connect(m_effects->List(), &CEffectListCtrl::SamplePreviewRequested, this,
            [this] { SetCurrentPane(Pane::NormalEdit); });
    connect(m_photoWindow, &CQemLRPhotoEditWnd::SelectRequested, m_strip,
            [this](int index) { m_strip->Select(index, Kind::Photo); });
}

void CQemEditWnd::showCaptionProperties(int index)
{
    // Every photo shown puts its own link (or the bare "http://") into the
    // pane, also when it has no caption box for the view to show.
    const AlbumModel& album = m_context.Album();
    if (!album.IsValidIndex(index) || m_view->ShownIndex() != index)
        return;
    const Caption* caption = album.Item(index).caption.get();
    if (!caption) {
        m_photoPane->ShowCaptionProperties({}, 0, QColor(), {});
        return;
    }
    // Caption records keep colours as 0x00BBGGRR; 0 leaves the button as it is.
    const uint32_t c = caption->colour;
    const QColor colour = c ? QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)) : QColor();
    m_photoPane->ShowCaptionProperties(caption->font, caption->size, colour, caption->url);
}

void CQemEditWnd::addKeys()
{
    // Keys of the step as a whole; a focused text field keeps its own arrows.
    auto add = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::Key_Left), [this] { step(-1); });
    add(QKeySequence(Qt::Key_PageUp), [this] { step(-1); });
    add(QKeySequence(Qt::Key_Right), [this] { step(1); });
    add(QKeySequence(Qt::Key_PageDown), [this] { step(1); });
    PhotoEditCommands& commands = m_context.EditCommands();
    add(QKeySequence(Qt::CTRL | Qt::Key_L), [&commands] { commands.RotateLeft(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_R), [&commands] { commands.RotateRight(); });
    add(QKeySequence(Qt::Key_Escape), [&commands] {
        commands.LeaveCropMode();
        commands.LeaveRedEyeMode();
    });
}

void CQemEditWnd::step(int delta)
{
    const AlbumModel& album = m_context.Album();
    if (album.IsEmpty())
        return;
    const int current = m_strip->CurrentIndex();
    const int target = current < 0 ? 0 : current + delta;
    if (album.IsValidIndex(target) && (target != current || !m_strip->HasCurrentCell(target, Kind::Photo)))
        m_strip->Select(target, Kind::Photo);
}

bool CQemEditWnd::EditPhoto(int index)
{
    if (!m_context.Album().IsValidIndex(index))
        return false;
    m_strip->Select(index, Kind::Photo);
    return true;
}

void CQemEditWnd::SetCurrentPane(Pane pane)
{
    // The pane already shown stays: hiding the effect pane destroys the
    // preview movie, and a gap selected while another gap is current would
    // load the movie again and lose the preview just requested.
    if (pane == m_current && !PaneWidget(pane)->isHidden()) {
        layOut();
        return;
    }
    PaneWidget(m_current)->hide();
    m_current = pane;
    PaneWidget(pane)->show();
    layOut();
}

void CQemEditWnd::OnStepEntered()
{
    layOut();
    const int photo = EditStepEntry::PhotoToMakeCurrent(m_context.Album());
    if (photo >= 0)
        m_strip->Select(photo, Kind::Photo);
    // The transition preview's movie loads once the photo is on the screen,
    // so that the first gap the user picks previews at once.
    QTimer::singleShot(0, m_explorer, [explorer = m_explorer] { explorer->Prepare(); });
}

void CQemEditWnd::OnStepLeaving()
{
    FinishEditing();
}

void CQemEditWnd::FinishEditing()
{
    m_view->StoreCaption();
}

void CQemEditWnd::resizeEvent(QResizeEvent*)
{
    layOut();
}

void CQemEditWnd::layOut()
{
    const WorkspaceMetrics::EditLayout layout =
        WorkspaceMetrics::LayOutEdit(rect(), window()->frameGeometry().height());
    PaneWidget(m_current)->setGeometry(layout.pane);
    m_strip->setGeometry(layout.strip);
    m_effects->setGeometry(layout.effectList);
}
