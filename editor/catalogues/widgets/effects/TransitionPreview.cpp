#include "TransitionPreview.h"

#include "common/movieplayer/MoviePlayer.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"

namespace TransitionPreview {

QString EffectsFolder(const QString& appDir)
{
    return appDir + QStringLiteral("/Sources/Effects/");
}

Pictures SamplePictures(const QString& appDir)
{
    const QString folder = EffectsFolder(appDir);
    return {folder + QStringLiteral("1.jpg"), folder + QStringLiteral("2.jpg")};
}

Pictures StripPictures(const AlbumModel& album, int index, const QString& appDir)
{
    const Pictures samples = SamplePictures(appDir);
    if (album.IsEmpty())
        return samples;
    Pictures pictures;
    pictures.first = album.IsValidIndex(index) ? album.DisplayPathOf(index) : samples.first;
    const int next = album.IsValidIndex(index + 1) ? index + 1 : 0;
    pictures.second = album.DisplayPathOf(next);
    return pictures;
}

QString Request(const Pictures& pictures, const EffectCatalogue& effects, int effect)
{
    return CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(),
                                       {pictures.first, pictures.second, effects.Entry(effect).id});
}

Limits ListLimits(int current, int count)
{
    return {current <= 0, current >= count - 1};
}

Limits StripLimits(int current, int remembered, int count)
{
    const int at = current >= 0 && current < count ? current : remembered;
    if (at < 0 || at >= count)
        return {count <= 0, count <= 0};
    return {at <= 0, at >= count - 1};
}

int StripArrowTarget(int current, int remembered, int count, int arrow)
{
    if (count <= 0)
        return -1;
    const int step = arrow == 1 ? -1 : 1;
    const int at = current >= 0 && current < count ? current : remembered;
    if (at < 0 || at >= count)
        return arrow == 1 ? count - 1 : 0;
    const int target = at + step;
    return target >= 0 && target < count ? target : -1;
}

} // namespace TransitionPreview
