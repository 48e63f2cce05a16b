#include "editor/shell/storyboard/StoryboardDrop.h"

#include "editor/imaging/ImageOps.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace StoryboardDrop {

QStringList LocalPaths(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

QStringList FolderPhotos(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files);
    QStringList names;
    for (const QFileInfo& entry : entries)
        if (ImageOps::IsPhotoFile(entry.fileName()))
            names << entry.fileName();
    // The C locale compares code points and ignores the numeric mode; file
    // managers sort naturally whatever the locale, so English rules stand in.
    const QLocale locale = QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b; // names equal but for case: a stable order
    });
    const QDir dir(folder);
    QStringList photos;
    for (const QString& name : names)
        photos << dir.filePath(name);
    return photos;
}

QStringList PhotosOf(const QStringList& paths)
{
    QStringList photos;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            photos << FolderPhotos(path);
        else if (info.isFile() && ImageOps::IsPhotoFile(path))
            photos << path;
    }
    return photos;
}

bool MayHoldPhotos(const QStringList& paths)
{
    return std::any_of(paths.begin(), paths.end(), [](const QString& path) {
        const QFileInfo info(path);
        return info.isDir() || (info.isFile() && ImageOps::IsPhotoFile(path));
    });
}

} // namespace StoryboardDrop
