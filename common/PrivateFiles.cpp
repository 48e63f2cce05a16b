#include "common/PrivateFiles.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Checks what was opened and makes it owner-only; closes it when refused. A
// file this call made is ours whatever the owner check says (a thread may
// create files under another file-system user than the process's).
bool Admit(PrivateFile& result)
{
    struct stat st {};
    if (::fstat(result.handle, &st) != 0) {
        result.error = SystemError(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result.error = QStringLiteral("it is not a regular file");
    } else if (!result.created && st.st_uid != ::geteuid()) {
        result.error = QStringLiteral("it belongs to another user");
    } else if ((st.st_mode & 07777) != (S_IRUSR | S_IWUSR) && ::fchmod(result.handle, S_IRUSR | S_IWUSR) != 0) {
        result.error = SystemError(errno);
    } else {
        // Opened without waiting, in case a pipe stood at the path; reads and
        // writes of the regular file wait as usual.
        const int flags = ::fcntl(result.handle, F_GETFL);
        if (flags != -1)
            ::fcntl(result.handle, F_SETFL, flags & ~O_NONBLOCK);
        return true;
    }
    ::close(result.handle);
    result.handle = -1;
    result.existed = !result.created;
    result.created = false;
    return false;
}

} // namespace

PrivateFile OpenPrivateFile(const QString& path, PrivateOpen how)
{
    PrivateFile result;
    const QByteArray native = QFile::encodeName(path);
    constexpr int kBase = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    if (how != PrivateOpen::Existing) {
        result.handle = ::open(native.constData(), kBase | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
        if (result.handle >= 0) {
            result.created = true;
            Admit(result);
            return result;
        }
        if (errno != EEXIST || how == PrivateOpen::CreateNew) {
            result.existed = errno == EEXIST;
            result.error = errno == EEXIST ? QStringLiteral("the name is taken") : SystemError(errno);
            return result;
        }
    }
    result.handle = ::open(native.constData(), kBase);
    if (result.handle < 0) {
        const int error = errno;
        result.existed = error != ENOENT && error != ENOTDIR;
        result.error = error == ELOOP ? QStringLiteral("it is a symbolic link") : SystemError(error);
        return result;
    }
    Admit(result);
    return result;
}

int DuplicateHandle(int handle) { return handle < 0 ? -1 : ::fcntl(handle, F_DUPFD_CLOEXEC, 0); }

void CloseHandle(int handle)
{
    if (handle >= 0)
        ::close(handle);
}

QByteArray ReadAt(int handle, qint64 offset, qint64 size)
{
    QByteArray bytes;
    if (handle < 0 || offset < 0 || size <= 0)
        return bytes;
    bytes.resize(qsizetype(size));
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(handle, bytes.data() + got, size_t(size - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.resize(qsizetype(got));
    return bytes;
}

} // namespace Platform
