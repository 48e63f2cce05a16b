#include "editor/shell/library/PhotoPrjectsList.h"

#include "editor/core/AlbumLibrary.h"
#include "editor/core/EditorContext.h"
#include "editor/core/ProjectCommands.h"
#include "editor/shell/library/LibraryItemLayout.h"

#include <QEvent>
#include <QPainter>

namespace {
const LibraryEntry* EntryOf(const PhotoListItem* item)
{
    return item ? std::any_cast<LibraryEntry>(&item->ownerData) : nullptr;
}
} // namespace

CPhotoPrjectsList::CPhotoPrjectsList(EditorContext& context, QWidget* parent)
    : CPhotoListCtrl(parent), m_context(context), m_library(context.Projects().Library())
{
    setAccessibleName(QStringLiteral("Album library"));
    SetLabelsShown(false);
    applyItemSize();
    connect(&m_library, &AlbumLibrary::Reset, this, &CPhotoPrjectsList::rebuild);
    connect(&m_library, &AlbumLibrary::Appended, this, &CPhotoPrjectsList::appendEntry);
    connect(&m_library, &AlbumLibrary::Changed, this, &CPhotoPrjectsList::updateEntry);
    connect(&m_library, &AlbumLibrary::Removed, this, [this](int index) { Remove(ItemAt(index), true); });
    connect(&m_library, &AlbumLibrary::SelectionChanged, this, &CPhotoPrjectsList::followSelection);
    connect(this, &CPhotoListCtrl::DeleteRequested, this, &CPhotoPrjectsList::deleteSelected);
    rebuild();
}

void CPhotoPrjectsList::applyItemSize()
{
    // Labels are off; the cell is sized so that its picture area, which the
    // base list hands to the drawing operations, is exactly one item.
    PhotoListLayout& layout = MutableLayout();
    const QSize item = LibraryItemLayout::kItemSize;
    layout.SetThumbnail(item);
    layout.SetCellSize(QSize(item.width() + 2 * PhotoListLayout::CellInset,
                             item.height() + 2 * PhotoListLayout::CellInset + layout.LabelHeight() - 2));
    UpdateScrollBar();
    viewport()->update();
}

void CPhotoPrjectsList::changeEvent(QEvent* event)
{
    CPhotoListCtrl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyItemSize();
}

void CPhotoPrjectsList::rebuild()
{
    RemoveAll();
    for (int i = 0; i < m_library.Count(); ++i)
        appendEntry(i);
    followSelection(m_library.Selected());
}

void CPhotoPrjectsList::appendEntry(int index)
{
    const LibraryEntry& entry = m_library.At(index);
    Append(entry.Folder(), LibraryItemLayout::WhiteTransparent(entry.picture), 0, entry);
}

void CPhotoPrjectsList::updateEntry(int index)
{
    PhotoListItem* item = ItemAt(index);
    if (!item)
        return;
    const LibraryEntry& entry = m_library.At(index);
    item->label = entry.Folder();
    item->picture = LibraryItemLayout::WhiteTransparent(entry.picture);
    item->ownerData = entry;
    viewport()->update();
}

void CPhotoPrjectsList::followSelection(int index)
{
    ClearSelection();
    if (!ItemAt(index))
        return;
    Select(index);
    SetFocusItem(index);
    EnsureVisible(index);
}

void CPhotoPrjectsList::deleteSelected()
{
    const std::vector<int> selected = Selection();
    m_context.Projects().DeleteLibraryItems(selected);
    viewport()->update();
}

void CPhotoPrjectsList::OnItemActivated(PhotoListItem* item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        m_context.Projects().CloseAndOpenLibraryItem(index);
}

QString CPhotoPrjectsList::AccessibleName(int index) const
{
    const LibraryEntry* entry = EntryOf(ItemAt(index));
    return entry ? entry->Name() : QString();
}

QString CPhotoPrjectsList::AccessibleDescription(int index) const
{
    const LibraryEntry* entry = EntryOf(ItemAt(index));
    if (!entry)
        return {};
    QStringList parts;
    for (const LibraryItemLayout::Line& line : LibraryItemLayout::Lines(*entry))
        parts << line.text;
    parts.removeFirst(); // the name
    parts << entry->Folder();
    return parts.join(QStringLiteral(", "));
}

QRect CPhotoPrjectsList::GetPictureRect(const QRect& pictureArea)
{
    return LibraryItemLayout::PictureRect(pictureArea);
}

void CPhotoPrjectsList::DrawItemPicture(QPainter& painter, PhotoListItem* item, const QRect& pictureArea)
{
    const QImage picture = GetItemPicture(item);
    if (!picture.isNull())
        painter.drawImage(GetPictureRect(pictureArea), picture); // stretched; white is transparent
}

void CPhotoPrjectsList::DrawItemOverlay(QPainter& painter, const QRect& pictureArea, int index)
{
    const LibraryEntry* entry = EntryOf(ItemAt(index));
    if (!entry)
        return;
    const QRect band = LibraryItemLayout::TextRect(pictureArea);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const LibraryItemLayout::Line& line : LibraryItemLayout::Lines(*entry))
        DrawLabelText(painter, line.text, band, line.flags);
}

void CPhotoPrjectsList::paintEvent(QPaintEvent* event)
{
    CPhotoListCtrl::paintEvent(event);
    if (Count() > 0)
        return;
    QPainter painter(viewport());
    QFont font = this->font();
    font.setPixelSize(LibraryItemLayout::kEmptyTextPixels);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawLabelText(painter, LibraryItemLayout::EmptyText(), viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine);
}
