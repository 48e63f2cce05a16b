// Export of the album photos into an output's photo folder and of their
// thumbnails into its thumbs folder.
//
// Names are decided one photo after the other, in album order, exactly as if
// each file were written at once: a decided name is held by an empty file, so
// that the next photo's collision check sees it. The pictures themselves are
// made afterwards by Run(), on both cores; the configuration meanwhile already
// refers to every file by its final name.
#pragma once

#include "editor/core/Caption.h"
#include "editor/generation/AlbumOutput.h"
#include "editor/imaging/ThumbnailRegistry.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <atomic>
#include <functional>
#include <map>
#include <vector>

class AlbumModel;

// The thumbnails written into the current output, by thumbnail handle, with
// the file name each got and a fingerprint of the picture written. Emptied
// when a final generation has no preview of its template to take thumbnails
// from, and when a template's first preview is made.
//
// An edit keeps a photo's handle but changes its picture: a handle whose
// picture is no longer the one written counts as not written, so that its
// thumbnail is written again.
class WrittenThumbnails {
public:
    static WrittenThumbnails& Instance();
    void Clear() { m_written.clear(); }
    // The name written for the handle, or empty.
    QString NameOf(ThumbHandle handle) const;
    // True when the handle's thumbnail was written and `picture` is the
    // picture written then.
    bool IsCurrent(ThumbHandle handle, const QImage& picture) const;
    void Add(ThumbHandle handle, const QString& name, const QImage& picture);
    bool IsEmpty() const { return m_written.empty(); }

private:
    struct Written {
        QString name;
        size_t fingerprint = 0;
    };
    std::map<ThumbHandle, Written> m_written;
};

class PhotoExporter {
public:
    // progress(k, n): k photos of n are done. Called from the export threads.
    using Progress = std::function<void(int done, int total)>;

    PhotoExporter(const AlbumModel& album, const AlbumOutput& output);

    // Decides the exported name of album photo `index` and queues the work;
    // returns the photo's address for the configuration: "photo/" + name, or
    // in a preview the absolute path of an uncaptioned photo that needs no
    // conversion.
    QString ExportPhoto(int index, bool preview);

    // Writes the cached thumbnail of album photo `index` into the thumbs
    // folder (now: it is small) and returns its file name.
    QString WriteThumbnail(int index);

    // Makes the queued pictures, two at a time. False when a file could not be
    // written or the export was cancelled; Errors() then says which.
    bool Run(const Progress& progress = {}, const std::atomic<bool>* cancel = nullptr);
    const QStringList& Errors() const { return m_errors; }
    bool Cancelled() const { return m_cancelled; }

    // The caption box in picture coordinates for a display copy of w x h
    // pixels (at most 480 x 360): the canvas centring removed, then moved 2
    // down and shrunk by 4 on each side.
    static QRect MapCaptionBox(const CaptionBox& box, int width, int height);
    // Draws the caption's lines into its mapped box on the picture.
    static void RenderCaption(const Caption& caption, QImage& picture);
    // Writes the picture as JPEG (quality 75) whatever the path's extension;
    // a file that could not be written completely is removed.
    static bool SaveJpeg(const QString& path, const QImage& picture, QString* error = nullptr);

private:
    enum class Work { CopyDisplayCopy, DisplayCopyAsJpeg, CaptionOnDisplayCopy, FullSizeAsJpeg };
    struct Task {
        int index = 0;
        QString source; // the photo's current file
        QString target; // the exported file
        Work work = Work::CopyDisplayCopy;
    };

    bool perform(const Task& task, QString& error) const;
    // Writes the photo's fitted picture (its display copy's pixels) as the task says.
    bool exportPicture(const Task& task, QImage picture, QString& error) const;
    // Holds the name in the photo folder until its picture is written.
    void reserve(const QString& name);

    const AlbumModel& m_album;
    const AlbumOutput& m_output;
    std::vector<Task> m_tasks;
    QStringList m_errors;
    bool m_cancelled = false;
};
