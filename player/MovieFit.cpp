#include "player/MovieFit.h"

namespace MovieFit {

QRect Place(QSize client)
{
    const int w = client.width();
    const int h = client.height();
    int width = 0;
    int height = 0;
    if (h < w) {
        width = h * 4 / 3;
        height = h;
    } else {
        width = w;
        height = w * 3 / 4;
    }
    return QRect((w - width) / 2, (h - height) / 2, width, height);
}

} // namespace MovieFit
