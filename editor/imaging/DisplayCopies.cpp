#include "editor/imaging/DisplayCopies.h"

#include "common/FileUtils.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>
#include <QImageWriter>

DisplayCopies& DisplayCopies::Instance()
{
    static DisplayCopies copies;
    return copies;
}

bool DisplayCopies::MakeDisplayCopy(const QString& path, bool)
{
    DisplayRecord record;
    const QImage fitted = ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true,
                                                     &record.scale, &record.width, &record.height);
    if (fitted.isNull())
        return false;
    std::lock_guard lock(m_mutex);
    record.copyPath = FileUtils::MakeTempPath(QStringLiteral("~tmp"), QStringLiteral("jpg"));
    QImageWriter writer(record.copyPath, "png");
    if (!writer.write(fitted))
        return false;
    m_records[path] = record;
    return true;
}

void DisplayCopies::ShowPath(const QString& path, bool show, bool)
{
    if (show && !DisplayRecordOf(path))
        MakeDisplayCopy(path, show);
}

void DisplayCopies::ReloadPath(const QString& path)
{
    ForgetDisplayCopy(path);
    MakeDisplayCopy(path, true);
}

std::optional<DisplayRecord> DisplayCopies::DisplayRecordOf(const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (const auto it = m_records.find(path); it != m_records.end())
            return it->second;
    }
    if (!MakeDisplayCopy(path, false))
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    return m_records[path];
}

void DisplayCopies::ForgetDisplayCopy(const QString& path)
{
    std::lock_guard lock(m_mutex);
    if (const auto it = m_records.find(path); it != m_records.end()) {
        QFile::remove(it->second.copyPath);
        m_records.erase(it);
    }
}

void DisplayCopies::ClearView()
{
    std::lock_guard lock(m_mutex);
    for (const auto& entry : m_records)
        QFile::remove(entry.second.copyPath);
    m_records.clear();
}
