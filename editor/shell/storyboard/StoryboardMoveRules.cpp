#include "editor/shell/storyboard/StoryboardMoveRules.h"

#include "editor/shell/controls/PhotoListLayout.h"

#include <algorithm>

StoryboardMoveRules::Move StoryboardMoveRules::Apply(int count, const std::vector<int>& selected, int pressed,
                                                     int target, MarkerKind kind)
{
    Move move;
    if (pressed < 0 || pressed >= count || kind == MarkerKind::None)
        return move;
    if (kind != MarkerKind::AfterLast && (target < 0 || target >= count))
        return move;

    // One selected photo moves the pressed one; several move the whole
    // selection (the pressed photo is one of them).
    std::vector<int> moving;
    if (selected.size() > 1) {
        for (int index : selected)
            if (index >= 0 && index < count)
                moving.push_back(index);
        std::sort(moving.begin(), moving.end());
        moving.erase(std::unique(moving.begin(), moving.end()), moving.end());
        if (!std::binary_search(moving.begin(), moving.end(), pressed))
            moving = {pressed};
    } else {
        moving = {pressed};
    }

    std::vector<int> rest;
    for (int i = 0; i < count; ++i)
        if (!std::binary_search(moving.begin(), moving.end(), i))
            rest.push_back(i);
    // The moved photos go before the photo that was at target: as many
    // staying photos lie before them as staying photos lay before target.
    int at = int(rest.size());
    if (kind != MarkerKind::AfterLast)
        at = int(std::lower_bound(rest.begin(), rest.end(), target) - rest.begin());

    move.order.assign(rest.begin(), rest.begin() + at);
    move.order.insert(move.order.end(), moving.begin(), moving.end());
    move.order.insert(move.order.end(), rest.begin() + at, rest.end());
    for (int i = 0; i < int(moving.size()); ++i) {
        move.selection.push_back(at + i);
        if (moving[size_t(i)] == pressed)
            move.focus = at + i;
    }
    move.moved = true;
    return move;
}

StoryboardMoveRules::DropMarker StoryboardMoveRules::FileDropMarker(QPoint client, int hit, int scrollY, int count,
                                                                    const PhotoListLayout& layout)
{
    const PhotoListSelection nothingSelected;
    DropMarker marker = nothingSelected.MarkerAt(client, hit, scrollY, count, layout);
    if (count > 0 && marker.kind == MarkerKind::None)
        marker = {-1, MarkerKind::AfterLast};
    if (marker.kind == MarkerKind::BeforeFirst)
        marker.target = 0;
    return marker;
}

int StoryboardMoveRules::InsertionIndex(const DropMarker& marker, int count)
{
    switch (marker.kind) {
    case MarkerKind::BeforeFirst:
        return 0;
    case MarkerKind::BeforeTarget:
        return marker.target >= 0 && marker.target < count ? marker.target : count;
    case MarkerKind::AfterLast:
    case MarkerKind::None:
        break;
    }
    return count;
}

std::vector<int> StoryboardMoveRules::DeleteTargets(int count, const std::vector<int>& selected)
{
    std::vector<int> targets;
    for (int index : selected)
        if (index >= 0 && index < count)
            targets.push_back(index);
    std::sort(targets.begin(), targets.end(), std::greater<>());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    return targets;
}

StoryboardMoveRules::RightClick StoryboardMoveRules::RightButtonDown(int hit, int selectedCount)
{
    RightClick click;
    if (hit < 0) {
        click.clearSelection = true;
        return click;
    }
    click.selectOnly = selectedCount <= 1;
    click.showMenu = true;
    return click;
}
