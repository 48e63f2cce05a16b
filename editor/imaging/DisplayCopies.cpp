#include "editor/imaging/DisplayCopies.h"

#include "common/FileUtils.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>

using Guard = std::lock_guard<std::mutex>;

namespace {

QString NewCopyName() { return FileUtils::MakeTempPath(QStringLiteral("~tmp"), QStringLiteral("jpg")); }

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
    bool saved = false;
    {
        Guard guard(m_mutex);
        if (show)
            m_shown = picture;
        // Named and written under the lock, so two threads never pick one name.
        record.copyPath = NewCopyName();
        saved = !record.copyPath.isEmpty() && ImageOps::SaveBitmapAs(record.copyPath, picture, "png");
        if (saved) {
            const auto inserted = m_records.emplace(path.toUtf8(), record);
            if (!inserted.second)
                QFile::remove(record.copyPath); // made meanwhile: its file may be in use
        }
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
            }
            emit ViewChanged();
        }
    } else {
        const QImage picture = ImageOps::Decode(*copy); // black when it cannot be read
        {
            Guard guard(m_mutex);
            m_shown = picture;
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
        if (!picture.isNull()) {
            const auto it = m_records.find(path.toUtf8());
            if (it != m_records.end()) {
                ImageOps::SaveBitmapAs(it->second.copyPath, picture, "png"); // keeps its first scale and size
            } else {
                record.copyPath = NewCopyName();
                if (!record.copyPath.isEmpty() && ImageOps::SaveBitmapAs(record.copyPath, picture, "png"))
                    m_records.emplace(path.toUtf8(), record);
            }
        }
    }
    emit ViewChanged();
    emit PhotoChanged();
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
