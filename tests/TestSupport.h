// Small helpers shared by the tests.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace TestSupport {

// The test process's own temporary folder (TMPDIR), with a trailing "/".
QString TempDir();
// A fresh empty folder inside the temporary folder.
QString MakeFolder(const QString& name);
// Writes a picture of the given size (a gradient with a few shapes, so that
// encoders have real content) in the format the extension names.
QString WritePhoto(const QString& path, int width, int height, QColor tint = QColor(200, 120, 60));
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);
// The build tree's runnable folder (Kelvana, album.scr, Sources/).
QString AppDir();
// The tests' own data folder (tests/ in the source tree).
QString DataDir();

} // namespace TestSupport

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
