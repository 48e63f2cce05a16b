#include "editor/generation/OutputPlace.h"

#include "common/FileUtils.h"
#include "editor/catalogues/Catalogues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// The path with links resolved as far as it exists; the part that does not
// exist yet is appended as written.
QString resolved(const QString& path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return QDir::cleanPath(path);
        rest = existing.mid(slash) + rest;
        existing = existing.left(slash);
    }
    const QString canonical = QFileInfo(existing.isEmpty() ? QStringLiteral("/") : existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

bool isInside(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return path == folder || path.startsWith(folder == QLatin1String("/") ? folder : folder + QLatin1Char('/'));
}

// The folders of the program's data: Sources beside the program and beside
// the loaded catalogue, and every template's own folder.
QStringList protectedFolders()
{
    QStringList folders;
    const TemplateCatalogue& templates = TemplateCatalogue::instance();
    const QString catalogue = templates.Folder(); // .../Sources/Templates/Previews/
    if (!catalogue.isEmpty())
        folders << QDir::cleanPath(catalogue + QStringLiteral("/../.."));
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath() + QStringLiteral("/Sources");
    for (int i = 0; i < templates.Count(); ++i)
        folders << FileUtils::FolderOf(templates.Entry(i).moviePath);
    return folders;
}

} // namespace

namespace OutputPlace {

QString RefusalFor(const QString& path)
{
    const QString target = resolved(path);
    for (const QString& folder : protectedFolders()) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        if (isInside(target, resolved(folder)))
            return QStringLiteral("%1 is inside %2, which holds the program's templates; choose an output "
                                  "elsewhere")
                .arg(path, QDir::cleanPath(folder));
    }
    return QString();
}

QString InvalidPathReason(const QString& path)
{
    if (FileUtils::IsValidPath(path))
        return QString();
    if (path.size() <= 1 || !path.startsWith(QLatin1Char('/')))
        return QStringLiteral("the path is not a full path");
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c < 0x20 || c == 0x7f)
            return QStringLiteral("the path holds the control character %1").arg(int(c));
        if (QStringView(u"\\:*?\"<>|").contains(QChar(c)))
            return QStringLiteral("the character \"%1\" is not allowed in a path (it is not allowed on other "
                                  "systems that albums are copied to)")
                .arg(QChar(c));
        if (i >= 1 && c == u'/' && path[i - 1] == QLatin1Char('/'))
            return QStringLiteral("the path holds an empty folder name (\"//\")");
    }
    return QStringLiteral("the path is not allowed");
}

} // namespace OutputPlace
