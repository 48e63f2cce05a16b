// Fixtures for the imaging tests: pictures of known content in every format,
// damaged files, and a way to make a file unreadable that also works as root.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace ImagingTest {

// A picture with distinct areas (a gradient, a white disc, a dark bar), so that
// encoders and resampling have real content.
QImage Pattern(int width, int height, QColor tint = QColor(200, 120, 60));
// A red pupil (radius 12) in a blue-grey iris (radius 30) on a grey ground,
// centred at (cx, cy).
inline const QColor kPupil(200, 30, 30);
inline const QColor kIris(90, 110, 140);
QImage Eye(int width, int height, int cx, int cy);
// Writes the picture: ".gif" through the project's GIF writer, any other
// extension through Qt (JPEG at quality 90). Returns the path.
QString Write(const QString& path, const QImage& image);
// A folder of `count` photos named p1.jpg, p2.jpg ... of the given size.
QStringList WritePhotos(const QString& folder, int count, int width = 400, int height = 300);
// A JPEG whose EXIF data say "rotate 90 degrees clockwise" (orientation 6).
QString WriteJpegWithOrientation(const QString& path, int width, int height);
// The picture as a JPEG carrying the EXIF orientation tag (1 to 8).
QString WriteJpegWithOrientation(const QString& path, const QImage& stored, int orientation);

// The file's bytes and last-write time, to show that nothing of the user's was touched.
struct FileState {
    QByteArray bytes;
    uint64_t time = 0;
    bool operator==(const FileState&) const = default;
};
FileState StateOf(const QString& path);
// Sets the file's modification time (seconds since 1970).
void SetModificationTime(const QString& path, qint64 secondsSinceEpoch);
// That time in FILETIME units (100 ns since 1601).
uint64_t FileTimeOfSeconds(qint64 secondsSinceEpoch);

// The permission bits of the entry itself (a link is not followed); -1 when
// nothing is there.
int ModeOf(const QString& path);

// Files in the test's temporary folder (names only, sorted).
QStringList TempFiles();

// While alive, this thread cannot read files that only their owner may read:
// the file gets mode 0000 and, when the test runs as root (whose permission
// checks always pass), the thread's file-system user becomes "nobody", which
// drops root's override for this thread only. The temporary folder is opened
// up meanwhile so that the thread can still write working files there.
class ReadDenied {
public:
    explicit ReadDenied(const QString& path);
    ~ReadDenied();
    ReadDenied(const ReadDenied&) = delete;
    ReadDenied& operator=(const ReadDenied&) = delete;

private:
    QString m_path;
    bool m_asRoot = false;
    QStringList m_opened; // folders whose modes were widened
    QList<uint> m_modes;
};

} // namespace ImagingTest
