// thumbnail_bench make FOLDER COUNT   writes COUNT synthetic 4000 x 3000 JPEG photos (kept when present)
// thumbnail_bench fill FOLDER         makes the folder's thumbnails with the two workers, then closes the
//                                     cache (which writes its file), as the explorer list does
// thumbnail_bench reopen FOLDER       the same in a fresh process, the cache file being present
// thumbnail_bench sheet FOLDER OUT.png  the folder's thumbnails as the cache holds them, on one picture
// thumbnail_bench switch A B ADDS     ADDS album photos taken alternately from folders A and B (their cache
//                                     files written by fill), as a user picking photos from both; each
//                                     photo taken switches the cache to its folder
// Prints one line of "key=value" figures.
#include "bench/BenchPhotos.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

// A photo-like picture: a sky-to-ground gradient, a few soft shapes and
// sensor-like noise, so the JPEG data are as dense as a camera's.
QImage SyntheticPhoto(int index)
{
    QRandomGenerator random(quint32(index * 7919 + 17));
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 3000);
    const int hue = int(random.bounded(360));
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 230));
    sky.setColorAt(0.55, QColor::fromHsv((hue + 40) % 360, 90, 180));
    sky.setColorAt(1, QColor::fromHsv((hue + 120) % 360, 160, 70));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        QRadialGradient blob(QPointF(random.bounded(4000), random.bounded(3000)), 100 + random.bounded(600));
        blob.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 180, 200, 200));
        blob.setColorAt(1, QColor(0, 0, 0, 0));
        painter.setBrush(blob);
        painter.drawRect(image.rect());
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(25)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

int Make(const QString& folder, int count)
{
    return BenchPhotos::Make(
        folder, count, [&](int i) { return folder + QStringLiteral("/photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')); },
        [](int i) { return SyntheticPhoto(i); }, 90);
}

long PeakRssKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Stands for the explorer list: receives the workers' repaint requests.
class ListStandIn : public QObject {
    Q_OBJECT
public slots:
    void update() { ++repaints; }

public:
    int repaints = 0;
};

int Fill(const QString& folder, const char* mode)
{
    QElapsedTimer timer;
    timer.start();
    ListStandIn list;
    const QStringList listing = BenchPhotos::Listing(folder);
    ThumbnailCache& cache = ThumbnailCache::Instance();
    const FolderWorkers workers = StartFolderWorkers(listing, &list);
    if (workers.a)
        workers.a->WaitUntilEnded();
    if (workers.b)
        workers.b->WaitUntilEnded();
    const qint64 madeMs = timer.elapsed();
    int thumbnails = 0;
    int written = 0;
    qint64 thumbnailBytes = 0;
    qint64 pixelBytes = 0;
    for (const QString& path : listing) {
        const auto entry = cache.EntryOfId(cache.FindByPath(path));
        if (!entry)
            continue;
        ++thumbnails;
        written += entry->state == ThumbnailCache::Written ? 1 : 0;
        thumbnailBytes += entry->thumbnail.sizeInBytes();
        pixelBytes += qint64(entry->thumbnail.width()) * entry->thumbnail.height() * (entry->thumbnail.depth() / 8);
    }
    ReapWorkers();
    cache.Close(); // the explorer list's end: pending records are written
    const qint64 totalMs = timer.elapsed();
    QCoreApplication::processEvents();
    std::printf("mode=%s photos=%d thumbnails=%d from_file=%d seconds=%.3f made_seconds=%.3f peak_rss_kb=%ld "
                "thumbnail_bytes=%lld pixel_bytes=%lld repaints=%d\n",
                mode, int(listing.size()), thumbnails, written, double(totalMs) / 1000.0, double(madeMs) / 1000.0,
                PeakRssKilobytes(), thumbnailBytes, pixelBytes, list.repaints);
    return thumbnails > 0 ? 0 : 1;
}

// The first 24 thumbnails of the folder on a grid, to look at.
int Sheet(const QString& folder, const QString& out)
{
    ThumbnailCache& cache = ThumbnailCache::Instance();
    QStringList photos;
    for (const QString& path : BenchPhotos::Listing(folder))
        if (cache.FindOrAddPhoto(path) != 0)
            photos << path;
    const int columns = 6;
    const int shown = std::min(int(photos.size()), 24);
    QImage sheet(columns * 200, ((shown + columns - 1) / columns) * 152, QImage::Format_RGB32);
    sheet.fill(QColor(60, 60, 60));
    QPainter painter(&sheet);
    for (int i = 0; i < shown; ++i)
        painter.drawImage(QPoint((i % columns) * 200 + 4, (i / columns) * 152 + 4),
                          cache.PictureOf(cache.FindByPath(photos[i])));
    painter.end();
    std::printf("sheet=%s thumbnails=%d\n", qPrintable(out), shown);
    return sheet.save(out) ? 0 : 1;
}

int Switch(const QString& a, const QString& b, int adds)
{
    const QStringList first = BenchPhotos::Listing(a);
    const QStringList second = BenchPhotos::Listing(b);
    if (first.isEmpty() || second.isEmpty())
        return 1;
    ThumbnailCache& cache = ThumbnailCache::Instance();
    QElapsedTimer timer;
    timer.start();
    int taken = 0;
    for (int i = 0; i < adds; ++i) {
        const QStringList& folder = i % 2 == 0 ? first : second;
        if (cache.AcquirePhoto(folder[(i / 2) % folder.size()]) != 0)
            ++taken;
    }
    const qint64 ms = timer.elapsed();
    cache.Close();
    std::printf("mode=switch adds=%d taken=%d seconds=%.3f peak_rss_kb=%ld\n", adds, taken, double(ms) / 1000.0,
                PeakRssKilobytes());
    return taken == adds ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("make"))
        return Make(args[2], args[3].toInt());
    if (args.size() >= 3 && (args[1] == QLatin1String("fill") || args[1] == QLatin1String("reopen")))
        return Fill(QDir(args[2]).absolutePath(), args[1] == QLatin1String("fill") ? "fill" : "reopen");
    if (args.size() >= 5 && args[1] == QLatin1String("switch"))
        return Switch(QDir(args[2]).absolutePath(), QDir(args[3]).absolutePath(), args[4].toInt());
    if (args.size() >= 4 && args[1] == QLatin1String("sheet"))
        return Sheet(QDir(args[2]).absolutePath(), args[3]);
    std::fprintf(stderr, "usage: thumbnail_bench make FOLDER COUNT | fill FOLDER | reopen FOLDER | sheet FOLDER OUT.png | switch A B ADDS\n");
    return 2;
}

#include "main.moc"
