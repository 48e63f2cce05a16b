#include "editor/core/PhotoEditCommands.h"

#include "editor/core/AlbumModel.h"
#include "editor/core/StringTable.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"

#include <QFileInfo>
#include <algorithm>

namespace {

bool Exists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

} // namespace

PhotoEditCommands::PhotoEditCommands(AlbumModel& album, ThumbnailCache& cache, WorkingCopyMap& copies,
                                     DisplayCopies& display, QObject* parent)
    : QObject(parent),
      m_album(album),
      m_cache(cache),
      m_copies(copies),
      m_display(display),
      m_messageSink([](const QString& text) { qWarning("%s", qPrintable(text)); })
{
    connect(&album, &AlbumModel::PhotoRemoved, this, &PhotoEditCommands::ReleaseOrphanedSources);
    connect(&album, &AlbumModel::Cleared, this, &PhotoEditCommands::ReleaseOrphanedSources);
}

void PhotoEditCommands::SetMessageSink(MessageSink sink) { m_messageSink = std::move(sink); }

void PhotoEditCommands::ReadFailed()
{
    if (m_messageSink)
        m_messageSink(Strings::Load(Strings::ReadPhotoFailed));
}

void PhotoEditCommands::SetCropMode(bool on)
{
    if (m_cropMode == on)
        return;
    m_cropMode = on;
    emit CropModeChanged(on);
}

void PhotoEditCommands::SetRedEyeMode(bool on)
{
    if (m_redEyeMode == on)
        return;
    m_redEyeMode = on;
    emit RedEyeModeChanged(on);
}

void PhotoEditCommands::DiscardSnapshot()
{
    if (!m_snapshot.isEmpty())
        m_copies.Discard(m_snapshot);
    m_snapshot.clear();
}

bool PhotoEditCommands::Begin(Operation operation)
{
    if (m_album.IsEmpty() && operation != CropApplied)
        return false;
    m_previewStart = PreviewPicture{};
    if (operation != RedEyeRemoved && operation != CropApplied && operation != CropModeEntered) {
        SetRedEyeMode(false);
        SetCropMode(false);
    }
    if (operation != CropModeEntered)
        m_album.SetModified(true);
    // The snapshot: brightness and contrast keep it for moves of their own
    // slider; every other pixel edit throws it away.
    switch (operation) {
    case ContrastOp:
        if (m_lastOperation == BrightnessOp)
            DiscardSnapshot();
        break;
    case BrightnessOp:
        if (m_lastOperation == ContrastOp)
            DiscardSnapshot();
        break;
    case CropModeEntered:
        break;
    default:
        DiscardSnapshot();
        break;
    }
    m_lastOperation = operation;
    return true;
}

void PhotoEditCommands::RemoveVanishedPhoto(int index)
{
    m_album.RemovePhoto(index);
    if (m_album.IsEmpty())
        m_display.ClearView();
}

QString PhotoEditCommands::EnsureWorkingCopy()
{
    const int index = m_album.CurrentIndex();
    if (!m_album.IsValidIndex(index))
        return QString();
    const ThumbHandle handle = m_album.Photo(index)->thumbnail;
    const QString path = m_cache.PathOf(handle);
    if (path.isEmpty())
        return QString();
    if (!QFileInfo::exists(path)) {
        // A working copy whose file vanished (the temporary folder cleaned
        // while the editor stayed open) gives way to the photo's own file, and
        // the edit starts again from there.
        const ThumbHandle sourceHandle = RecoverVanishedCopy(index, path);
        if (sourceHandle == 0)
            return QString();
        return EnsureWorkingCopy();
    }
    if (m_copies.IsWorkingCopy(path))
        return path; // now the current working copy
    const QString copy = m_copies.MakeWorkingCopy(path, true);
    if (copy.isEmpty())
        return QString();
    const ThumbHandle copyHandle = m_cache.AddUnsavedPhoto(copy);
    if (copyHandle == 0) {
        m_copies.Discard(copy);
        return QString();
    }
    m_keptSources[copyHandle] = handle;
    m_album.SetThumbnail(index, copyHandle);
    return copy;
}

void PhotoEditCommands::Refresh(bool rewritten)
{
    const int index = m_album.CurrentIndex();
    if (!m_album.IsValidIndex(index))
        return;
    const ThumbHandle handle = m_album.Photo(index)->thumbnail;
    if (!m_cache.EntryOfId(handle)) {
        ReadFailed();
        return;
    }
    // File times can be coarser than two quick edits: a rewritten copy always
    // gets its new thumbnail.
    m_cache.Refresh(handle, rewritten);
    m_album.SetThumbnail(index, handle);
    m_display.ReloadPath(m_copies.Current());
    emit PhotoEdited(index);
}

