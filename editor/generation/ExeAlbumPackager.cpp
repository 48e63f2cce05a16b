#include "editor/generation/ExeAlbumPackager.h"

#include "common/AlbumPayload.h"
#include "common/FileUtils.h"
#include "common/ShellOrder.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <vector>

namespace {

bool writeAll(QFileDevice& out, const char* data, qint64 size) { return out.write(data, size) == size; }
bool writeAll(QFileDevice& out, const QByteArray& bytes) { return writeAll(out, bytes.constData(), bytes.size()); }

enum class EntryResult { Stored, Skipped, WriteFailed };

constexpr qint64 kHeaderRoom = 4 + qint64(AlbumPayload::kMaxNameBytes) + 4;

// Reads up to `size` bytes; fewer only at the end of the file or on an error.
qint64 readFully(QFile& in, char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 got = in.read(data + done, size - done);
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

void putU32(char* at, uint32_t value)
{
    const QByteArray bytes = AlbumPayload::EncodeU32(value);
    std::copy(bytes.begin(), bytes.end(), at);
}

// Appends one entry for the file; a file that cannot be opened, is too large
// for the 32-bit length or ends before its announced size leaves the target
// as it was. The entry's head goes out with its first piece of data, so a
// small file costs one write.
EntryResult writeEntry(QFileDevice& out, const QString& path, const QString& name, std::vector<char>& buffer)
{
    const QByteArray nameBytes = QFile::encodeName(name);
    if (nameBytes.isEmpty() || uint32_t(nameBytes.size()) > AlbumPayload::kMaxNameBytes)
        return EntryResult::Skipped;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return EntryResult::Skipped;
    const qint64 size = in.size();
    if (size < 0 || size > qint64(std::numeric_limits<uint32_t>::max()))
        return EntryResult::Skipped;

    char* head = buffer.data();
    putU32(head, uint32_t(nameBytes.size()));
    std::copy(nameBytes.begin(), nameBytes.end(), head + 4);
    putU32(head + 4 + nameBytes.size(), uint32_t(size));
    const qint64 headSize = 4 + nameBytes.size() + 4;
    const qint64 first = std::min(size, AlbumPayload::kCopyChunk);
    if (readFully(in, head + headSize, first) != first)
        return EntryResult::Skipped;
    const qint64 entryStart = out.pos();
    if (!writeAll(out, head, headSize + first))
        return EntryResult::WriteFailed;

    char* data = buffer.data() + kHeaderRoom;
    for (qint64 remaining = size - first; remaining > 0;) {
        const qint64 piece = std::min(remaining, AlbumPayload::kCopyChunk);
        if (readFully(in, data, piece) != piece) {
            // The file shrank or became unreadable: take the entry back out.
            if (!out.resize(entryStart) || !out.seek(entryStart))
                return EntryResult::WriteFailed;
            return EntryResult::Skipped;
        }
        if (!writeAll(out, data, piece))
            return EntryResult::WriteFailed;
        remaining -= piece;
    }
    return EntryResult::Stored;
}

} // namespace

CExeAlbumPackager::CExeAlbumPackager(FolderAlbumGenerator generate, QString appDir)
    : m_generate(std::move(generate)), m_appDir(std::move(appDir))
{
}

QString CExeAlbumPackager::TemplatePath(const QString& appDir)
{
    const QString dir = appDir.endsWith(QLatin1Char('/')) ? appDir : appDir + QLatin1Char('/');
    return dir + QStringLiteral("Sources/Player");
}

QString CExeAlbumPackager::TemplatePath() const { return TemplatePath(m_appDir); }

bool CExeAlbumPackager::WriteGroup(QFileDevice& out, const QString& folder, const QStringList& names)
{
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const qint64 countPosition = out.pos();
    if (!writeAll(out, AlbumPayload::EncodeU32(0)))
        return false;
    std::vector<char> buffer(size_t(kHeaderRoom + AlbumPayload::kCopyChunk));
    uint32_t stored = 0;
    for (const QString& name : names) {
        switch (writeEntry(out, dir + name, name, buffer)) {
        case EntryResult::Stored: ++stored; break;
        case EntryResult::Skipped: break;
        case EntryResult::WriteFailed: return false;
        }
    }
    const qint64 endPosition = out.pos();
    return out.seek(countPosition) && writeAll(out, AlbumPayload::EncodeU32(stored)) && out.seek(endPosition);
}

bool CExeAlbumPackager::WriteExecutable(const QString& target, const QString& templatePath, const AlbumOutput& album)
{
    // The player program itself is never made into an album.
    const QString templateFile = QFileInfo(templatePath).canonicalFilePath();
    if (!templateFile.isEmpty() && QFileInfo(target).canonicalFilePath() == templateFile)
        return false;
    if (!FileUtils::CopyFile(target, templatePath)) {
        // A copy cut short (a full disk) would be a program that cannot run.
        if (QFileInfo(templatePath).isFile())
            QFile::remove(target);
        return false;
    }
    QFile out(target);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 templateSize = out.size();
    bool written = templateSize <= qint64(std::numeric_limits<uint32_t>::max()) && out.seek(templateSize);
    for (int group = 0; written && group < AlbumPayload::kGroupCount; ++group) {
        const QString& folder = album.folders[size_t(group)];
        written = WriteGroup(out, folder, ShellOrder::PlainFiles(folder));
    }
    written = written && writeAll(out, AlbumPayload::EncodeU32(uint32_t(templateSize))) && out.flush();
    out.close();
    written = written && out.error() == QFileDevice::NoError;
    if (!written) {
        // A half-written album would not play; leave nothing behind.
        QFile::remove(target);
        return false;
    }
    const QFileDevice::Permissions readable = out.permissions();
    QFileDevice::Permissions executable = readable | QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (readable & QFileDevice::ReadGroup)
        executable |= QFileDevice::ExeGroup;
    if (readable & QFileDevice::ReadOther)
        executable |= QFileDevice::ExeOther;
    out.setPermissions(executable);
    return true;
}

bool CExeAlbumPackager::PackageAlbum(const QString& target)
{
    m_error.clear();
    const QString folder = FileUtils::TemporaryFolder(true);
    if (folder.isEmpty()) {
        m_error = QStringLiteral("cannot create a temporary folder in %1").arg(FileUtils::TempDir());
        return false;
    }
    const std::optional<AlbumOutput> album = m_generate ? m_generate(folder, false) : std::nullopt;
    if (!album) {
        // What a cancelled or failed generation wrote is of no use to anyone.
        FileUtils::DeleteTree(folder);
        return false;
    }
    const QString playerTemplate = TemplatePath();
    if (!QFileInfo(playerTemplate).isFile()) {
        m_error = QStringLiteral("the player program %1 is missing").arg(playerTemplate);
        return false;
    }
    if (!WriteExecutable(target, playerTemplate, *album)) {
        m_error = QStringLiteral("cannot write the executable %1").arg(target);
        return false;
    }
    for (int i = AlbumPayload::kGroupCount - 1; i >= 0; --i)
        FileUtils::RemoveEmptiedFolder(album->folders[size_t(i)]);
    return true;
}
