// What the album model needs from the thumbnail cache: a photo is known by its
// thumbnail handle, the handle leads to the photo's current file, and holders
// keep the thumbnail alive through a reference count.
#pragma once

#include <QImage>
#include <QString>

// A stable integer id issued by the cache, unique among live entries; 0 is none.
using ThumbHandle = int;

class ThumbnailRegistry {
public:
    virtual ~ThumbnailRegistry() = default;

    // The handle of the photo's thumbnail, making the thumbnail when the photo
    // is not known yet; 0 when the file cannot be decoded.
    virtual ThumbHandle FindOrAddPhoto(const QString& path) = 0;
    // FindOrAddPhoto and AddReference in one step: the handle comes with one
    // reference for the caller, so another thread switching the cache to
    // another folder cannot drop the thumbnail between the two. 0 (and no
    // reference) when the file cannot be decoded.
    virtual ThumbHandle AcquirePhoto(const QString& path) = 0;
    virtual void AddReference(ThumbHandle handle) = 0;
    virtual void ReleaseReference(ThumbHandle handle) = 0;
    // The full path of the file the thumbnail was made from; empty when the
    // handle is unknown.
    virtual QString PathOf(ThumbHandle handle) const = 0;
    // The 192 x 144 thumbnail picture; null when the handle is unknown.
    virtual QImage PictureOf(ThumbHandle handle) const = 0;
};