template <typename Transform>
void PhotoEditCommands::TransformWorkingCopy(Operation operation, Transform transform)
{
    if (!Begin(operation))
        return;
    const QString copy = EnsureWorkingCopy();
    if (!Exists(copy)) {
        ReadFailed();
        return;
    }
    if (!transform(copy)) {
        ReadFailed();
        return;
    }
    Refresh(true);
}

void PhotoEditCommands::RotateLeft() { TransformWorkingCopy(RotatedLeft, ImageOps::ApplyRotateLeft); }
void PhotoEditCommands::RotateRight() { TransformWorkingCopy(RotatedRight, ImageOps::ApplyRotateRight); }
void PhotoEditCommands::Mirror() { TransformWorkingCopy(MirroredOp, ImageOps::ApplyMirror); }

QString PhotoEditCommands::SnapshotOf(const QString& copy)
{
    QString snapshot = m_copies.CopyMadeFrom(copy);
    if (!Exists(snapshot))
        snapshot = m_copies.MakeWorkingCopy(copy, false);
    if (snapshot != m_snapshot) {
        DiscardSnapshot();
        m_snapshot = snapshot;
    }
    return snapshot;
}

void PhotoEditCommands::Brightness(int value)
{
    TransformWorkingCopy(BrightnessOp, [this, value](const QString& copy) {
        return ImageOps::ApplyBrightness(SnapshotOf(copy), copy, value);
    });
}

void PhotoEditCommands::Contrast(int value)
{
    TransformWorkingCopy(ContrastOp, [this, value](const QString& copy) {
        return ImageOps::ApplyContrast(SnapshotOf(copy), copy, value);
    });
}

void PhotoEditCommands::PreviewBrightness(int value) { Preview(BrightnessOp, value, 0); }
void PhotoEditCommands::PreviewContrast(int value) { Preview(ContrastOp, 0, value); }

void PhotoEditCommands::Preview(Operation operation, int brightness, int contrast)
{
    const int index = m_album.CurrentIndex();
    if (!m_album.IsValidIndex(index))
        return;
    const QString path = m_cache.PathOf(m_album.Photo(index)->thumbnail);
    if (!Exists(path))
        return;
    // The starting picture by the rules of Begin and SnapshotOf: the snapshot
    // when the command would keep it, else the working copy as it is; a photo
    // without a working copy starts from itself fitted to the canvas, as its
    // working copy will be.
    QString start = path;
    if (m_copies.IsWorkingCopy(path)) {
        const bool discards = (operation == BrightnessOp && m_lastOperation == ContrastOp) ||
                              (operation == ContrastOp && m_lastOperation == BrightnessOp);
        const QString snapshot = m_copies.CopyMadeFrom(path);
        if (Exists(snapshot) && !(discards && snapshot == m_snapshot))
            start = snapshot;
    }
    const QImage picture = PreviewStart(start);
    if (picture.isNull())
        return;
    m_display.ShowPreview(ImageOps::WithLightTable(picture, ImageOps::LightTable(brightness, contrast)));
}

QImage PhotoEditCommands::PreviewStart(const QString& start)
{
    const QFileInfo file(start);
    PreviewPicture& kept = m_previewStart;
    if (kept.path == start && kept.modified == file.lastModified() && kept.size == file.size() && !kept.picture.isNull())
        return kept.picture;
    kept = PreviewPicture{start, file.lastModified(), file.size(), m_display.ShownPhotoOf(start)};
    if (kept.picture.isNull())
        kept.picture = ImageOps::LoadFittedBitmap(start, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true);
    return kept.picture;
}

void PhotoEditCommands::EnterCropMode()
{
    if (!Begin(CropModeEntered))
        return;
    SetRedEyeMode(false);
    SetCropMode(true);
}

void PhotoEditCommands::LeaveCropMode() { SetCropMode(false); }

ImageOps::EdgeRect PhotoEditCommands::ViewToImage(ImageOps::EdgeRect viewRect, QSize image)
{
    const QRect drawn = ImageOps::CanvasPlacement(image);
    ImageOps::EdgeRect rect{std::max(viewRect.left, drawn.left()), std::max(viewRect.top, drawn.top()),
                            std::min(viewRect.right, drawn.left() + drawn.width()),
                            std::min(viewRect.bottom, drawn.top() + drawn.height())};
    if (rect.IsEmpty() || drawn.width() <= 0)
        return ImageOps::EdgeRect{};
    const float factor = float(image.width()) / float(drawn.width());
    const auto map = [factor](int value, int origin) { return int(float(value - origin) * factor); };
    return ImageOps::EdgeRect{map(rect.left, drawn.left()), map(rect.top, drawn.top()), map(rect.right, drawn.left()),
                              map(rect.bottom, drawn.top())};
}

void PhotoEditCommands::ApplyCrop(ImageOps::EdgeRect viewRect)
{
    if (!Begin(CropApplied))
        return;
    const QString copy = EnsureWorkingCopy();
    if (!Exists(copy)) {
        SetCropMode(false); // the tracker goes before the message
        ReadFailed();
        return;
    }
    const ImageOps::EdgeRect rect = ViewToImage(viewRect, ImageOps::PictureSize(copy));
    const bool written = ImageOps::ApplyCrop(rect, copy);
    SetCropMode(false);
    if (!written) {
        ReadFailed();
        return;
    }
    Refresh(true);
}

