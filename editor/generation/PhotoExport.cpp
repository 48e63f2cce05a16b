#include "editor/generation/PhotoExport.h"

#include "common/FileUtils.h"
#include "common/Parallel.h"
#include "editor/core/AlbumModel.h"
#include "editor/generation/BatchPhotos.h"
#include "editor/imaging/CaptionFont.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

// A name with its extension (after the last dot) replaced by ".jpg".
QString asJpegName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + QStringLiteral(".jpg");
}

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

// The extensions a thumbnail can be written under in the format they name.
bool thumbnailEncoderKnows(const QString& extension)
{
    static const QStringList known{QStringLiteral(".jpg"), QStringLiteral(".jpeg"), QStringLiteral(".jpe"),
                                   QStringLiteral(".jfif"), QStringLiteral(".png"), QStringLiteral(".gif"),
                                   QStringLiteral(".tif"), QStringLiteral(".tiff"), QStringLiteral(".bmp")};
    return known.contains(extension.toLower());
}

// Writes with the given encoder and checks every byte reached the disk: a
// short write surfaces only when the file is flushed.
bool writeImage(const QString& path, const QImage& picture, const char* format, int quality, QString* error)
{
    if (picture.isNull()) {
        *error = QStringLiteral("no picture");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(quality);
    const bool opaque = qstrcmp(format, "jpeg") == 0;
    const bool written = writer.write(opaque ? picture.convertToFormat(QImage::Format_RGB32) : picture);
    const bool flushed = written && file.flush();
    file.close();
    if (!flushed || file.error() != QFileDevice::NoError) {
        *error = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.remove();
        return false;
    }
    return true;
}

// The PNG compression of display copies (fast; see DisplayCopies).
constexpr int kDisplayCopyPngQuality = 80;

// Keeps a 64-bit coordinate inside the range a rectangle can hold.
int clampToInt(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT32_MIN / 4, INT32_MAX / 4));
}

QString errorText(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, reason);
}

} // namespace

WrittenThumbnails& WrittenThumbnails::Instance()
{
    static WrittenThumbnails set;
    return set;
}

namespace {
size_t fingerprintOf(const QImage& picture)
{
    if (picture.isNull())
        return 0;
    const size_t shape = qHashMulti(0, picture.width(), picture.height(), int(picture.format()));
    return qHashBits(picture.constBits(), size_t(picture.sizeInBytes()), shape);
}
} // namespace

QString WrittenThumbnails::NameOf(ThumbHandle handle) const
{
    const auto it = m_written.find(handle);
    return it == m_written.end() ? QString() : it->second.name;
}

bool WrittenThumbnails::IsCurrent(ThumbHandle handle, const QImage& picture) const
{
    const auto it = m_written.find(handle);
    return it != m_written.end() && it->second.fingerprint == fingerprintOf(picture);
}

void WrittenThumbnails::Add(ThumbHandle handle, const QString& name, const QImage& picture)
{
    m_written[handle] = Written{name, fingerprintOf(picture)};
}

PhotoExporter::PhotoExporter(const AlbumModel& album, const AlbumOutput& output) : m_album(album), m_output(output) {}

