// Small helpers shared by the tests.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

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

// An album folder as generation leaves it, made from a template of the build
// tree: ROOT/NAME.js (the template's movie), ROOT/NAME.xml (its configuration,
// every slide staying `phototime` seconds) and the template's sample photos,
// thumbnails and music in ROOT/photo/, ROOT/thumbs/ and ROOT/res/. Returns the
// photos in album order (full paths); empty when the template is missing.
QStringList WriteTemplateAlbum(const QString& root, const QString& name, int phototime,
                               const QString& templateFolder = QStringLiteral("Classic"));

// Which of `photos` the picture in `area` of `screen` shows: the index of the
// one whose middle, in a grid of average colours, is nearest to the middle of
// the area; -1 without photos. `distances` receives every photo's distance.
int NearestPhoto(const QImage& screen, const QRect& area, const QStringList& photos,
                 QList<double>* distances = nullptr);

// Keeps a screenshot for a person to look at: when KELVANA_TEST_SCREENSHOTS
// names a folder, the picture is saved there as NAME.png.
// The mean absolute difference of the colour channels of two pictures of the
// same size; a huge value when the sizes differ or a picture is null.
double MeanDifference(const QImage& a, const QImage& b);

void KeepScreenshot(const QImage& picture, const QString& name);

} // namespace TestSupport

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
