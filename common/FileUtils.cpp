#include "common/FileUtils.h"

#include "common/PrivateFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace FileUtils {

namespace {

fs::path nativePath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

// Plain files are regular files (or links to them); sockets, devices and
// pipes count as system files and are skipped.
bool isPlainFile(const QFileInfo& info) { return info.isFile(); }

} // namespace

bool IsValidPath(const QString& path)
{
    if (path.size() <= 1 || !path.startsWith(QLatin1Char('/')))
        return false;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
        switch (c.unicode()) {
        case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return false;
        default: break;
        }
        if (i >= 1 && c == QLatin1Char('/') && path[i - 1] == QLatin1Char('/'))
            return false;
    }
    return true;
}

bool MakePath(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!IsValidPath(path))
        return false;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += QLatin1Char('/') + part;
        if (QFileInfo(current).isDir())
            continue;
        if (::mkdir(QFile::encodeName(current).constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (!QFileInfo(current).isDir())
            return false;
    }
    return true;
}

void ClearReadOnly(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && !S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        ::chmod(native.constData(), (st.st_mode & 07777) | S_IWUSR);
}

bool CopyFile(const QString& to, const QString& from)
{
    // A file copied onto itself (the same file under another path, a link or
    // a hard link to it) is already where it should be: overwriting would
    // truncate the source it reads from.
    std::error_code same;
    if (fs::exists(nativePath(to), same) && fs::equivalent(nativePath(from), nativePath(to), same) && !same)
        return true;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (QFileInfo::exists(to))
            ClearReadOnly(to);
        std::error_code ec;
        if (fs::copy_file(nativePath(from), nativePath(to), fs::copy_options::overwrite_existing, ec) && !ec)
            return true;
        QThread::msleep(1);
    }
    return false;
}

bool CopyFolderFiles(const QString& from, const QString& to, bool keepExisting)
{
    if (!QFileInfo(from).isDir() || !QFileInfo(to).isDir())
        return false;
    const QString target = to.endsWith(QLatin1Char('/')) ? to : to + QLatin1Char('/');
    QDir dir(from);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (!isPlainFile(info))
            continue;
        const QString dest = target + info.fileName();
        if (keepExisting && QFileInfo::exists(dest))
            continue;
        CopyFile(dest, info.absoluteFilePath());
    }
    return true;
}

void EmptyFolder(const QString& folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries) {
        if (!info.isFile() && !info.isSymLink())
            continue; // entries that are neither files nor folders stay
        ClearReadOnly(info.absoluteFilePath());
        QFile::remove(info.absoluteFilePath());
    }
}

bool DeleteTree(const QString& folder)
{
    const fs::path root = nativePath(folder);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(root, ec)))
        return true;
    // Deleting an entry needs write permission on its folder, so every folder
    // is made writable before its content goes.
    ClearReadOnly(folder);
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            ClearReadOnly(QFile::decodeName(it->path().c_str()));
    }
    fs::remove_all(root, ec);
    return !ec && !fs::exists(fs::symlink_status(root, ec));
}

void RemoveEmptiedFolder(const QString& folder)
{
    EmptyFolder(folder);
    ClearReadOnly(folder);
    QDir().rmdir(folder);
}

QString TempDir()
{
    // Qt gives an empty path when TMPDIR names a missing folder. The current
    // folder is no place for temporary files (it may be a source tree or a
    // read-only program folder), so the system's own temporary folder stands in.
    QString temp = QDir::tempPath();
    if (temp.isEmpty())
        temp = QStringLiteral("/tmp");
    if (!temp.endsWith(QLatin1Char('/')))
        temp += QLatin1Char('/');
    return temp;
}

QString MakeTempPath(const QString& base, const QString& extension)
{
    const QString folder = TempDir();
    for (int n = 0; n < 2147483647; ++n) {
        const QString candidate = folder + base + QString::number(n) + QLatin1Char('.') + extension;
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
    return QString();
}

QString CreateTempFile(const QString& base, const QString& extension)
{
    const QString folder = TempDir();
    for (int n = 0; n < 2147483647; ++n) {
        const QString candidate = folder + base + QString::number(n) + QLatin1Char('.') + extension;
        const Platform::PrivateFile file = Platform::OpenPrivateFile(candidate, Platform::PrivateOpen::CreateNew);
        if (file.handle >= 0) {
            Platform::CloseHandle(file.handle);
            return candidate;
        }
        if (!file.existed)
            return QString(); // the folder refuses new files
    }
    return QString();
}

QString TemporaryFolder(bool create)
{
    const QString folder = TempDir();
    for (int n = 0; n < 1000000; ++n) {
        const QString candidate = folder + QString::number(n);
        if (!create) {
            if (!QFileInfo::exists(candidate))
                return candidate + QLatin1Char('/');
            continue;
        }
        if (::mkdir(QFile::encodeName(candidate).constData(), 0777) == 0)
            return candidate + QLatin1Char('/');
        if (errno != EEXIST)
            return QString();
    }
    return QString();
}

bool UniqueName(const QString& folder, QString& name)
{
    const QStringList parts = name.split(QLatin1Char('.'));
    const QString base = parts.value(0);
    const QString ext = parts.value(1);
    const QString dir = folder.endsWith(QLatin1Char('/')) || folder.isEmpty() ? folder : folder + QLatin1Char('/');
    for (int n = 1; n <= 100; ++n) {
        const QString candidate = base + QString::number(n) + QLatin1Char('.') + ext;
        if (!QFileInfo::exists(dir + candidate)) {
            name = candidate;
            return true;
        }
    }
    return false;
}

bool IsBitmap(const QString& path)
{
    return path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

QString LastComponent(const QString& path)
{
    QString p = path;
    if (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

uint64_t FileTimeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    const int64_t seconds = int64_t(st.st_mtim.tv_sec) + kSecondsFrom1601To1970;
    return uint64_t(seconds) * 10000000ULL + uint64_t(st.st_mtim.tv_nsec / 100);
}

} // namespace FileUtils
