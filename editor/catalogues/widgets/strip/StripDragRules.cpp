#include "StripDragRules.h"

#include <algorithm>

StripDragRules::Marks StripDragRules::WhileMoving(int pressed, Cell pressedCell, Hit hit, Gap gap, int count)
{
    Marks marks;
    if (hit.cell != Cell::None) {
        // A cell of another item of the pressed kind is the only target; over
        // any other cell no target shows, since releasing there does nothing.
        if (hit.index != pressed && hit.cell == pressedCell)
            marks.dropTarget = hit.index;
        return marks;
    }
    // Over no cell a dragged photo shows where it would go; a dragged
    // transition shows nothing although its release moves the photo.
    if (pressedCell != Cell::Photo || count <= 0)
        return marks;
    if (gap.where == Gap::Before) {
        marks.insertion = std::clamp(gap.index, 0, count - 1);
    } else if (gap.where == Gap::AfterLast) {
        marks.insertion = count - 1;
        marks.insertionAfter = true;
    }
    return marks;
}

int StripDragRules::MoveTarget(int from, Gap gap, int count)
{
    if (count <= 0 || from < 0 || from >= count)
        return -1;
    switch (gap.where) {
    case Gap::Before: {
        const int before = std::clamp(gap.index, 0, count - 1);
        // Removing the photo from in front of the target shifts the target.
        return before > from ? before - 1 : before;
    }
    case Gap::AfterLast:
        return count - 1;
    case Gap::None:
        break;
    }
    return -1;
}

StripDragRules::Outcome StripDragRules::OnRelease(int pressed, Cell pressedCell, Hit hit, Gap gap, int count)
{
    if (pressed < 0 || pressed >= count || pressedCell == Cell::None)
        return {};
    if (hit.cell != Cell::None) {
        if (hit.index == pressed || hit.cell != pressedCell || hit.index < 0 || hit.index >= count)
            return {};
        return {pressedCell == Cell::Photo ? Outcome::ExchangePhotos : Outcome::ExchangeTransitions, pressed,
                hit.index};
    }
    // Released in a gap, whatever was dragged: the pressed item's photo moves.
    const int to = MoveTarget(pressed, gap, count);
    if (to < 0 || to == pressed)
        return {};
    return {Outcome::Move, pressed, to};
}
