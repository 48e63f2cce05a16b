#include "editor/imaging/widgets/photoview/ViewPlacement.h"

#include "editor/imaging/ImageOps.h"

namespace ViewPlacement {

QRect DrawnRect(QSize picture)
{
    if (picture.isEmpty())
        return QRect();
    return ImageOps::CanvasPlacement(picture);
}

QRect MiddleThird(QRect drawn)
{
    const int dx = drawn.width() / 3;
    const int dy = drawn.height() / 3;
    return QRect(drawn.left() + dx, drawn.top() + dy, drawn.width() - 2 * dx, drawn.height() - 2 * dy);
}

} // namespace ViewPlacement