void PhotoExporter::reserve(const QString& name)
{
    QFile file(m_output.PhotoFolder() + name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.close();
}

QString PhotoExporter::ExportPhoto(int index, bool preview)
{
    const QString folder = m_output.PhotoFolder();
    const QString path = m_album.PathOf(index);
    QString name = FileUtils::LastComponent(path);
    const Caption* caption = m_album.Item(index).caption.get();

    if (preview && !caption) {
        if (!FileUtils::IsBitmap(name))
            return path; // played from where it lies
        name = asJpegName(name);
        if (QFileInfo::exists(folder + name))
            FileUtils::UniqueName(folder, name);
        reserve(name);
        m_tasks.push_back(Task{index, path, folder + name, Work::FullSizeAsJpeg});
        return QStringLiteral("photo/") + name;
    }

    if (QFileInfo::exists(folder + name))
        FileUtils::UniqueName(folder, name);
    Work work = Work::CopyDisplayCopy;
    if (caption && !caption->lines.isEmpty()) {
        work = Work::CaptionOnDisplayCopy; // JPEG data whatever the extension
        if (FileUtils::IsBitmap(name)) {
            name = asJpegName(name);
            if (QFileInfo::exists(folder + name))
                FileUtils::UniqueName(folder, name);
        }
    } else if (FileUtils::IsBitmap(name)) {
        work = Work::DisplayCopyAsJpeg;
        name = asJpegName(name);
        if (QFileInfo::exists(folder + name))
            FileUtils::UniqueName(folder, name);
    }
    reserve(name);
    m_tasks.push_back(Task{index, path, folder + name, work});
    return QStringLiteral("photo/") + name;
}

QString PhotoExporter::WriteThumbnail(int index)
{
    const QString folder = m_output.ThumbsFolder();
    const ThumbHandle handle = m_album.Photo(index)->thumbnail;
    QString file = FileUtils::LastComponent(m_album.PathOf(index));
    // A photo whose extension names no encoder (none at all, .ico, .wbmp,
    // "x.JPG.1") gets a JPEG thumbnail under a ".jpg" name.
    if (!thumbnailEncoderKnows(extensionOf(file)))
        file = extensionOf(file).isEmpty() ? file + QStringLiteral(".jpg") : asJpegName(file);
    const QString ext = extensionOf(file);
    const bool bitmap = ext.compare(QLatin1String(".bmp"), Qt::CaseInsensitive) == 0;
    QString name = QStringLiteral("thumb_") + file;
    WrittenThumbnails& written = WrittenThumbnails::Instance();
    const QImage picture = m_album.Thumbnails().PictureOf(handle);

    const QString earlier = written.NameOf(handle);
    const bool rewrite = !earlier.isEmpty() && QFileInfo::exists(folder + earlier);
    if (rewrite && written.IsCurrent(handle, picture))
        return earlier; // already written into this output
    if (rewrite) {
        // Written before the photo was edited: the same file gets the new picture.
        name = earlier;
    } else if (QFileInfo::exists(folder + name) || bitmap) {
        const QString base = name.left(name.size() - ext.size());
        for (int n = 0; n <= 99; ++n) {
            const QString candidate = base + QString::number(n) + ext;
            const QString target = bitmap ? asJpegName(candidate) : candidate;
            if (!QFileInfo::exists(folder + candidate) && !QFileInfo::exists(folder + target)) {
                name = candidate;
                break;
            }
        }
    }
    if (bitmap && !rewrite)
        name = asJpegName(name);

    const QString lower = extensionOf(name).toLower();
    bool ok = false;
    QString reason = QStringLiteral("write error");
    if (lower == QLatin1String(".jpg") || lower == QLatin1String(".jpeg"))
        ok = writeImage(folder + name, picture, "jpeg", 75, &reason);
    else if (lower == QLatin1String(".png"))
        ok = writeImage(folder + name, picture, "png", -1, &reason);
    else
        ok = ImageOps::SaveBitmapToFile(folder + name, picture);
    if (!ok)
        m_errors << errorText(QStringLiteral("cannot write the thumbnail"), folder + name, reason);
    written.Add(handle, name, picture);
    return name;
}

bool PhotoExporter::perform(const Task& task, QString& error) const
{
    if (task.work == Work::FullSizeAsJpeg) {
        const QImage picture = ImageOps::Decode(task.source);
        if (picture.isNull()) {
            QFile::remove(task.target);
            return true; // nothing to export: the slide names a missing file
        }
        if (QString reason; !SaveJpeg(task.target, picture, &reason)) {
            error = errorText(QStringLiteral("cannot write"), task.target, reason);
            return false;
        }
        return true;
    }

    // A batch run decoded the photo when it read the project and kept the
    // fitted picture: the same pixels the display copy would hold.
    if (auto* source = dynamic_cast<FittedPictureSource*>(&m_album.Thumbnails())) {
        if (std::optional<QImage> fitted = source->TakeFittedPicture(task.source))
            return exportPicture(task, std::move(*fitted), error);
    }

    const std::optional<DisplayRecord> record = DisplayCopies::Instance().DisplayRecordOf(task.source);
    if (!record || !QFileInfo::exists(record->copyPath)) {
        QFile::remove(task.target);
        if (!QFileInfo::exists(task.source))
            return true; // the photo has gone: the slide names a missing file
        // The photo is there but its display copy could not be made (a full
        // temporary folder, or the file no longer decodes).
        error = QStringLiteral("cannot prepare the photo %1").arg(task.source);
        return false;
    }
    if (task.work == Work::CopyDisplayCopy) {
        if (!FileUtils::CopyFile(task.target, record->copyPath)) {
            error = errorText(QStringLiteral("cannot write"), task.target,
                              QString::fromLocal8Bit(std::strerror(errno)));
            QFile::remove(task.target);
            return false;
        }
        return true;
    }
    QImageReader reader(record->copyPath);
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull()) {
        QFile::remove(task.target);
        return true;
    }
    return exportPicture(task, std::move(picture), error);
}

