#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace TestSupport {

QString TempDir()
{
    QString temp = QDir::tempPath();
    return temp.endsWith(QLatin1Char('/')) ? temp : temp + QLatin1Char('/');
}

QString MakeFolder(const QString& name)
{
    const QString path = TempDir() + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString WritePhoto(const QString& path, int width, int height, QColor tint)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, tint);
    gradient.setColorAt(1, tint.darker(300));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
    painter.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path);
    return path;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString AppDir() { return QStringLiteral(KELVANA_APP_DIR); }
QString DataDir() { return QStringLiteral(KELVANA_TEST_DATA); }

QStringList WriteTemplateAlbum(const QString& root, const QString& name, int phototime, const QString& templateFolder)
{
    const QString from = AppDir() + QStringLiteral("/Sources/Templates/Previews/") + templateFolder + QLatin1Char('/');
    const QStringList movies = QDir(from).entryList({QStringLiteral("*.js")}, QDir::Files);
    const QStringList configurations = QDir(from).entryList({QStringLiteral("*.xml")}, QDir::Files);
    if (movies.isEmpty() || configurations.isEmpty())
        return {};
    const QString to = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    QDir().mkpath(to);
    if (!QFile::copy(from + movies.first(), to + name + QStringLiteral(".js")))
        return {};
    const struct {
        const char* source;
        const char* target;
    } folders[] = {{"photo", "photo"}, {"Thumbs", "thumbs"}, {"res", "res"}};
    for (const auto& folder : folders) {
        const QString source = from + QLatin1String(folder.source) + QLatin1Char('/');
        const QString target = to + QLatin1String(folder.target) + QLatin1Char('/');
        QDir().mkpath(target);
        for (const QString& file : QDir(source).entryList(QDir::Files))
            QFile::copy(source + file, target + file);
    }
    QString configuration = QString::fromUtf8(ReadAll(from + configurations.first()));
    configuration.replace(QRegularExpression(QStringLiteral("phototime=\"[^\"]*\"")),
                          QStringLiteral("phototime=\"%1\"").arg(phototime));
    WriteAll(to + name + QStringLiteral(".xml"), configuration.toUtf8());
    QStringList photos;
    static const QRegularExpression photo(QStringLiteral("d_URL=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& m : photo.globalMatch(configuration))
        photos << to + m.captured(1);
    return photos;
}

namespace {
// Average colours of a 3 x 3 grid over the middle half of `area`.
QList<QColor> MiddleGrid(const QImage& image, const QRect& area)
{
    const QRect middle(area.x() + area.width() / 4, area.y() + area.height() / 4, area.width() / 2, area.height() / 2);
    QList<QColor> grid;
    for (int gy = 0; gy < 3; ++gy) {
        for (int gx = 0; gx < 3; ++gx) {
            const QRect cell(middle.x() + middle.width() * gx / 3, middle.y() + middle.height() * gy / 3,
                             middle.width() / 3, middle.height() / 3);
            qint64 r = 0, g = 0, b = 0, n = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    if (!image.rect().contains(x, y))
                        continue;
                    const QRgb p = image.pixel(x, y);
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                    ++n;
                }
            }
            grid << (n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor(Qt::black));
        }
    }
    return grid;
}
} // namespace

int NearestPhoto(const QImage& screen, const QRect& area, const QStringList& photos, QList<double>* distances)
{
    const QList<QColor> shown = MiddleGrid(screen, area);
    int nearest = -1;
    double best = 0;
    for (int i = 0; i < photos.size(); ++i) {
        const QImage photo(photos[i]);
        const QList<QColor> grid = MiddleGrid(photo, photo.rect());
        double distance = 0;
        for (int c = 0; c < grid.size(); ++c) {
            distance += std::hypot(std::hypot(grid[c].red() - shown[c].red(), grid[c].green() - shown[c].green()),
                                   grid[c].blue() - shown[c].blue());
        }
        distance /= double(grid.size());
        if (distances)
            distances->append(distance);
        if (nearest < 0 || distance < best) {
            nearest = i;
            best = distance;
        }
    }
    return nearest;
}

void KeepScreenshot(const QImage& picture, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVANA_TEST_SCREENSHOTS");
    if (folder.isEmpty() || picture.isNull())
        return;
    QDir().mkpath(folder);
    picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

double MeanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1e9;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace TestSupport
