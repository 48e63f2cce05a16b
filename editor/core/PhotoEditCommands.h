// The edit commands of the photo edit window, without widgets: rotate, mirror,
// crop, brightness, contrast, red-eye removal and reset on the album photo
// that is current in the transition strip (the album's current index).
//
// Edits never touch the user's file. The first edit of a photo makes a
// working copy (the photo fitted into 480 x 360 in the temporary folder) and
// switches the photo's thumbnail handle to it; every later edit rewrites that
// copy; reset switches the handle back to the photo's own file and deletes the
// copy. Brightness and contrast start from a snapshot of the working copy, so
// that successive slider moves do not accumulate.
#pragma once

#include "editor/imaging/ImageTransforms.h"
#include "editor/imaging/ThumbnailRegistry.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class AlbumModel;
class DisplayCopies;
class ThumbnailCache;
class WorkingCopyMap;

class PhotoEditCommands : public QObject {
    Q_OBJECT
public:
    // The last operation codes (4 is not used).
    enum Operation {
        NoOperation = -1,
        CropApplied = 0,
        RotatedLeft = 1,
        RotatedRight = 2,
        MirroredOp = 3,
        BrightnessOp = 5,
        ContrastOp = 6,
        CropModeEntered = 7,
        RedEyeRemoved = 8,
    };
    // Shows a message to the user ("读取照片失败" when a photo cannot be read).
    using MessageSink = std::function<void(const QString& text)>;

    PhotoEditCommands(AlbumModel& album, ThumbnailCache& cache, WorkingCopyMap& copies, DisplayCopies& display,
                      QObject* parent = nullptr);

    // Default: a warning on stderr.
    void SetMessageSink(MessageSink sink);

    // The strip made the photo current: show it in the view. A photo whose
    // working copy vanished shows its own file again; a photo whose own file
    // vanished is removed from the album; a photo the cache does not know or
    // that was removed gives the message.
    void SelectPhoto(int index, bool show);

    void RotateLeft();
    void RotateRight();
    void Mirror();
    // Crop mode on (red-eye mode off); the snapshot stays. Does not mark the
    // project modified.
    void EnterCropMode();
    void LeaveCropMode();
    // The rectangle in view coordinates (the working copy drawn fitted and
    // centred on the 480 x 360 canvas); leaves crop mode.
    void ApplyCrop(ImageOps::EdgeRect viewRect);
    // Slider values, absolute against the snapshot.
    void Brightness(int value);
    void Contrast(int value);
    // What Brightness(value) or Contrast(value) would show, worked out from
    // the picture they would start from and shown in the view without writing
    // the working copy, the snapshot or the project: the live preview while a
    // slider moves (the command itself runs once, when the slider closes).
    void PreviewBrightness(int value);
    void PreviewContrast(int value);
    // Red-eye mode on (crop mode off); every later click removes red eye.
    void EnterRedEyeMode();
    void LeaveRedEyeMode();
    // A click at (x, y) in view coordinates; nothing unless red-eye mode is on.
    void RedEyeAt(int x, int y);
    // Back to the photo's own file: the working copy and the snapshot are
    // deleted; the photo's brightness and contrast become 0.
    void Reset();

    bool CropMode() const { return m_cropMode; }
    bool RedEyeMode() const { return m_redEyeMode; }
    QString SnapshotPath() const { return m_snapshot; }
    int LastOperation() const { return m_lastOperation; }

    // A crop rectangle from view to picture coordinates for a working copy of
    // this size: intersected with where the picture is drawn (empty when they
    // do not meet), moved to the picture's origin and scaled by
    // width / drawn width (single precision, truncated).
    static ImageOps::EdgeRect ViewToImage(ImageOps::EdgeRect viewRect, QSize image);

signals:
    void CropModeChanged(bool on);
    void RedEyeModeChanged(bool on);
    // The photo's picture or thumbnail changed (the strip and the view repaint).
    void PhotoEdited(int index);

private:
    // Steps common to the commands: leave the modes and mark the project
    // modified, the snapshot rule, the operation code. False on an empty album.
    bool Begin(Operation operation);
    // The current photo's working copy, made on first use; empty when the photo
    // cannot be reached (a photo whose file vanished is removed).
    QString EnsureWorkingCopy();
    void RemoveVanishedPhoto(int index);
    // The album photo at index goes from its working copy back to the file
    // the copy was made from: it takes that file's thumbnail; the copy, its
    // snapshot and their display copies are deleted; brightness and contrast
    // become 0. The source's handle, or 0 (nothing changed) when the source
    // cannot be read.
    ThumbHandle BackToSource(int index, const QString& copy);
    // The photo's file at `path` has vanished. A working copy whose source is
    // still there gives way to the source (BackToSource): the photo stays in
    // the album, its earlier edits are lost. Otherwise the photo is removed
    // from the album. The handle the photo now has, or 0.
    ThumbHandle RecoverVanishedCopy(int index, const QString& path);
    // Rewrites the thumbnail and the view after the working copy changed.
    void Refresh(bool rewritten);
    void DiscardSnapshot();
    // The unchanged copy that brightness and contrast are applied to: the one
    // the working copy was made from, else a new one made now; a snapshot kept
    // from before is discarded when this one differs.
    QString SnapshotOf(const QString& copy);
    void Preview(Operation operation, int brightness, int contrast);
    // The picture a preview starts from, fitted to the canvas: kept between
    // the steps of a slider drag (decoding a camera photo at every step would
    // take longer than a frame), taken from the view when it shows that photo,
    // decoded otherwise. Dropped by every command that writes.
    QImage PreviewStart(const QString& start);
    void SetCropMode(bool on);
    void SetRedEyeMode(bool on);
    void ReadFailed();
    // Album photos that were removed while on a working copy give back the
    // reference they kept on their own file's thumbnail.
    void ReleaseOrphanedSources();
    template <typename Transform>
    void TransformWorkingCopy(Operation operation, Transform transform);

    AlbumModel& m_album;
    ThumbnailCache& m_cache;
    WorkingCopyMap& m_copies;
    DisplayCopies& m_display;
    MessageSink m_messageSink;
    QString m_snapshot;
    struct PreviewPicture {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage picture;
    } m_previewStart;
    int m_lastOperation = NoOperation;
    bool m_cropMode = false;
    bool m_redEyeMode = false;
    // Working-copy handle -> the handle of the file it was made from, whose
    // reference the album photo keeps while it stands on the copy (so that a
    // reset finds the photo's own thumbnail without decoding it again).
    std::map<ThumbHandle, ThumbHandle> m_keptSources;
};