bool PhotoExporter::exportPicture(const Task& task, QImage picture, QString& error) const
{
    if (task.work == Work::CopyDisplayCopy) {
        // What the display copy file holds: the picture as PNG.
        if (QString reason; !writeImage(task.target, picture, "png", kDisplayCopyPngQuality, &reason)) {
            error = errorText(QStringLiteral("cannot write"), task.target, reason);
            return false;
        }
        return true;
    }
    if (task.work == Work::CaptionOnDisplayCopy) {
        if (const Caption* caption = m_album.Item(task.index).caption.get())
            RenderCaption(*caption, picture);
    }
    if (QString reason; !SaveJpeg(task.target, picture, &reason)) {
        error = errorText(QStringLiteral("cannot write"), task.target, reason);
        return false;
    }
    return true;
}

bool PhotoExporter::Run(const Progress& progress, const std::atomic<bool>* cancel)
{
    const int total = int(m_tasks.size());
    std::atomic<int> done{0};
    std::mutex errorsMutex;
    const int started = Parallel::For(
        total,
        [&](int i) {
            QString error;
            if (!perform(m_tasks[size_t(i)], error)) {
                std::lock_guard lock(errorsMutex);
                m_errors << error;
            }
            const int finished = done.fetch_add(1) + 1;
            if (progress)
                progress(finished, total);
        },
        cancel);

    // Names held for pictures that were never made do not stay behind.
    for (int i = started; i < total; ++i)
        QFile::remove(m_tasks[size_t(i)].target);
    m_cancelled = started < total;
    m_tasks.clear();
    return m_errors.isEmpty() && !m_cancelled;
}

QRect PhotoExporter::MapCaptionBox(const CaptionBox& box, int w, int h)
{
    constexpr int kW = 480;
    constexpr int kH = 360;
    int64_t left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    auto moveBy = [&](int64_t dx, int64_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    };
    auto scaleLeft = [&](float k) {
        const int64_t width = right - left;
        left = int64_t(double(k) * double(left));
        right = left + width;
    };
    auto scaleTop = [&](float k) {
        const int64_t height = bottom - top;
        top = int64_t(double(k) * double(top));
        bottom = top + height;
    };
    const float kw = float(w) / float(kW);
    const float kh = float(h) / float(kH);
    if (h < w && kw > 1) {
        scaleLeft(kw);
        moveBy(0, -(kH - int(float(h) / kw)) / 2);
        scaleTop(kw);
    } else if (h >= w && kh > 1) {
        scaleTop(kh);
        moveBy(-(kW - int(float(w) / kh)) / 2, 0);
        scaleLeft(kh);
    } else {
        moveBy((kW - w) / -2, (kH - h) / -2);
    }
    moveBy(0, 2);
    left += 4;
    top += 4;
    right -= 4;
    bottom -= 4;
    return QRect(QPoint(clampToInt(left), clampToInt(top)), QPoint(clampToInt(right) - 1, clampToInt(bottom) - 1));
}

void PhotoExporter::RenderCaption(const Caption& caption, QImage& picture)
{
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const QRect box = MapCaptionBox(caption.box, picture.width(), picture.height());
    if (box.isEmpty())
        return;
    QPainter painter(&picture);
    // A face that is not installed leaves the painter's own font.
    painter.setFont(CaptionFont::Make(caption.font, caption.size, painter.font()));
    const uint32_t c = caption.colour;
    painter.setPen(QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)));
    painter.setClipRect(box);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, caption.lines.join(QLatin1Char('\n')));
}

bool PhotoExporter::SaveJpeg(const QString& path, const QImage& picture, QString* error)
{
    QString ignored;
    return writeImage(path, picture, "jpeg", 75, error ? error : &ignored);
}
