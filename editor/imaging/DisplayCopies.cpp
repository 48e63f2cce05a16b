#include "editor/imaging/DisplayCopies.h"

#include "common/FileUtils.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>

using Guard = std::lock_guard<std::mutex>;

namespace {

// Made at once for the owner only, so no one else can read or replace it.
QString NewCopyName() { return FileUtils::CreateTempFile(QStringLiteral("~tmp"), QStringLiteral("jpg")); }

// Display copies are temporary and made whenever a photo is shown or
// exported: the fastest compression keeps them quick to write (about a sixth
// of the default's time) at about a quarter more bytes.
constexpr int kPngQuality = 80;

} // namespace

DisplayCopies::DisplayCopies() = default;

DisplayCopies::~DisplayCopies() { DeleteAll(); }

DisplayCopies& DisplayCopies::Instance()
{
    static DisplayCopies copies;
    return copies;
}

bool DisplayCopies::MakeDisplayCopy(const QString& path, bool show)
{
    DisplayRecord record;
    const QImage picture = ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true,
                                                      &record.scale, &record.width, &record.height);
    if (picture.isNull())
        return false;
    {
        Guard guard(m_mutex);
        if (show) {
            m_shown = picture;
            m_shownPath = path;
        }
        // Named under the lock and the name held by an empty file, so two
        // threads never pick one name; the picture is written outside the
        // lock, so that two threads encode at the same time.
        record.copyPath = NewCopyName();
        QFile claim(record.copyPath);
        if (record.copyPath.isEmpty() || !claim.open(QIODevice::WriteOnly))
            record.copyPath.clear();
    }
    const bool saved = !record.copyPath.isEmpty() && ImageOps::SaveBitmapAs(record.copyPath, picture, "png", kPngQuality);
    if (!record.copyPath.isEmpty()) {
        Guard guard(m_mutex);
        const bool entered = saved && m_records.emplace(path.toUtf8(), record).second;
        if (!entered)
            QFile::remove(record.copyPath); // not written, or made meanwhile: that one may be in use
    }
    if (show)
        emit ViewChanged();
    return saved;
}

void DisplayCopies::ShowPath(const QString& path, bool show, bool makeCurrent)
{
    std::optional<QString> copy;
    {
        Guard guard(m_mutex);
        if (makeCurrent)
            m_current = path;
        if (!show) {
            m_shown = QImage();
            m_shownPath.clear();
            return;
        }
        const auto it = m_records.find(path.toUtf8());
        if (it != m_records.end())
            copy = it->second.copyPath;
    }
    if (!copy) {
        if (!MakeDisplayCopy(path, true)) {
            // A photo that cannot be decoded shows nothing (black), not the
            // previous photo.
            {
                Guard guard(m_mutex);
                m_shown = QImage();
                m_shownPath.clear();
            }
            emit ViewChanged();
        }
    } else {
        const QImage picture = ImageOps::Decode(*copy); // black when it cannot be read
        {
            Guard guard(m_mutex);
            m_shown = picture;
            m_shownPath = picture.isNull() ? QString() : path;
        }
        emit ViewChanged();
    }
    emit PhotoChanged();
}

void DisplayCopies::ReloadPath(const QString& path)
{
    DisplayRecord record;
    const QImage picture = ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true,
                                                      &record.scale, &record.width, &record.height);
    {
        Guard guard(m_mutex);
        m_current = path;
        m_shown = picture;
        m_shownPath = picture.isNull() ? QString() : path;
        if (!picture.isNull()) {
            const auto it = m_records.find(path.toUtf8());
            if (it != m_records.end()) {
                ImageOps::SaveBitmapAs(it->second.copyPath, picture, "png", kPngQuality); // keeps its first scale and size
            } else {
                record.copyPath = NewCopyName();
                if (!record.copyPath.isEmpty() && ImageOps::SaveBitmapAs(record.copyPath, picture, "png", kPngQuality))
                    m_records.emplace(path.toUtf8(), record);
                else if (!record.copyPath.isEmpty())
                    QFile::remove(record.copyPath); // the name was claimed by an empty file
            }
        }
    }
    emit ViewChanged();
    emit PhotoChanged();
}

void DisplayCopies::ShowPreview(const QImage& picture)
{
    {
        Guard guard(m_mutex);
        m_shown = picture;
        m_shownPath.clear();
    }
    emit ViewChanged();
}

std::optional<DisplayRecord> DisplayCopies::DisplayRecordOf(const QString& path)
{
    const QByteArray key = path.toUtf8();
    {
        Guard guard(m_mutex);
        const auto it = m_records.find(key);
        if (it != m_records.end())
            return it->second;
    }
    MakeDisplayCopy(path, false);
    Guard guard(m_mutex);
    const auto it = m_records.find(key);
    if (it == m_records.end())
        return std::nullopt;
    return it->second;
}

void DisplayCopies::ForgetDisplayCopy(const QString& path)
{
    Guard guard(m_mutex);
    const auto it = m_records.find(path.toUtf8());
    if (it == m_records.end())
        return;
    QFile::remove(it->second.copyPath);
    m_records.erase(it);
}

void DisplayCopies::DeleteAll()
{
    Guard guard(m_mutex);
    for (const auto& entry : m_records)
        QFile::remove(entry.second.copyPath);
    m_records.clear();
    m_shown = QImage();
    m_shownPath.clear();
    m_current.clear();
}

void DisplayCopies::ClearView()
{
    DeleteAll();
    emit ViewChanged();
}

QImage DisplayCopies::ShownPicture() const
{
    Guard guard(m_mutex);
    return m_shown;
}

QImage DisplayCopies::ShownPhotoOf(const QString& path) const
{
    Guard guard(m_mutex);
    return !path.isEmpty() && path == m_shownPath ? m_shown : QImage();
}

QString DisplayCopies::CurrentPath() const
{
    Guard guard(m_mutex);
    return m_current;
}

int DisplayCopies::Count() const
{
    Guard guard(m_mutex);
    return int(m_records.size());
}
