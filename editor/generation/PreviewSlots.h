// The template previews: one output in a temporary folder per template,
// indexed by template, kept from a template's first preview until the program
// ends, when the folders are removed.
#pragma once

#include "editor/generation/AlbumOutput.h"

#include <array>
#include <optional>

class PreviewSlots {
public:
    static constexpr int kCount = 20;

    static PreviewSlots& Instance();
    ~PreviewSlots();

    // The slot's output, or null when the slot is empty or the index lies
    // outside 0..19 (a catalogue with more templates has no preview for them).
    AlbumOutput* Slot(int templateIndex);
    // Stores the output; false for an index outside 0..19.
    bool Set(int templateIndex, const AlbumOutput& output);
    // Deletes every slot's files and folders (photo, res, thumbs, root).
    void Release();

private:
    std::array<std::optional<AlbumOutput>, kCount> m_slots;
};
