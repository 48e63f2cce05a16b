#include "editor/shell/tree/ShellTreeRules.h"

#include "common/ShellOrder.h"
#include "editor/imaging/ImageOps.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace ShellTreeRules {

namespace {
void collect(const QString& folder, bool withSubFolders, QSet<QString>& visited, QStringList& photos)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    // Without QDir::Hidden and QDir::System the listing leaves out dot
    // entries, pipes, sockets, devices and broken links.
    QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(entries.begin(), entries.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return NameLess(a.fileName(), b.fileName()); });
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(QLatin1Char('.')))
            continue;
        if (entry.isDir()) {
            if (withSubFolders)
                collect(entry.filePath(), true, visited, photos);
        } else if (ImageOps::IsPhotoFile(entry.filePath())) {
            photos << entry.filePath();
        }
    }
}
} // namespace

bool NameLess(const QString& a, const QString& b)
{
    return ShellOrder::Less(a, b);
}

QStringList FolderPhotos(const QString& folder, bool withSubFolders)
{
    QStringList photos;
    if (!QFileInfo(folder).isDir())
        return photos;
    QSet<QString> visited;
    collect(QDir::cleanPath(folder), withSubFolders, visited, photos);
    return photos;
}

} // namespace ShellTreeRules