void PhotoEditCommands::EnterRedEyeMode()
{
    if (m_album.IsEmpty())
        return;
    SetCropMode(false);
    SetRedEyeMode(true);
}

void PhotoEditCommands::LeaveRedEyeMode() { SetRedEyeMode(false); }

void PhotoEditCommands::RedEyeAt(int x, int y)
{
    if (!m_redEyeMode || !Begin(RedEyeRemoved))
        return;
    const QString copy = EnsureWorkingCopy();
    if (!Exists(copy)) {
        SetRedEyeMode(false);
        ReadFailed();
        return;
    }
    const bool written = ImageOps::RemoveRedEye(copy, x, y);
    if (!written && ImageOps::Decode(copy).isNull()) {
        ReadFailed();
        return;
    }
    Refresh(written); // a point beside the picture changes nothing
}

ThumbHandle PhotoEditCommands::BackToSource(int index, const QString& copy)
{
    const ThumbHandle handle = m_album.Photo(index)->thumbnail;
    const QString source = m_copies.SourceOf(copy);
    // Found and referenced in one step, so a folder switch cannot drop it in between.
    const ThumbHandle sourceHandle = source.isEmpty() ? 0 : m_cache.AcquirePhoto(source);
    if (sourceHandle == 0)
        return 0;
    const auto kept = m_keptSources.find(handle);
    if (kept != m_keptSources.end()) {
        m_cache.ReleaseReference(kept->second);
        m_keptSources.erase(kept);
    }
    m_cache.RemoveByPath(copy);
    m_album.SetThumbnail(index, sourceHandle);
    const QString snapshot = m_copies.CopyMadeFrom(copy);
    m_copies.Discard(copy);
    m_display.ForgetDisplayCopy(copy);
    if (!snapshot.isEmpty()) {
        m_copies.Discard(snapshot);
        m_display.ForgetDisplayCopy(snapshot);
        if (snapshot == m_snapshot)
            m_snapshot.clear();
    }
    // The sliders' values were applied to the copy and went with it.
    m_album.SetAdjustments(index, 0, 0);
    return sourceHandle;
}

ThumbHandle PhotoEditCommands::RecoverVanishedCopy(int index, const QString& path)
{
    const QString source = m_copies.SourceOf(path);
    if (source.isEmpty() || !QFileInfo(source).isFile()) {
        RemoveVanishedPhoto(index); // the photo's own file is gone as well
        return 0;
    }
    m_album.SetModified(true);
    return BackToSource(index, path);
}

void PhotoEditCommands::Reset()
{
    if (m_album.IsEmpty())
        return;
    m_previewStart = PreviewPicture{};
    SetRedEyeMode(false);
    SetCropMode(false);
    m_album.SetModified(true);
    const int index = m_album.CurrentIndex();
    const ThumbHandle handle = m_album.IsValidIndex(index) ? m_album.Photo(index)->thumbnail : 0;
    const QString path = m_cache.PathOf(handle);
    if (path.isEmpty()) {
        ReadFailed();
        return;
    }
    if (m_copies.IsWorkingCopy(path)) {
        if (BackToSource(index, path) == 0) {
            // The photo's own file is gone or unreadable: the working copy is
            // all that is left of it, so it stays.
            ReadFailed();
            return;
        }
        m_display.ShowPath(m_cache.PathOf(m_album.Photo(index)->thumbnail), true, true);
    }
    m_album.SetAdjustments(index, 0, 0);
    emit PhotoEdited(index);
}

void PhotoEditCommands::SelectPhoto(int index, bool show)
{
    if (!m_album.IsValidIndex(index))
        return;
    const QString path = m_cache.PathOf(m_album.Photo(index)->thumbnail);
    if (path.isEmpty()) {
        ReadFailed();
        return;
    }
    if (!QFileInfo::exists(path)) {
        const ThumbHandle sourceHandle = RecoverVanishedCopy(index, path);
        if (sourceHandle == 0) {
            ReadFailed();
            return;
        }
        m_display.ShowPath(m_cache.PathOf(sourceHandle), show, true);
        emit PhotoEdited(index);
        return;
    }
    m_display.ShowPath(path, show, true);
}

void PhotoEditCommands::ReleaseOrphanedSources()
{
    for (auto it = m_keptSources.begin(); it != m_keptSources.end();) {
        bool inAlbum = false;
        for (int i = 0; i < m_album.Count() && !inAlbum; ++i)
            inAlbum = m_album.Photo(i)->thumbnail == it->first;
        if (inAlbum) {
            ++it;
            continue;
        }
        m_cache.ReleaseReference(it->second);
        it = m_keptSources.erase(it);
    }
}
