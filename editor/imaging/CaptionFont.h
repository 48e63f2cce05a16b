// The font a caption is drawn in, wherever it is drawn: burnt into an
// exported photo and typed in the caption box over the photo.
//
// A caption's size is the height of the font's character cell (ascent plus
// descent) in pixels, as the user sees the text fill the box; a negative size
// is the height of the characters alone (the em height) and 0 the face's
// default size.
#pragma once

#include <QFont>
#include <QString>

namespace CaptionFont {

// The face at the caption's size. A face that is not installed (or an empty
// face name) gives `fallback` unchanged: the default font of the surface.
QFont Make(const QString& face, int size, const QFont& fallback);

} // namespace CaptionFont
