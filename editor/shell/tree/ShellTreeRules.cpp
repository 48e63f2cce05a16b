#include "editor/shell/tree/ShellTreeRules.h"

#include "editor/imaging/ImageOps.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace ShellTreeRules {

namespace {
const QCollator& fileManagerCollator()
{
    // Opening a collator is costly, so each thread keeps one. The C locale
    // has no collation that knows numbers; English stands in for it.
    thread_local const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

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
    const int order = fileManagerCollator().compare(a, b);
    return order != 0 ? order < 0 : a < b;
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
