// Scrolling through a folder of thousands of photos, frame by frame.
//
// The photo explore window (1280 x 800, offscreen) shows the folder with every
// thumbnail ready (read from the folder's cache file), then the list is
// scrolled from top to bottom three ways: the Down key (one row a press), the
// Page Down key, and the mouse wheel (one notch a step). A frame is one step:
// the key or wheel event sent and the events it posts handled, which includes
// the repaint of the list (counted: a step that painted nothing is left out).
// The same steps then run on a plain QListView in icon mode, with the same
// cell size and icon size, whose model hands out the same thumbnails from the
// same cache, so the two figures are comparable in one run.
#include "ScrollBench.h"

#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/UserMessages.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/widgets/explorer/PhotoExploreWnd.h"
#include "editor/imaging/widgets/explorer/QemPhotoExplorerList.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QListView>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

long PeakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

namespace {

class SilentMessages : public UserMessages {
public:
    bool Present(Kind, const QString&) override { return false; }
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Frames {
    std::vector<double> ms; // steps that painted
    int steps = 0;

    double Median() const
    {
        if (ms.empty())
            return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Slowest() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    int Over(double limit) const { return int(std::count_if(ms.begin(), ms.end(), [=](double m) { return m > limit; })); }
};

// Runs `step` until `atEnd` (or a step limit), timing each one with the events
// it posted, the repaint among them.
Frames Run(QWidget* painted, const std::function<void()>& step, const std::function<bool()>& atEnd)
{
    PaintCounter counter(painted);
    QCoreApplication::processEvents();
    Frames frames;
    QElapsedTimer timer;
    while (!atEnd() && frames.steps < 100000) {
        const int before = counter.paints;
        timer.start();
        step();
        QCoreApplication::processEvents();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        ++frames.steps;
        if (counter.paints != before)
            frames.ms.push_back(ms);
    }
    return frames;
}

void Wheel(QWidget* viewport)
{
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

// The folder's photos for the plain list: the file name and the thumbnail the
// cache holds, as an icon made when the view asks for it.
class CacheModel : public QAbstractListModel {
public:
    CacheModel(const CQemPhotoExplorerList& list, ThumbnailCache& cache) : m_list(list), m_cache(cache) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_list.Count(); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole) {
            const QString path = m_cache.PathOf(m_list.HandleAt(index.row()));
            return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        }
        if (role == Qt::DecorationRole)
            return QIcon(QPixmap::fromImage(m_cache.PictureOf(m_list.HandleAt(index.row()))));
        return {};
    }

private:
    const CQemPhotoExplorerList& m_list;
    ThumbnailCache& m_cache;
};

void Print(const char* name, const Frames& frames)
{
    std::printf(" %s_frames=%d %s_median_ms=%.2f %s_slowest_ms=%.2f %s_over16=%d", name, int(frames.ms.size()), name,
                frames.Median(), name, frames.Slowest(), name, frames.Over(16.0));
}

} // namespace

int ScrollBench(const QString& folder)
{
    EditorSettings settings;
    SilentMessages messages;
    EditorContext context(EditorContext::ProcessServices(), settings, messages);
    auto window = std::make_unique<CPhotoExploreWnd>(context);
    window->resize(1280, 800);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    CQemPhotoExplorerList& list = *window->List();
    window->SetFolder(folder);
    QTimer tick;
    tick.start(100);
    QElapsedTimer waited;
    waited.start();
    while (list.ReadyCount() < list.Count() && (list.IsBusy() || waited.elapsed() < 2000)
           && waited.elapsed() < 1800000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    tick.stop();
    const int count = list.Count();
    const int ready = list.ReadyCount();
    const double loadSeconds = double(waited.nsecsElapsed()) / 1e9;
    list.setFocus();
    list.SetFocusItem(0);
    QCoreApplication::processEvents();

    const int last = count - 1;
    const Frames down = Run(list.viewport(), [&] { QTest::keyClick(&list, Qt::Key_Down); },
                            [&] { return list.FocusItem() / std::max(1, list.Layout().ColumnCount())
                                         == last / std::max(1, list.Layout().ColumnCount()); });
    list.SetFocusItem(0);
    list.EnsureVisible(0);
    const Frames page = Run(list.viewport(), [&] { QTest::keyClick(&list, Qt::Key_PageDown); },
                            [&] { return list.ScrollY() >= list.Layout().MaxScroll(count); });
    list.EnsureVisible(0);
    const Frames wheel = Run(list.viewport(), [&] { Wheel(list.viewport()); },
                             [&] { return list.ScrollY() >= list.Layout().MaxScroll(count); });
    const long explorerPeak = PeakKilobytes();

    // The plain list, in the same window's place.
    CacheModel model(list, context.Thumbnails());
    QListView view;
    view.setViewMode(QListView::IconMode);
    view.setMovement(QListView::Static);
    view.setResizeMode(QListView::Adjust);
    view.setUniformItemSizes(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setGridSize(list.Layout().Cell());
    view.setIconSize(list.Layout().PictureRect(QRect(QPoint(), list.Layout().Cell())).size());
    view.setModel(&model);
    view.resize(list.size());
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return 1;
    view.setFocus();
    view.setCurrentIndex(model.index(0));
    QCoreApplication::processEvents();
    QScrollBar* bar = view.verticalScrollBar();
    const Frames viewDown = Run(view.viewport(), [&] { QTest::keyClick(&view, Qt::Key_Down); },
                                [&, previous = -1]() mutable {
                                    const int row = view.currentIndex().row();
                                    const bool stuck = row == previous;
                                    previous = row;
                                    return stuck;
                                });
    view.setCurrentIndex(model.index(0));
    view.scrollToTop();
    const Frames viewPage = Run(view.viewport(), [&] { QTest::keyClick(&view, Qt::Key_PageDown); },
                                [&] { return bar->value() >= bar->maximum(); });
    view.scrollToTop();
    const Frames viewWheel = Run(view.viewport(), [&] { Wheel(view.viewport()); },
                                 [&] { return bar->value() >= bar->maximum(); });

    std::printf("mode=scroll photos=%d ready=%d load_seconds=%.3f columns=%d", count, ready, loadSeconds,
                list.Layout().ColumnCount());
    Print("down", down);
    Print("page", page);
    Print("wheel", wheel);
    Print("view_down", viewDown);
    Print("view_page", viewPage);
    Print("view_wheel", viewWheel);
    std::printf(" explorer_peak_kb=%ld peak_kb=%ld\n", explorerPeak, PeakKilobytes());
    view.hide();
    window.reset();
    return ready == count ? 0 : 1;
}
