#include "QemLRPhotoEditWnd.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/PhotoEditCommands.h"

CQemLRPhotoEditWnd::CQemLRPhotoEditWnd(EditorContext& context, QWidget* parent)
    : CLRPhotoEditWnd(parent), m_context(context)
{
    SetArrowNames(tr("Previous Photo"), tr("Next Photo"));
    AlbumModel& album = context.Album();
    // Photos added, removed or moved change which photos lie on each side.
    connect(&album, &AlbumModel::PhotoInserted, this, &CQemLRPhotoEditWnd::AlbumChanged);
    connect(&album, &AlbumModel::PhotoRemoved, this, &CQemLRPhotoEditWnd::AlbumChanged);
    connect(&album, &AlbumModel::Reordered, this, &CQemLRPhotoEditWnd::AlbumChanged);
    connect(&album, &AlbumModel::Cleared, this, &CQemLRPhotoEditWnd::AlbumChanged);
}

void CQemLRPhotoEditWnd::SelectPhoto(int index, bool show)
{
    m_index = index;
    m_context.EditCommands().SelectPhoto(index, show);
    // A photo whose file vanished has been removed meanwhile.
    if (!m_context.Album().IsValidIndex(m_index))
        m_index = m_context.Album().CurrentIndex();
    UpdateArrowStates();
}

void CQemLRPhotoEditWnd::UpdateArrowStates()
{
    const AlbumModel& album = m_context.Album();
    const bool valid = album.IsValidIndex(m_index);
    SetArrowEnabled(ArrowRules::kLeft, valid && m_index > 0);
    SetArrowEnabled(ArrowRules::kRight, valid && m_index < album.Count() - 1);
}

void CQemLRPhotoEditWnd::Refresh()
{
    UpdateArrowStates();
    update();
}

void CQemLRPhotoEditWnd::AlbumChanged()
{
    m_index = m_context.Album().CurrentIndex();
    Refresh();
}

void CQemLRPhotoEditWnd::OnArrowClicked(int arrow)
{
    const int target = arrow == ArrowRules::kLeft ? m_index - 1 : m_index + 1;
    if (m_context.Album().IsValidIndex(target))
        emit SelectRequested(target);
    UpdateArrowStates();
}
