#include "player/PayloadUnpacker.h"

#include "common/AlbumPayload.h"
#include "common/FileUtils.h"
#include "common/ShellOrder.h"

#include <QFile>
#include <QIODevice>
#include <QStringDecoder>
#include <vector>

namespace {

constexpr qint64 kBufferSize = 256 * 1024;

// Reads the payload between its start and the trailer; every read is checked
// against that end before anything is read.
class PayloadReader {
public:
    PayloadReader(QIODevice& source, qint64 end) : m_source(source), m_end(end) {}

    qint64 Remaining() const { return m_end - m_source.pos(); }

    bool ReadU32(uint32_t& value)
    {
        char bytes[4];
        if (Remaining() < 4 || m_source.read(bytes, 4) != 4)
            return false;
        value = AlbumPayload::DecodeU32(bytes);
        return true;
    }

    bool ReadBytes(QByteArray& bytes, qint64 size)
    {
        if (size < 0 || Remaining() < size)
            return false;
        bytes.resize(size);
        return m_source.read(bytes.data(), size) == size;
    }

    QIODevice& Source() { return m_source; }

private:
    QIODevice& m_source;
    qint64 m_end;
};

using Status = CPayloadUnpacker::Status;

Status copyData(PayloadReader& reader, qint64 size, const QString& target, std::vector<char>& buffer)
{
    if (reader.Remaining() < size)
        return Status::Damaged;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return Status::WriteFailed;
    qint64 remaining = size;
    while (remaining > 0) {
        const qint64 piece = std::min<qint64>(remaining, qint64(buffer.size()));
        if (reader.Source().read(buffer.data(), piece) != piece)
            return Status::Unreadable;
        if (out.write(buffer.data(), piece) != piece)
            return Status::WriteFailed;
        remaining -= piece;
    }
    out.close();
    return out.error() == QFileDevice::NoError ? Status::Unpacked : Status::WriteFailed;
}

Status unpackGroup(PayloadReader& reader, const QString& folder, std::vector<char>& buffer, int& filesWritten)
{
    uint32_t count = 0;
    if (!reader.ReadU32(count))
        return Status::Damaged;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t nameLength = 0;
        if (!reader.ReadU32(nameLength) || nameLength == 0 || nameLength > AlbumPayload::kMaxNameBytes)
            return Status::Damaged;
        QByteArray name;
        if (!reader.ReadBytes(name, nameLength) || !CPayloadUnpacker::IsSafeName(name))
            return Status::Damaged;
        uint32_t dataLength = 0;
        if (!reader.ReadU32(dataLength))
            return Status::Damaged;
        const Status copied = copyData(reader, dataLength, folder + QString::fromUtf8(name), buffer);
        if (copied != Status::Unpacked)
            return copied;
        ++filesWritten;
    }
    return Status::Unpacked;
}

} // namespace

bool CPayloadUnpacker::IsSafeName(const QByteArray& name)
{
    if (name.isEmpty() || name.size() > qsizetype(AlbumPayload::kMaxNameBytes) || name == "." || name == "..")
        return false;
    if (name.contains('/') || name.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(name);
    return !decoder.hasError() && !decoded.isEmpty();
}

CPayloadUnpacker::Result CPayloadUnpacker::Unpack(QIODevice& source)
{
    Result result;
    const qint64 size = source.size();
    if (size < AlbumPayload::kTrailerSize)
        return result;
    char trailer[4];
    if (!source.seek(size - AlbumPayload::kTrailerSize) || source.read(trailer, 4) != 4) {
        result.status = Status::Unreadable;
        return result;
    }
    const qint64 payloadStart = AlbumPayload::DecodeU32(trailer);
    if (payloadStart == 0)
        return result;
    const qint64 payloadEnd = size - AlbumPayload::kTrailerSize;
    if (payloadStart > payloadEnd) {
        result.status = Status::Damaged;
        return result;
    }
    if (!source.seek(payloadStart)) {
        result.status = Status::Unreadable;
        return result;
    }

    // A numbered folder claimed atomically: two players started together get
    // different folders.
    const QString root = FileUtils::TemporaryFolder(true);
    if (root.isEmpty()) {
        result.status = Status::FolderFailed;
        return result;
    }
    for (const QString& sub : AlbumPayload::GroupFolders()) {
        const QString folder = root + sub;
        if (!FileUtils::MakePath(folder)) {
            result.status = Status::FolderFailed;
            return result;
        }
        result.folders.append(folder);
    }

    PayloadReader reader(source, payloadEnd);
    std::vector<char> buffer(kBufferSize);
    for (const QString& folder : std::as_const(result.folders)) {
        result.status = unpackGroup(reader, folder, buffer, result.filesWritten);
        if (result.status != Status::Unpacked)
            return result;
    }
    result.moviePath = FindMovie(root);
    return result;
}

CPayloadUnpacker::Result CPayloadUnpacker::UnpackFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.status = Status::Unreadable;
        return result;
    }
    return Unpack(file);
}

QString CPayloadUnpacker::FindMovie(const QString& rootFolder)
{
    const QString root = rootFolder.endsWith(QLatin1Char('/')) ? rootFolder : rootFolder + QLatin1Char('/');
    for (const QString& name : ShellOrder::PlainFiles(root)) {
        if (name.endsWith(QLatin1String(".js"), Qt::CaseSensitive))
            return root + name;
    }
    return QString();
}

void CPayloadUnpacker::RemoveFolders(const QStringList& folders)
{
    for (qsizetype i = folders.size() - 1; i >= 0; --i)
        FileUtils::RemoveEmptiedFolder(folders[i]);
}
