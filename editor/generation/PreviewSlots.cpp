#include "editor/generation/PreviewSlots.h"

#include "common/FileUtils.h"

PreviewSlots& PreviewSlots::Instance()
{
    static PreviewSlots instance;
    return instance;
}

PreviewSlots::~PreviewSlots() { Release(); }

AlbumOutput* PreviewSlots::Slot(int templateIndex)
{
    if (templateIndex < 0 || templateIndex >= kCount || !m_slots[size_t(templateIndex)])
        return nullptr;
    return &*m_slots[size_t(templateIndex)];
}

bool PreviewSlots::Set(int templateIndex, const AlbumOutput& output)
{
    if (templateIndex < 0 || templateIndex >= kCount)
        return false;
    m_slots[size_t(templateIndex)] = output;
    return true;
}

void PreviewSlots::Release()
{
    for (std::optional<AlbumOutput>& slot : m_slots) {
        if (!slot)
            continue;
        for (AlbumOutput::Folder f : {AlbumOutput::Photo, AlbumOutput::Res, AlbumOutput::Thumbs, AlbumOutput::Root})
            if (!slot->folders[f].isEmpty())
                FileUtils::RemoveEmptiedFolder(slot->folders[f]);
        slot.reset();
    }
}
