// The transition preview request and the effects explorer's arrow rules,
// apart from the widgets. A preview plays one effect from a first to a second
// picture: the two sample pictures for an effect picked in the effects list,
// or for a strip transition the photo and the one after it (the first photo
// after the last).
#pragma once

#include <QString>

class AlbumModel;
class EffectCatalogue;

namespace TransitionPreview {

struct Pictures {
    QString first;
    QString second;
    bool operator==(const Pictures&) const = default;
};

// The folder of the preview movie and its sample pictures, with a trailing "/".
QString EffectsFolder(const QString& appDir);
Pictures SamplePictures(const QString& appDir);
// The display paths of photo `index` and the next one; the sample pictures
// stand in for photos the album does not have.
Pictures StripPictures(const AlbumModel& album, int index, const QString& appDir);
// The movie's "toAs" invoke request for the pictures and the effect's id.
QString Request(const Pictures& pictures, const EffectCatalogue& effects, int effect);

// Where the explorer's arrows stand, for either source.
struct Limits {
    bool atStart = true;
    bool atEnd = true;
    bool operator==(const Limits&) const = default;
};
Limits ListLimits(int current, int count);
// `current` the strip's current item, else `remembered`, else none (-1).
Limits StripLimits(int current, int remembered, int count);
// The strip item an arrow (1 left, 2 right) moves to: next to the current
// item, else next to the remembered one, else the last (left) or first
// (right) item; -1 when there is none.
int StripArrowTarget(int current, int remembered, int count, int arrow);

} // namespace TransitionPreview
