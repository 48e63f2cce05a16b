#include "editor/shell/storyboard/StoryboardDrop.h"

#include "common/ShellOrder.h"
#include "editor/imaging/ImageOps.h"

#include <QDir>
#include <QFileInfo>
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
    const QDir dir(folder);
    QStringList photos;
    for (const QString& name : ShellOrder::PlainFiles(folder))
        if (ImageOps::IsPhotoFile(name))
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
