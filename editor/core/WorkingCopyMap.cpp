#include "editor/core/WorkingCopyMap.h"

#include "common/FileUtils.h"
#include "editor/imaging/ImageOps.h"

#include <QFile>
#include <QFileInfo>

WorkingCopyMap& WorkingCopyMap::Instance()
{
    static WorkingCopyMap map;
    return map;
}

QString WorkingCopyMap::NameFor(const QString& source)
{
    const QString name = FileUtils::LastComponent(source);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    return FileUtils::CreateTempFile(base, extension); // owner-only, made at once
}

QString WorkingCopyMap::MakeWorkingCopy(const QString& path, bool makeCurrent)
{
    if (!QFileInfo(path).isFile())
        return QString();
    const QString copy = NameFor(path);
    // A copy of a working copy (the snapshot that brightness and contrast
    // start from) keeps the picture as it is: the working copy was fitted
    // once, and fitting a copy turned on its side (360 x 480) again would
    // shrink it to 270 x 360.
    const QImage fitted = m_copies.count(path) != 0
                              ? ImageOps::Decode(path)
                              : ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true);
    if (copy.isEmpty() || !ImageOps::SaveBitmapToFile(copy, fitted)) {
        if (!copy.isEmpty())
            QFile::remove(copy);
        return QString();
    }
    m_copies[copy] = path;
    if (makeCurrent)
        m_current = copy;
    return copy;
}

bool WorkingCopyMap::IsWorkingCopy(const QString& path)
{
    if (m_copies.find(path) == m_copies.end())
        return false;
    m_current = path;
    return true;
}

QString WorkingCopyMap::SourceOf(const QString& path) const
{
    const auto it = m_copies.find(path);
    return it == m_copies.end() ? QString() : it->second;
}

QString WorkingCopyMap::CopyMadeFrom(const QString& path) const
{
    for (const auto& [copy, source] : m_copies)
        if (source == path)
            return copy;
    return QString();
}

void WorkingCopyMap::Discard(const QString& path)
{
    const auto it = m_copies.find(path);
    if (it == m_copies.end())
        return;
    QFile::remove(path);
    m_copies.erase(it);
    if (m_current == path)
        m_current.clear();
}

void WorkingCopyMap::DiscardAll()
{
    for (const auto& entry : m_copies)
        QFile::remove(entry.first);
    m_copies.clear();
    m_current.clear();
}
