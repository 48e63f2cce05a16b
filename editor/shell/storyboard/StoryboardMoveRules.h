// The storyboard's rules, kept apart from the widget so that they are tested
// without a display: where dragged photos land and what stays selected, where
// dropped files go, which photos Delete removes, what a right click does, and
// when the Delete button and the Edit command are available.
#pragma once

#include "editor/shell/controls/PhotoListSelection.h"

#include <QPoint>
#include <vector>

class PhotoListLayout;

class StoryboardMoveRules {
public:
    using MarkerKind = PhotoListSelection::MarkerKind;
    using DropMarker = PhotoListSelection::DropMarker;

    struct Move {
        bool moved = false;         // false: the release moves nothing
        std::vector<int> order;     // order[i]: the old index of the photo now at i
        std::vector<int> selection; // ascending, new indices
        int focus = -1;             // the pressed photo's new index
    };
    // The photos dragged from `pressed` (one photo, or every selected one when
    // several are selected) released on a marker of `kind` before `target`.
    // The moved photos keep their relative order and end up side by side:
    // before the photo that was at target (kinds 1 and 3), or at the end
    // (kind 2). They are selected afterwards. Nothing moves without a pressed
    // photo, without a marker, or above the first photo (kind 1, target -1).
    static Move Apply(int count, const std::vector<int>& selected, int pressed, int target, MarkerKind kind);

    // The marker for files dragged in from outside: the list's selection plays
    // no part (a file never lands "on itself"), and a point beside the cells
    // means after the last photo. Kind None only for an empty list.
    static DropMarker FileDropMarker(QPoint client, int hit, int scrollY, int count, const PhotoListLayout& layout);
    // Where dropped photos are inserted for a marker: before the target, at 0
    // before the first photo, else at the end.
    static int InsertionIndex(const DropMarker& marker, int count);

    // The indices Delete removes, highest first: the selected photos (an
    // unselected focus photo is never removed behind the user's back).
    static std::vector<int> DeleteTargets(int count, const std::vector<int>& selected);

    struct RightClick {
        bool clearSelection = false; // over no photo
        bool selectOnly = false;     // the clicked photo becomes the only selected and the focus photo
        bool showMenu = false;
    };
    static RightClick RightButtonDown(int hit, int selectedCount);

    static bool EditEnabled(int selectedCount) { return selectedCount <= 1; }
    // The Delete button follows the album, not the selection.
    static bool DeleteButtonEnabled(int count) { return count > 0; }
};
