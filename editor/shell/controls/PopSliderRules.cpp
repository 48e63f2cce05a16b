#include "PopSliderRules.h"

#include "editor/core/AlbumModel.h"

#include <algorithm>

int PopSliderRules::StartValue(int controlId, const AlbumModel* album)
{
    if (!album || !IsAdjustment(controlId))
        return 0;
    const int index = album->CurrentIndex();
    if (!album->IsValidIndex(index))
        return 0;
    const LrItem& item = album->Item(index);
    if (item.photoState != LrItem::Current)
        return 0;
    return controlId == kBrightnessId ? item.brightness : item.contrast;
}

QRect PopSliderRules::Placement(const QRect& buttonGlobal, const QRect& screen)
{
    int x = buttonGlobal.left() + (buttonGlobal.width() - kSliderSize.width()) / 2;
    x = std::max(x, screen.left());
    return QRect(QPoint(x, buttonGlobal.bottom() + 1), kSliderSize);
}

QPoint PopSliderRules::CursorPoint(const QRect& sliderGlobal, int channelRightGlobal)
{
    const int middle = sliderGlobal.left() + sliderGlobal.width() / 2;
    return QPoint(std::min(middle, channelRightGlobal - kCursorEndGap), sliderGlobal.top() + sliderGlobal.height() / 2);
}

bool PopSliderRules::WriteBack(AlbumModel* album, int controlId, int value)
{
    if (!album || !IsAdjustment(controlId))
        return false;
    const int index = album->CurrentIndex();
    if (!album->IsValidIndex(index))
        return false;
    const LrItem& item = album->Item(index);
    if (controlId == kBrightnessId)
        album->SetAdjustments(index, value, item.contrast);
    else
        album->SetAdjustments(index, item.brightness, value);
    return true;
}
