#include "tests/imaging/ImagingTestSupport.h"

#include "common/FileUtils.h"
#include "editor/imaging/GifWriter.h"
#include "tests/TestSupport.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace ImagingTest {

QImage Pattern(int width, int height, QColor tint)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, tint);
    gradient.setColorAt(1, tint.darker(300));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
    painter.setBrush(QColor(20, 30, 40));
    painter.drawRect(QRect(0, height - std::max(1, height / 8), width / 3 + 1, std::max(1, height / 8)));
    painter.end();
    return image;
}

QImage Eye(int width, int height, int cx, int cy)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(120, 200, 200));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kIris);
    painter.drawEllipse(QPoint(cx, cy), 30, 30);
    painter.setBrush(kPupil);
    painter.drawEllipse(QPoint(cx, cy), 12, 12);
    painter.end();
    return image;
}

QString Write(const QString& path, const QImage& image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
        TestSupport::WriteAll(path, GifWriter::Encode(image));
        return path;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    image.save(path, nullptr, suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? 90 : -1);
    return path;
}

QStringList WritePhotos(const QString& folder, int count, int width, int height)
{
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << Write(folder + QStringLiteral("/p%1.jpg").arg(i),
                       Pattern(width, height, QColor::fromHsv((i * 47) % 360, 200, 220)));
    return paths;
}

QString WriteJpegWithOrientation(const QString& path, int width, int height)
{
    return WriteJpegWithOrientation(path, Pattern(width, height), 6);
}

QString WriteJpegWithOrientation(const QString& path, const QImage& stored, int orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "jpeg", 95);
    // APP1 "Exif": a little-endian TIFF header and one IFD entry 0x0112 (SHORT).
    const QByteArray entry = QByteArray("\x12\x01\x03\0\x01\0\0\0", 8) + char(orientation) + QByteArray(3, '\0');
    const QByteArray tiff = QByteArray("II*\0", 4) + QByteArray("\x08\0\0\0", 4) + QByteArray("\x01\0", 2) + entry
                            + QByteArray(4, '\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    QDir().mkpath(QFileInfo(path).absolutePath());
    TestSupport::WriteAll(path, jpeg.left(2) + app1 + jpeg.mid(2));
    return path;
}

FileState StateOf(const QString& path)
{
    return FileState{TestSupport::ReadAll(path), FileUtils::FileTimeOf(path)};
}

void SetModificationTime(const QString& path, qint64 secondsSinceEpoch)
{
    struct utimbuf times {};
    times.actime = time_t(secondsSinceEpoch);
    times.modtime = time_t(secondsSinceEpoch);
    ::utime(QFile::encodeName(path).constData(), &times);
}

uint64_t FileTimeOfSeconds(qint64 secondsSinceEpoch)
{
    return uint64_t(secondsSinceEpoch + 11644473600LL) * 10000000ULL;
}

int ModeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QStringList TempFiles()
{
    QStringList names = QDir(TestSupport::TempDir()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

ReadDenied::ReadDenied(const QString& path) : m_path(path), m_asRoot(::geteuid() == 0)
{
    ::chmod(QFile::encodeName(path).constData(), 0);
    if (!m_asRoot)
        return;
    // Every folder from the temporary folder up must let "nobody" through, and
    // the temporary folder itself must let it write.
    QString folder = QDir(TestSupport::TempDir()).absolutePath();
    bool first = true;
    while (!folder.isEmpty() && folder != QLatin1String("/")) {
        struct stat st {};
        if (::stat(QFile::encodeName(folder).constData(), &st) == 0) {
            m_opened << folder;
            m_modes << uint(st.st_mode & 07777);
            ::chmod(QFile::encodeName(folder).constData(), first ? 01777 : (st.st_mode & 07777) | 0111);
        }
        first = false;
        folder = QFileInfo(folder).path();
    }
    ::setfsuid(65534);
}

ReadDenied::~ReadDenied()
{
    if (m_asRoot) {
        ::setfsuid(0);
        for (qsizetype i = 0; i < m_opened.size(); ++i)
            ::chmod(QFile::encodeName(m_opened[i]).constData(), m_modes[i]);
    }
    ::chmod(QFile::encodeName(m_path).constData(), 0644);
}

} // namespace ImagingTest
