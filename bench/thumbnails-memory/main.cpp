// thumbnail_memory_bench make FOLDER COUNT  writes COUNT small synthetic JPEG photos (kept when present)
// thumbnail_memory_bench browse FOLDER      shows the folder as the explorer list does: the two workers
//                                           make (or read back) every thumbnail, then every thumbnail is
//                                           read once in order, as a list scrolled to its end; then the
//                                           cache is closed (its file written)
// Prints the process's memory (/proc/self/status) at each step and the times, as "key=value" lines.
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
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

QString PhotoPath(const QString& folder, int index)
{
    return folder + QStringLiteral("/photo%1.jpg").arg(index, 5, 10, QLatin1Char('0'));
}

// A 640 x 480 picture that differs from photo to photo.
QImage SmallPhoto(int index)
{
    QImage image(640, 480, QImage::Format_RGB32);
    const int hue = (index * 37) % 360;
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 480);
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((hue + 120) % 360, 160, 70));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor::fromHsv((hue + 200) % 360, 200, 200));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(80 + (index * 13) % 480, 60 + (index * 7) % 360), 70, 50);
    painter.setBrush(QColor::fromHsv((index * 11) % 360, 90, 250));
    painter.drawRect(20 + (index % 50) * 11, 400, 40, 60);
    return image;
}

int Make(const QString& folder, int count)
{
    return BenchPhotos::Make(
        folder, count, [&](int i) { return PhotoPath(folder, i); }, [](int i) { return SmallPhoto(i); }, 85);
}

// "VmHWM=... VmRSS=... RssAnon=..." in KB.
QString Memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    QStringList figures;
    for (const QByteArray& line : status.readAll().split('\n'))
        for (const char* key : {"VmHWM:", "VmRSS:", "RssAnon:"})
            if (line.startsWith(key))
                figures << QString::fromLatin1(key).chopped(1) + QLatin1Char('=') +
                               QString::fromLatin1(line.mid(int(qstrlen(key))).trimmed()).section(QLatin1Char(' '), 0, 0);
    return figures.join(QLatin1Char(' '));
}

class ListStandIn : public QObject {
    Q_OBJECT
public slots:
    void update() { ++repaints; }

public:
    int repaints = 0;
};

int Browse(const QString& folder)
{
    const QStringList listing = BenchPhotos::Listing(folder);
    ThumbnailCache& cache = ThumbnailCache::Instance();
    const bool hadFile = QFile::exists(ThumbnailCache::CacheFilePath(folder));
    std::printf("step=start photos=%d cache_file=%s %s\n", int(listing.size()), hadFile ? "yes" : "no",
                qPrintable(Memory()));
    std::fflush(stdout);

    QElapsedTimer timer;
    timer.start();
    ListStandIn list;
    const FolderWorkers workers = StartFolderWorkers(listing, &list);
    if (workers.a)
        workers.a->WaitUntilEnded();
    if (workers.b)
        workers.b->WaitUntilEnded();
    const double madeSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("step=made seconds=%.3f thumbnails=%d %s\n", madeSeconds, cache.Count(), qPrintable(Memory()));
    std::fflush(stdout);

    timer.restart();
    int shown = 0;
    qint64 checksum = 0;
    for (const QString& path : listing) {
        const QImage picture = cache.PictureOf(cache.FindByPath(path));
        if (picture.isNull())
            continue;
        ++shown;
        checksum += qGray(picture.pixel(96, 72));
    }
    const double readSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("step=read seconds=%.3f shown=%d checksum=%lld per_thumbnail_us=%.1f %s\n", readSeconds, shown,
                checksum, shown ? readSeconds * 1e6 / shown : 0.0, qPrintable(Memory()));
    std::fflush(stdout);

    timer.restart();
    ReapWorkers();
    cache.Close();
    std::printf("step=closed seconds=%.3f %s\n", double(timer.nsecsElapsed()) / 1e9, qPrintable(Memory()));
    return shown == int(listing.size()) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("make"))
        return Make(QDir(args[2]).absolutePath(), args[3].toInt());
    if (args.size() >= 3 && args[1] == QLatin1String("browse"))
        return Browse(QDir(args[2]).absolutePath());
    std::fprintf(stderr, "usage: thumbnail_memory_bench make FOLDER COUNT | browse FOLDER\n");
    return 2;
}

#include "main.moc"
