#include "LREffectExplorerWnd.h"

#include "EffectListCtrl.h"
#include "TransitionPreview.h"
#include "editor/catalogues/widgets/strip/LREffectWnd.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"

#include <QCoreApplication>

using QemControls::CLREffectWnd;

CLREffectExplorerWnd::CLREffectExplorerWnd(EditorContext& context, QWidget* parent)
    : CLRWnd(parent)
    , m_context(context)
    , m_appDir(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("EffectExplorerWnd"));
    setAccessibleName(tr("Transition preview"));
    SetArrowNames(tr("Previous Transition"), tr("Next Transition"));
    AlbumModel& album = context.Album();
    for (auto signal : {&AlbumModel::PhotoInserted, &AlbumModel::PhotoRemoved, &AlbumModel::EffectChanged})
        connect(&album, signal, this, &CLREffectExplorerWnd::UpdateArrows);
    connect(&album, &AlbumModel::Reordered, this, &CLREffectExplorerWnd::UpdateArrows);
    connect(&album, &AlbumModel::Cleared, this, [this] {
        m_remembered = -1;
        UpdateArrows();
    });
}

CLREffectExplorerWnd::~CLREffectExplorerWnd() = default;

void CLREffectExplorerWnd::SetSources(CEffectListCtrl* list, CLREffectWnd* strip)
{
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    if (m_strip)
        disconnect(m_strip, nullptr, this, nullptr);
    m_list = list;
    m_strip = strip;
    if (list)
        connect(list, &CEffectListCtrl::SamplePreviewRequested, this, &CLREffectExplorerWnd::PreviewFromList);
    if (strip)
        connect(strip, &CLREffectWnd::TransitionCellCurrent, this, &CLREffectExplorerWnd::PreviewFromStrip);
}

QString CLREffectExplorerWnd::MoviePath() const
{
    return TransitionPreview::EffectsFolder(m_appDir) + QStringLiteral("slidePreview.js");
}

void CLREffectExplorerWnd::PreviewFromList(int effect)
{
    m_source = Source::List;
    Send(TransitionPreview::Request(TransitionPreview::SamplePictures(m_appDir), m_context.Effects(), effect));
    m_lastEffect = effect;
    UpdateArrows();
}

void CLREffectExplorerWnd::PreviewFromStrip(int index)
{
    const AlbumModel& album = m_context.Album();
    m_source = Source::Strip;
    if (album.IsValidIndex(index))
        m_remembered = index;
    const int effect = album.Item(index).effect;
    Send(TransitionPreview::Request(TransitionPreview::StripPictures(album, index, m_appDir), m_context.Effects(),
                                    effect));
    m_lastEffect = effect;
    UpdateArrows();
}

void CLREffectExplorerWnd::UpdateArrows()
{
    TransitionPreview::Limits limits;
    const AlbumModel& album = m_context.Album();
    if (m_remembered >= album.Count())
        m_remembered = album.Count() - 1;
    if (m_source == Source::List && m_list)
        limits = TransitionPreview::ListLimits(m_list->FocusItem(), m_list->Count());
    else if (m_source == Source::Strip)
        limits = TransitionPreview::StripLimits(album.CurrentIndex(), m_remembered, album.Count());
    SetArrowEnabled(1, !limits.atStart);
    SetArrowEnabled(2, !limits.atEnd);
}

void CLREffectExplorerWnd::OnArrowClicked(int arrow)
{
    const int step = arrow == 1 ? -1 : 1;
    if (m_source == Source::List && m_list) {
        const int next = m_list->FocusItem() + step;
        if (next < 0 || next >= m_list->Count())
            return;
        // The list's new current item previews itself through its signal.
        m_list->ClearSelection();
        m_list->Select(next);
        m_list->SetFocusItem(next);
        m_list->EnsureVisible(next);
        return;
    }
    if (m_source != Source::Strip)
        return;
    const AlbumModel& album = m_context.Album();
    const int target = TransitionPreview::StripArrowTarget(album.CurrentIndex(), m_remembered, album.Count(), arrow);
    if (target < 0)
        return;
    m_remembered = target;
    if (m_strip)
        m_strip->Select(target, CLREffectWnd::Kind::Transition); // previews through TransitionCellCurrent
    else
        PreviewFromStrip(target);
}

void CLREffectExplorerWnd::Send(const QString& request)
{
    m_lastRequest = request;
    // A hidden explorer keeps the request until it shows: its page would not
    // draw the transition meanwhile.
    if (!m_player.IsCreated() || !isVisible()) {
        m_requestWaiting = true;
        return;
    }
    m_requestWaiting = false;
    m_player.CallFunctionAsync(request, [](bool) {});
}

void CLREffectExplorerWnd::Prepare()
{
    if (m_player.IsCreated())
        return;
    if (!m_player.Create(QStringLiteral("Flash Player"), true, ContentRect(), this, kControlId))
        return;
    m_player.LoadMovieAsync(MoviePath(), [](bool) {});
}

void CLREffectExplorerWnd::LayOut()
{
    if (m_player.IsCreated())
        m_player.Window()->setGeometry(ContentRect());
}

void CLREffectExplorerWnd::showEvent(QShowEvent* event)
{
    CLRWnd::showEvent(event);
    Prepare();
    LayOut();
    // A preview asked for while hidden plays now.
    if (m_requestWaiting)
        Send(m_lastRequest);
}

