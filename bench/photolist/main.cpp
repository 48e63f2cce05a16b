// photolist_bench [--shot OUT.png]
// Fills a CPhotoListCtrl and a QListView in icon mode (QStandardItemModel)
// with the same 10,000 labelled 96 x 96 thumbnails, shows both at 1280 x 800
// on the offscreen platform and times three operations 100 times each:
//   repaint  the whole view painted and flushed
//   scroll   one line (20 pixels) down, painted and flushed
//   size     the thumbnail size switched between 96 and 120, laid out, painted
// Prints the slowest and the median of each, in wall-clock time and in the
// thread's processor time (which other programs' load does not inflate),
// the goals and the ratios ours / reference (slowest / median). With --shot it also saves a picture of the list.
#include "editor/shell/controls/PhotoListCtrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ctime>
#include <vector>

namespace {

constexpr int kItems = 10000;
constexpr int kRuns = 100;
constexpr int kWarmUp = 5;
constexpr int kPictures = 100; // distinct pictures, shared by the items in turn
const QSize kWindow(1280, 800);

QImage Picture(int index)
{
    QImage image(96, 96, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 96);
    sky.setColorAt(0, QColor::fromHsv(index * 37 % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((index * 37 + 120) % 360, 160, 70));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor::fromHsv(index * 71 % 360, 200, 200));
    painter.drawEllipse(QRect(10 + index % 30, 20, 40, 40));
    return image;
}

struct Figures {
    double slowest = 0, median = 0;       // wall clock, ms
    double cpuSlowest = 0, cpuMedian = 0; // this thread's processor time, ms: free of other programs' load
};

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Times `step` kRuns times after a few untimed runs; `between` runs untimed
// after each step (pending layouts and events of the toolkit).
Figures Time(const std::function<void()>& step, const std::function<void()>& between)
{
    for (int i = 0; i < kWarmUp; ++i) {
        step();
        between();
    }
    std::vector<double> ms, cpu;
    QElapsedTimer timer;
    for (int i = 0; i < kRuns; ++i) {
        const double cpuStart = ThreadCpuMs();
        timer.start();
        step();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(ThreadCpuMs() - cpuStart);
        between();
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms.back(), ms[ms.size() / 2], cpu.back(), cpu[cpu.size() / 2]};
}

void Flush(QWidget* window)
{
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

struct Result {
    Figures repaint, scroll, size;
};

Result Measure(QAbstractScrollArea* view, const std::function<void(int)>& setThumbnail, const std::function<void()>& layout)
{
    Result result;
    result.repaint = Time([&] { view->viewport()->repaint(); }, [] {});
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->minimum());
    QCoreApplication::processEvents();
    result.scroll = Time(
        [&] {
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            Flush(view->window());
        },
        [] {});
    int turn = 0;
    result.size = Time(
        [&] {
            setThumbnail(++turn % 2 ? 120 : 96);
            layout();
            view->viewport()->repaint();
        },
        [] { QCoreApplication::processEvents(); });
    return result;
}

void Print(const char* what, const Figures& ours, const Figures& reference, double goal)
{
    std::printf("%-8s wall: ours slowest %7.3f median %7.3f | QListView slowest %7.3f median %7.3f | ratio %5.2f / %5.2f"
                " | goal slowest < %g ms: %s\n",
                what, ours.slowest, ours.median, reference.slowest, reference.median, ours.slowest / reference.slowest,
                ours.median / reference.median, goal, ours.slowest < goal ? "met" : "MISSED");
    std::printf("%-8s cpu:  ours slowest %7.3f median %7.3f | QListView slowest %7.3f median %7.3f | ratio %5.2f / %5.2f"
                " | goal slowest < %g ms: %s\n",
                what, ours.cpuSlowest, ours.cpuMedian, reference.cpuSlowest, reference.cpuMedian,
                ours.cpuSlowest / reference.cpuSlowest, ours.cpuMedian / reference.cpuMedian, goal,
                ours.cpuSlowest < goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString shot;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--shot")
            shot = QString::fromLocal8Bit(argv[i + 1]);

    std::vector<QImage> pictures;
    for (int i = 0; i < kPictures; ++i)
        pictures.push_back(Picture(i));
    const auto label = [](int i) { return QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0')); };

    CPhotoListCtrl list;
    for (int i = 0; i < kItems; ++i)
        list.Append(label(i), pictures[size_t(i % kPictures)]);
    list.resize(kWindow);
    list.show();
    QCoreApplication::processEvents();

    QStandardItemModel model;
    std::vector<QIcon> icons;
    for (const QImage& picture : pictures)
        icons.emplace_back(QPixmap::fromImage(picture));
    for (int i = 0; i < kItems; ++i)
        model.appendRow(new QStandardItem(icons[size_t(i % kPictures)], label(i)));
    QListView view;
    view.setViewMode(QListView::IconMode);
    view.setMovement(QListView::Static);
    view.setResizeMode(QListView::Adjust);
    view.setUniformItemSizes(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setIconSize(QSize(96, 96));
    view.setGridSize(list.Layout().Cell());
    view.setModel(&model);
    view.resize(kWindow);
    view.show();
    QCoreApplication::processEvents();
    view.verticalScrollBar()->setSingleStep(PhotoListLayout::ScrollUnit);

    const Result ours = Measure(
        &list, [&](int side) { list.SetThumbnailSize(side, side); }, [] {});
    const Result reference = Measure(
        &view,
        [&](int side) {
            view.setIconSize(QSize(side, side));
            view.setGridSize(QSize(side + 6, side + 10 + list.Layout().LabelHeight()));
        },
        [&] { view.doItemsLayout(); });

    double load[3] = {};
    getloadavg(load, 3);
    std::printf("%d items, %d x %d window, %d runs each (after %d untimed), platform %s, load average %.2f, times in ms\n",
                kItems, kWindow.width(), kWindow.height(), kRuns, kWarmUp, qPrintable(QGuiApplication::platformName()),
                load[0]);
    Print("repaint", ours.repaint, reference.repaint, 4);
    Print("scroll", ours.scroll, reference.scroll, 4);
    Print("size", ours.size, reference.size, 16);

    if (!shot.isEmpty()) {
        list.SetThumbnailSize(96, 96);
        list.ScrollBy(-list.ScrollY());
        list.Select(1);
        list.Select(2);
        list.SetFocusItem(2);
        list.ItemAt(3)->label = QStringLiteral("A very long file name & more.jpg");
        list.viewport()->grab().save(shot);
    }
    return 0;
}
