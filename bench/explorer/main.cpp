// explorer_bench make FOLDER COUNT [WIDTH HEIGHT]  writes COUNT synthetic JPEG photos (default 800 x 600;
//                                                 kept when present)
// explorer_bench show FOLDER     the photo explore window (1280 x 800, offscreen) shows the folder:
//                                time to the first paint with icons, to the first screenful of
//                                thumbnails painted, to the last thumbnail painted; then the window
//                                closes (which writes the cache file). Run it without the folder's
//                                cache file (cold) and again with it (from the cache file).
// explorer_bench workers FOLDER  the two workers alone fill the cache (no window), then close it
// explorer_bench floor FOLDER    the same files decoded in this process on two threads with
//                                QImageReader::setScaledSize: at 1/8 of their size (libjpeg's
//                                smallest scaled decode) and at the thumbnail size (192 x 144)
// explorer_bench scroll FOLDER   the explore window shows the folder from its cache file, then its
//                                list is scrolled from top to bottom with Down, Page Down and the
//                                wheel, frame by frame, and a plain QListView with the same items
//                                the same ways (ScrollBench.cpp)
// Prints one line of "key=value" figures; peak memory is VmHWM of /proc/self/status.
#include "ScrollBench.h"
#include "bench/BenchPhotos.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/UserMessages.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"
#include "editor/imaging/widgets/explorer/ExplorerRules.h"
#include "editor/imaging/widgets/explorer/PhotoExploreWnd.h"
#include "editor/imaging/widgets/explorer/QemPhotoExplorerList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdio>
#include <thread>
#include <sys/resource.h>

