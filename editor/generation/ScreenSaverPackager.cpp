#include "editor/generation/ScreenSaverPackager.h"

#include "common/FileUtils.h"
#include "common/ResourceArea.h"

#include <QFile>
#include <QFileInfo>

namespace {
QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
} // namespace

CScreenSaverPackager::CScreenSaverPackager(QString appDir) : m_appDir(std::move(appDir)) {}

QString CScreenSaverPackager::TemplatePath() const { return withSlash(m_appDir) + QStringLiteral("album.scr"); }

QString CScreenSaverPackager::AlbumName(const QString& albumFolder) { return FileUtils::LastComponent(albumFolder); }

QString CScreenSaverPackager::TargetPath(const QString& albumFolder)
{
    return withSlash(albumFolder) + withoutExtension(AlbumName(albumFolder)) + QStringLiteral(".scr");
}

QByteArray CScreenSaverPackager::NameBlock(const QString& albumName)
{
    return ResourceArea::StringBlock({QString(), albumName, albumName + QStringLiteral(".js")});
}

CScreenSaverPackager::Result CScreenSaverPackager::Package(const QString& albumFolder) const
{
    Result result;
    result.path = TargetPath(albumFolder);
    // The screen-saver program itself is never renamed into an album.
    const QString templateFile = QFileInfo(TemplatePath()).canonicalFilePath();
    if (!templateFile.isEmpty() && QFileInfo(result.path).canonicalFilePath() == templateFile)
        return result;
    if (!FileUtils::CopyFile(result.path, TemplatePath())) {
        // A copy cut short (a full disk) would be a program that cannot run.
        if (QFileInfo(TemplatePath()).isFile())
            QFile::remove(result.path);
        return result;
    }
    QFile::setPermissions(result.path, QFile::permissions(result.path) | QFileDevice::ExeOwner | QFileDevice::ExeUser
                                           | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    result.ok = ResourceArea::ReplaceBlock(result.path, NameBlock(AlbumName(albumFolder)));
    return result;
}
