#include "EffectListCtrl.h"

#include "DragPicture.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/catalogues/widgets/strip/LREffectWnd.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"

#include <QScrollBar>

using QemControls::CLREffectWnd;

CEffectListCtrl::CEffectListCtrl(EditorContext& context, QWidget* parent)
    : CPhotoListCtrl(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("EffectList"));
    setAccessibleName(tr("Effects"));
    SetThumbnailSize(kItemWidth, kItemHeight);
    const EffectCatalogue& effects = context.Effects();
    for (int i = 0; i < effects.Count(); ++i)
        Append(effects.Entry(i).name, effects.Entry(i).picture, 0, std::any(i));
}

CEffectListCtrl::~CEffectListCtrl()
{
    EndDrag();
}

int CEffectListCtrl::EffectOf(int index) const
{
    const PhotoListItem* item = ItemAt(index);
    if (!item)
        return -1;
    const int* effect = std::any_cast<int>(&item->ownerData);
    return effect ? *effect : -1;
}

int CEffectListCtrl::CurrentAlbumPhoto() const
{
    const AlbumModel& album = m_context.Album();
    for (int i = 0; i < album.Count(); ++i) {
        const LrItem& item = album.Item(i);
        if (item.photoState == LrItem::Current || item.effectState == LrItem::Current)
            return i;
    }
    return -1;
}

bool CEffectListCtrl::AssignToCurrent(int index)
{
    const int photo = CurrentAlbumPhoto();
    const int effect = EffectOf(index);
    AlbumModel& album = m_context.Album();
    if (photo < 0 || effect < 0 || album.Item(photo).effect == effect)
        return false;
    // The strip redraws and previews the new effect on the album's EffectChanged.
    album.SetEffect(photo, effect);
    return true;
}

void CEffectListCtrl::OnFocusChanged(int, int newIndex)
{
    if (newIndex < 0)
        return;
    const int photo = CurrentAlbumPhoto();
    if (photo >= 0 && m_context.Album().Item(photo).effectState == LrItem::Current)
        AssignToCurrent(newIndex);
    else
        emit SamplePreviewRequested(EffectOf(newIndex));
}

void CEffectListCtrl::OnItemActivated(PhotoListItem* item)
{
    const int index = IndexOf(item);
    if (CurrentAlbumPhoto() >= 0)
        AssignToCurrent(index);
    else if (index >= 0)
        emit SamplePreviewRequested(EffectOf(index));
}

void CEffectListCtrl::OnItemPressed(PhotoListItem* item, int, int, bool)
{
    EndDrag();
    m_pressedItem = IndexOf(item);
    if (item)
        m_dragPicture = new DragPicture(this, item->picture);
}

CLREffectWnd* CEffectListCtrl::StripAt(QPoint client, QPoint* local) const
{
    const QPoint global = viewport()->mapToGlobal(client);
    QWidget* top = window();
    for (QWidget* w = top->childAt(top->mapFromGlobal(global)); w; w = w->parentWidget()) {
        if (auto* strip = qobject_cast<CLREffectWnd*>(w)) {
            *local = strip->mapFromGlobal(global);
            return strip;
        }
    }
    return nullptr;
}

void CEffectListCtrl::ClearStripMark()
{
    if (m_markedStrip)
        m_markedStrip->ClearDropTarget();
    m_markedStrip = nullptr;
}

void CEffectListCtrl::OnItemDragged(PhotoListItem*, int x, int y, bool)
{
    if (m_pressedItem < 0 || !m_dragPicture)
        return;
    const QPoint client(x, y);
    if (!m_dragShown && CellRect(m_pressedItem).contains(client))
        return;
    m_dragShown = true;
    m_dragPicture->MoveTo(viewport()->mapToGlobal(client));
    QPoint local;
    CLREffectWnd* strip = StripAt(client, &local);
    const StripLayout::Hit hit = strip ? strip->HitTest(local) : StripLayout::Hit{};
    if (hit.cell == StripLayout::Cell::Transition) {
        if (m_markedStrip != strip)
            ClearStripMark();
        strip->SetDropTarget(hit.index);
        m_markedStrip = strip;
        m_dropTarget = hit.index;
    } else {
        ClearStripMark();
        m_dropTarget = -1;
    }
}

void CEffectListCtrl::OnItemReleased(PhotoListItem*, int, int, bool)
{
    const int target = m_dropTarget;
    const int effect = EffectOf(m_pressedItem);
    QPointer<CLREffectWnd> strip = m_markedStrip;
    EndDrag();
    if (target < 0 || !strip || effect < 0)
        return;
    m_context.Album().SetEffect(target, effect);
    strip->Select(target, CLREffectWnd::Kind::Transition);
}

void CEffectListCtrl::EndDrag()
{
    delete m_dragPicture.data();
    m_dragPicture = nullptr;
    ClearStripMark();
    m_dragShown = false;
    m_dropTarget = -1;
    m_pressedItem = -1;
}