namespace {

// Processor time of the whole process (every thread, user and system), in
// seconds: on a shared machine it varies far less than the wall clock.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A photo-like picture: a gradient, soft shapes and sensor-like noise, so the
// JPEG data are as dense as a camera's.
QImage SyntheticPhoto(int index, int width, int height)
{
    QRandomGenerator random(quint32(index * 7919 + 17));
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    const int hue = int(random.bounded(360));
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((hue + 120) % 360, 160, 70));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        QRadialGradient blob(QPointF(random.bounded(width), random.bounded(height)), 20 + random.bounded(width / 6));
        blob.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 180, 200, 200));
        blob.setColorAt(1, QColor(0, 0, 0, 0));
        painter.setBrush(blob);
        painter.drawRect(image.rect());
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = int(random.bounded(25)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

int Make(const QString& folder, int count, int width, int height)
{
    return BenchPhotos::Make(
        folder, count, [&](int i) { return folder + QStringLiteral("/photo%1.jpg").arg(i, 5, 10, QLatin1Char('0')); },
        [=](int i) { return SyntheticPhoto(i, width, height); }, 90);
}

// Decodes every photo on two threads (odd and even ones), each at the size
// `scaled` gives for its full size.
double DecodeAll(const QStringList& photos, QSize (*scaled)(QSize), int* decoded, double* cpu)
{
    std::atomic<int> done{0};
    const double cpuStart = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const auto work = [&](int first) {
        for (qsizetype i = first; i < photos.size(); i += 2) {
            QImageReader reader(photos[i]);
            const QSize full = reader.size();
            if (full.isValid())
                reader.setScaledSize(scaled(full));
            if (!reader.read().isNull())
                ++done;
        }
    };
    std::thread second(work, 1);
    work(0);
    second.join();
    *decoded = done.load();
    *cpu = CpuSeconds() - cpuStart;
    return double(timer.nsecsElapsed()) / 1e9;
}

QSize EighthSize(QSize full) { return QSize((full.width() + 7) / 8, (full.height() + 7) / 8); }
QSize ThumbnailFit(QSize full) { return full.scaled(192, 144, Qt::KeepAspectRatio); }

int Floor(const QString& folder)
{
    const QStringList photos = ExplorerRules::PhotosOf(folder);
    int eighth = 0, fit = 0;
    double eighthCpu = 0, fitCpu = 0;
    const double eighthSeconds = DecodeAll(photos, EighthSize, &eighth, &eighthCpu);
    const double fitSeconds = DecodeAll(photos, ThumbnailFit, &fit, &fitCpu);
    std::printf("mode=floor photos=%d eighth_decoded=%d eighth_seconds=%.3f eighth_cpu=%.3f fit_decoded=%d "
                "fit_seconds=%.3f fit_cpu=%.3f peak_kb=%ld\n",
                int(photos.size()), eighth, eighthSeconds, eighthCpu, fit, fitSeconds, fitCpu, PeakKilobytes());
    return eighth == photos.size() ? 0 : 1;
}

// The two workers alone fill the cache for the folder (no window): what the
// thumbnails cost apart from the list.
int Workers(const QString& folder)
{
    const QStringList photos = ExplorerRules::PhotosOf(folder);
    ThumbnailCache& cache = ThumbnailCache::Instance();
    const double cpuStart = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const FolderWorkers workers = StartFolderWorkers(photos, nullptr);
    for (const auto& worker : {workers.a, workers.b})
        if (worker)
            worker->WaitUntilEnded();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds() - cpuStart;
    int ready = 0;
    for (const QString& path : photos)
        ready += cache.FindByPath(path) != 0 ? 1 : 0;
    ReapWorkers();
    cache.Close();
    std::printf("mode=workers photos=%d ready=%d seconds=%.3f cpu=%.3f peak_kb=%ld\n", int(photos.size()), ready,
                seconds, cpu, PeakKilobytes());
    return ready == photos.size() ? 0 : 1;
}

class SilentMessages : public UserMessages {
public:
    bool Present(Kind, const QString&) override { return false; }
};

bool ScreenfulReady(const CQemPhotoExplorerList& list)
{
    for (int index : list.Layout().VisibleItems(list.ScrollY(), list.Count()))
        if (list.HandleAt(index) == 0)
            return false;
    return true;
}

int Show(const QString& folder)
{
    EditorSettings settings;
    SilentMessages messages;
    double firstPaint = 0, screenful = -1, last = -1, closing = 0;
    int count = 0, ready = 0, visible = 0;
    EditorContext context(EditorContext::ProcessServices(), settings, messages);
    auto window = std::make_unique<CPhotoExploreWnd>(context);
    window->resize(1280, 800);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    CQemPhotoExplorerList& list = *window->List();
    const double cpuStart = CpuSeconds();
    double lastCpu = -1;
    QElapsedTimer timer;
    timer.start();
    window->SetFolder(folder);
    list.viewport()->repaint();
    firstPaint = double(timer.nsecsElapsed()) / 1e9;
    count = list.Count();
    visible = int(list.Layout().VisibleItems(list.ScrollY(), list.Count()).size());
    // Thumbnails arrive as queued reports; a thumbnail shows once the list
    // has painted after taking it. Photos that cannot be decoded never get
    // one: the wait ends a while after the workers have.
    // The loop sleeps until an event comes (a report, a paint, the tick), so
    // it takes no processor time from the workers.
    QTimer tick;
    tick.start(100);
    qint64 idleSince = -1;
    while (timer.elapsed() < 1800000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (screenful < 0 && ScreenfulReady(list)) {
            list.viewport()->repaint();
            screenful = double(timer.nsecsElapsed()) / 1e9;
        }
        if (list.ReadyCount() == list.Count()) {
            list.viewport()->repaint();
            last = double(timer.nsecsElapsed()) / 1e9;
            lastCpu = CpuSeconds() - cpuStart;
            break;
        }
        if (list.IsBusy())
            idleSince = -1;
        else if (idleSince < 0)
            idleSince = timer.elapsed();
        else if (timer.elapsed() - idleSince > 2000)
            break;
    }
    ready = list.ReadyCount();
    // Closing waits for the workers and writes the cache file.
    QElapsedTimer close;
    close.start();
    window.reset();
    closing = double(close.nsecsElapsed()) / 1e9;
    std::printf("mode=show photos=%d visible=%d ready=%d first_paint_seconds=%.4f screenful_seconds=%.3f "
                "last_seconds=%.3f last_cpu=%.3f close_seconds=%.3f peak_kb=%ld\n",
                count, visible, ready, firstPaint, screenful, last, lastCpu, closing, PeakKilobytes());
    return ready == count ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("make"))
        return Make(args[2], args[3].toInt(), args.size() >= 6 ? args[4].toInt() : 800,
                    args.size() >= 6 ? args[5].toInt() : 600);
    if (args.size() >= 3 && args[1] == QLatin1String("show"))
        return Show(QDir(args[2]).absolutePath());
    if (args.size() >= 3 && args[1] == QLatin1String("workers"))
        return Workers(QDir(args[2]).absolutePath());
    if (args.size() >= 3 && args[1] == QLatin1String("scroll"))
        return ScrollBench(QDir(args[2]).absolutePath());
    if (args.size() >= 3 && args[1] == QLatin1String("floor"))
        return Floor(QDir(args[2]).absolutePath());
    std::fprintf(stderr, "usage: explorer_bench make FOLDER COUNT [WIDTH HEIGHT] | show FOLDER | workers FOLDER | floor FOLDER | scroll FOLDER\n");
    return 2;
}
