// What a cell drag in the transition strip shows while it moves and what it
// does when it is released: exchanging two photos or two transitions, or
// moving the pressed photo into a gap. Widget-free; the strip applies the
// outcome through the album model.
#pragma once

#include "StripLayout.h"

class StripDragRules {
public:
    using Cell = StripLayout::Cell;
    using Hit = StripLayout::Hit;
    using Gap = StripLayout::Gap;

    // The marks while the cursor is over the cells (not over an arrow zone).
    struct Marks {
        int dropTarget = -1;            // item whose cell of the pressed kind is the target
        int insertion = -1;             // item that carries the insertion bar
        bool insertionAfter = false;    // bar after the last item instead of before `insertion`
        bool operator==(const Marks&) const = default;
    };
    static Marks WhileMoving(int pressed, Cell pressedCell, Hit hit, Gap gap, int count);

    struct Outcome {
        enum Action { Nothing, ExchangePhotos, ExchangeTransitions, Move };
        Action action = Nothing;
        int from = -1;
        int to = -1; // the target item; for a move, the index the photo ends at
        bool operator==(const Outcome&) const = default;
    };
    static Outcome OnRelease(int pressed, Cell pressedCell, Hit hit, Gap gap, int count);

    // The index a photo moved from `from` into `gap` ends at; -1 for no gap.
    static int MoveTarget(int from, Gap gap, int count);
};
