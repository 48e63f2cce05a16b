// editstep_bench make FOLDER COUNT     writes COUNT synthetic 4000 x 3000 JPEG photos (quality 85; kept
//                                      when present)
// editstep_bench photos FOLDER COUNT [VISITS]
//     The edit step (a real CQemEditWnd, 1100 x 775) over an album of the folder's first COUNT photos:
//     1. strip Select(i, photo) of VISITS photos until the view has painted the picture: first visits
//        (the display copy is made: scaled decode, PNG written) and second visits (the display copy
//        read back), against QImageReader decodes of the same files at 480 x 360 (the floor) and at
//        full size;
//     2. brightness and contrast drags through the pane's slider buttons, each step until the view
//        has painted, and the files written in the temporary folder during the drag and when the
//        slider closes (inotify).
// editstep_bench preview FOLDER COUNT [ROUNDS]
//     3. strip Select(i, transition) until the preview movie has taken the request (its kelvanaState
//        names the photo's display copy) and until both pictures are loaded: the first gap (the web
//        engine starts), a gap after a photo (the effect pane was hidden, so the movie loads again)
//        and a gap after a gap (the movie is there). Needs Qt WebEngine (run under xvfb-run).
// Prints "key=value" lines; times in milliseconds.
#include "bench/BenchPhotos.h"
#include "common/Platform.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/catalogues/widgets/effects/LREffectExplorerWnd.h"
#include "editor/catalogues/widgets/strip/QemLREffectWnd.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/widgets/editpane/PhotoEditPane.h"
#include "editor/imaging/widgets/photoview/QemPhotoView.h"
#include "editor/shell/controls/QemBtnSplider.h"
#include "editor/shell/controls/QemPopSliderCtrl.h"
#include "editor/shell/steps/QemEditWnd.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {

using Kind = QemControls::CLREffectWnd::Kind;

double Ms(qint64 ns) { return double(ns) / 1e6; }

struct Stats {
    double median = 0, max = 0, min = 0;
    int n = 0;
};
Stats Of(std::vector<double> v)
{
    Stats s;
    s.n = int(v.size());
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.min = v.front();
    s.max = v.back();
    return s;
}
void Print(const char* name, const std::vector<double>& v)
{
    const Stats s = Of(v);
    std::printf("%s_median=%.2f %s_max=%.2f %s_min=%.2f %s_n=%d\n", name, s.median, name, s.max, name, s.min, name, s.n);
}

// A camera-sized picture that compresses well: two smooth gradients and a
// little noise (about 1 MB at quality 85).
QImage SyntheticPhoto(int index)
{
    constexpr int kWidth = 4000, kHeight = 3000;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, kWidth / 3, kHeight);
    const int hue = (index * 47) % 360;
    sky.setColorAt(0, QColor::fromHsv(hue, 110, 235));
    sky.setColorAt(1, QColor::fromHsv((hue + 140) % 360, 170, 60));
    painter.fillRect(image.rect(), sky);
    QRadialGradient sun(QPointF(600 + (index * 331) % 2800, 500 + (index * 173) % 2000), 900);
    sun.setColorAt(0, QColor::fromHsv((hue + 60) % 360, 200, 250, 220));
    sun.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawRect(image.rect());
    painter.end();
    quint32 state = quint32(index) * 2654435761u + 1;
    for (int y = 0; y < kHeight; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = int(state % 7) - 3;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

QString PhotoPath(const QString& folder, int i) { return folder + QStringLiteral("/photo%1.jpg").arg(i, 4, 10, QLatin1Char('0')); }

class SilentMessages : public UserMessages {
public:
    bool Present(Kind, const QString&) override { return false; }
};

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The files written in a folder: a file counts once each time it is
// closed after writing, renamed into place or linked in (QSaveFile).
class WriteWatch {
public:
    explicit WriteWatch(const QString& folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK);
        if (m_fd >= 0)
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE);
    }
    ~WriteWatch()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    // The writes since the last call, by file name.
    std::map<QString, int> Drain()
    {
        std::map<QString, int> writes;
        alignas(inotify_event) char buffer[65536];
        for (;;) {
            const ssize_t got = m_fd < 0 ? -1 : read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (char* p = buffer; p < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                const QString name = event->len ? QFile::decodeName(event->name) : QString();
                if (event->mask & IN_CREATE) {
                    m_created[name] = true; // counted now; its first close is the same write
                    ++writes[name];
                } else if (event->mask & IN_CLOSE_WRITE) {
                    if (m_created[name])
                        m_created[name] = false;
                    else
                        ++writes[name];
                } else if (event->mask & IN_MOVED_TO) {
                    ++writes[name];
                }
                p += sizeof(inotify_event) + event->len;
            }
        }
        return writes;
    }

private:
    int m_fd = -1;
    std::map<QString, bool> m_created;
};

int Total(const std::map<QString, int>& writes)
{
    int n = 0;
    for (const auto& [name, count] : writes)
        n += count;
    return n;
}
QString Describe(const std::map<QString, int>& writes)
{
    QStringList parts;
    for (const auto& [name, count] : writes)
        parts << QStringLiteral("%1x%2").arg(name).arg(count);
    return parts.join(QLatin1Char(','));
}

// The edit step over its own cache and catalogues, the album filled with the
// folder's first `count` photos.
struct EditStep {
    ThumbnailCache thumbnails;
    EffectCatalogue effects;
    TemplateCatalogue templates;
    EditorSettings settings;
    SilentMessages messages;
    CSubjectManager& hub = *CSubjectManager::Manager();
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<CQemEditWnd> window;
    PaintCounter viewPaints;

    bool Open(const QString& folder, int count)
    {
        const QString app = QStringLiteral(KELVANA_APP_DIR);
        if (effects.Load(app) <= 0) {
            std::fprintf(stderr, "no effects catalogue under %s\n", qPrintable(app));
            return false;
        }
        templates.Load(app);
        hub.Register(kSubjectPrjState, new CSubject);
        hub.Register(kSubjectButtonState, new CSubject);
        context = std::make_unique<EditorContext>(
            EditorContext::Services{thumbnails, effects, templates, DisplayCopies::Instance(), WorkingCopyMap::Instance(), hub},
            settings, messages);
        QElapsedTimer timer;
        timer.start();
        for (int i = 1; i <= count; ++i)
            if (context->Album().AddPhoto(PhotoPath(folder, i)) < 0) {
                std::fprintf(stderr, "cannot add %s\n", qPrintable(PhotoPath(folder, i)));
                return false;
            }
        std::printf("album_photos=%d album_fill_ms=%.0f\n", context->Album().Count(), Ms(timer.nsecsElapsed()));
        window = std::make_unique<CQemEditWnd>(*context);
        window->Explorer()->SetAppDir(app);
        window->resize(1100, 775);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        window->View()->installEventFilter(&viewPaints);
        window->OnStepEntered();
        Settle();
        return true;
    }
    ~EditStep()
    {
        window.reset();
        context.reset();
        WorkingCopyMap::Instance().DiscardAll();
        DisplayCopies::Instance().ClearView();
        hub.Unregister(kSubjectPrjState);
        hub.Unregister(kSubjectButtonState);
    }
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    AlbumModel& Album() const { return context->Album(); }
};

// Select(i, photo) until the view has painted the photo: the view repaints
// at once (a user sees the picture when this paint ends). `shown` is when
// the picture was in place (DisplayCopies::ViewChanged), `idle` when the
// other windows' pending work (strip, arrows, pane) had run too.
struct Visit {
    double shown = -1, painted = -1, idle = -1;
    bool ok = false;
};
Visit SelectPhoto(EditStep& step, int index)
{
    Visit visit;
    QElapsedTimer timer;
    const auto connection = QObject::connect(&DisplayCopies::Instance(), &DisplayCopies::ViewChanged, [&] {
        if (visit.shown < 0)
            visit.shown = Ms(timer.nsecsElapsed());
    });
    timer.start();
    step.window->Strip()->Select(index, Kind::Photo);
    step.window->View()->repaint();
    visit.painted = Ms(timer.nsecsElapsed());
    QCoreApplication::processEvents();
    visit.idle = Ms(timer.nsecsElapsed());
    QObject::disconnect(connection);
    const DisplayCopies& display = DisplayCopies::Instance();
    visit.ok = display.CurrentPath() == step.Album().PathOf(index) && !display.ShownPicture().isNull();
    EditStep::Settle();
    return visit;
}

double DecodeMs(const QString& path, QSize scaled)
{
    QElapsedTimer timer;
    timer.start();
    QImageReader reader(path);
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    const QImage image = reader.read();
    const double ms = Ms(timer.nsecsElapsed());
    return image.isNull() ? -1 : ms;
}

int PhotoVisits(EditStep& step, int visits)
{
    AlbumModel& album = step.Album();
    const int count = album.Count();
    std::vector<int> order;
    for (int k = 0; int(order.size()) < std::min(visits, count - 1); ++k) {
        const int i = 1 + (k * 37) % (count - 1);
        if (std::find(order.begin(), order.end(), i) == order.end())
            order.push_back(i);
        else
            break;
    }
    std::vector<double> firstShown, firstPainted, firstIdle, secondShown, secondPainted, secondIdle;
    int failures = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (int i : order) {
            const Visit v = SelectPhoto(step, i);
            failures += v.ok ? 0 : 1;
            (pass == 0 ? firstShown : secondShown).push_back(v.shown);
            (pass == 0 ? firstPainted : secondPainted).push_back(v.painted);
            (pass == 0 ? firstIdle : secondIdle).push_back(v.idle);
        }
    // The same files decoded alone, and the two halves of making a display
    // copy (the editor's fitted decode, the PNG write) and of reading it back.
    std::vector<double> floorScaled, floorFull, fitted, pngWrite, pngRead;
    const QString scratch = QDir::tempPath() + QStringLiteral("/editstep-scratch.png");
    for (int i : order) {
        const QString path = album.PathOf(i);
        floorScaled.push_back(DecodeMs(path, QSize(480, 360)));
        QElapsedTimer timer;
        timer.start();
        const QImage picture = ImageOps::LoadFittedBitmap(path, ImageOps::kCanvasWidth, ImageOps::kCanvasHeight, true);
        fitted.push_back(Ms(timer.nsecsElapsed()));
        timer.restart();
        ImageOps::SaveBitmapAs(scratch, picture, "png", 80);
        pngWrite.push_back(Ms(timer.nsecsElapsed()));
        timer.restart();
        ImageOps::Decode(scratch);
        pngRead.push_back(Ms(timer.nsecsElapsed()));
    }
    QFile::remove(scratch);
    for (size_t k = 0; k < std::min<size_t>(order.size(), 10); ++k)
        floorFull.push_back(DecodeMs(album.PathOf(order[k]), QSize()));
    std::vector<double> stripPaints;
    for (int k = 0; k < 9; ++k) {
        QElapsedTimer timer;
        timer.start();
        step.window->Strip()->repaint();
        stripPaints.push_back(Ms(timer.nsecsElapsed()));
    }
    Print("strip_repaint", stripPaints);
    std::printf("visits=%d failures=%d\n", int(order.size()), failures);
    Print("first_visit_painted", firstPainted);
    Print("first_visit_shown", firstShown);
    Print("first_visit_idle", firstIdle);
    Print("second_visit_painted", secondPainted);
    Print("second_visit_shown", secondShown);
    Print("second_visit_idle", secondIdle);
    Print("floor_scaled_decode", floorScaled);
    Print("full_decode", floorFull);
    Print("editor_fitted_decode", fitted);
    Print("png_write", pngWrite);
    Print("png_read", pngRead);
    const double floor = Of(floorScaled).median;
    std::printf("ratio_first_to_floor=%.2f ratio_second_to_floor=%.2f ratio_full_to_floor=%.2f\n",
                Of(firstPainted).median / floor, Of(secondPainted).median / floor, Of(floorFull).median / floor);
    return failures;
}

// One drag of a slider button: opened, moved through `values` (each step
// until the view has painted), closed.
int Drag(EditStep& step, CQemBtnSplider* button, const char* name, const std::vector<int>& values, WriteWatch& watch,
         const QString& photoFolder, WriteWatch& photoWatch)
{
    AlbumModel& album = step.Album();
    const int index = album.CurrentIndex();
    button->OpenSlider();
    EditStep::Settle();
    watch.Drain();
    photoWatch.Drain();
    CQemPopSliderCtrl* slider = button->Slider();
    std::vector<double> steps, previews;
    int writesDuring = 0;
    QElapsedTimer timer;
    double previewAt = -1;
    const auto connection = QObject::connect(&DisplayCopies::Instance(), &DisplayCopies::ViewChanged, [&] {
        previewAt = Ms(timer.nsecsElapsed());
    });
    const int paintsBefore = step.viewPaints.paints;
    for (int value : values) {
        previewAt = -1;
        timer.start();
        slider->setValue(value);
        step.window->View()->repaint();
        steps.push_back(Ms(timer.nsecsElapsed()));
        previews.push_back(previewAt);
        QCoreApplication::processEvents();
        writesDuring += Total(watch.Drain()) + Total(photoWatch.Drain());
    }
    QObject::disconnect(connection);
    const int paints = step.viewPaints.paints - paintsBefore;
    timer.start();
    slider->hide();
    const double closeMs = Ms(timer.nsecsElapsed());
    EditStep::Settle();
    const std::map<QString, int> atClose = watch.Drain();
    const int photoWrites = Total(photoWatch.Drain());
    const QString workingCopy = QFileInfo(album.PathOf(index)).fileName();
    const auto wc = atClose.find(workingCopy);
    std::printf("%s_drag photo=%d steps=%d view_paints=%d writes_during_drag=%d close_ms=%.1f "
                "working_copy_writes_at_close=%d writes_at_close=%d photo_folder_writes=%d files=%s stored=%d\n",
                name, index, int(values.size()), paints, writesDuring, closeMs, wc == atClose.end() ? 0 : wc->second,
                Total(atClose), photoWrites, qPrintable(Describe(atClose)),
                QString::fromLatin1(name).startsWith(QLatin1String("brightness")) ? album.Item(index).brightness
                                                                                   : album.Item(index).contrast);
    Print((QByteArray(name) + "_step").constData(), steps);
    Print((QByteArray(name) + "_preview_shown").constData(), previews);
    Q_UNUSED(photoFolder);
    return 0;
}

int Drags(EditStep& step, const QString& folder)
{
    AlbumModel& album = step.Album();
    const int index = album.Count() - 1; // never edited
    SelectPhoto(step, index);
    CPhotoEditPane* pane = step.window->PhotoPane();
    WriteWatch temp(QDir::tempPath());
    WriteWatch photos(folder);
    // There and back: 0 -> +50 -> -50 -> +20, one step per position.
    std::vector<int> path;
    for (int v = 1; v <= 50; ++v)
        path.push_back(v);
    for (int v = 49; v >= -50; --v)
        path.push_back(v);
    for (int v = -49; v <= 20; ++v)
        path.push_back(v);
    Drag(step, pane->BrightnessButton(), "brightness_first", path, temp, folder, photos); // from the photo
    Drag(step, pane->ContrastButton(), "contrast", path, temp, folder, photos);           // from the working copy
    // Brightness again: the range is centred on the stored value.
    std::vector<int> around;
    const int stored = album.Item(index).brightness;
    for (int v = stored - 50; v <= stored + 50; ++v)
        around.push_back(v);
    Drag(step, pane->BrightnessButton(), "brightness_again", around, temp, folder, photos);
    return 0;
}

// Polls the preview movie's state until `condition` holds; the time of the
// first answer that says so. Every 10 ms a new question goes out, so a
// question lost while the page loads delays nothing.
double WaitFor(CLREffectExplorerWnd& explorer, const QElapsedTimer& timer, const QString& condition, int limitMs)
{
    double at = -1;
    QTimer ask;
    ask.setInterval(10);
    const auto query = [&] {
        if (!explorer.Player().IsCreated())
            return;
        explorer.Player().EvaluateAsync(QStringLiteral("!!(%1)").arg(condition), [&at, &timer](bool ok, QVariant value) {
            if (ok && value.toBool() && at < 0)
                at = Ms(timer.nsecsElapsed());
        }, 2000);
    };
    QObject::connect(&ask, &QTimer::timeout, query);
    query();
    ask.start();
    // The ask timer wakes the loop; it sleeps in between, leaving the
    // processors to the web engine.
    while (at < 0 && timer.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ask.stop();
    if (at < 0) {
        bool answered = false;
        explorer.Player().EvaluateAsync(QStringLiteral("JSON.stringify(window.kelvanaState || null)"), [&](bool ok, QVariant value) {
            std::fprintf(stderr, "not met: %s\nrequest: %s\nstate (%d): %s\n", qPrintable(condition),
                         qPrintable(explorer.LastRequest()), ok, qPrintable(value.toString().left(2000)));
            answered = true;
        });
        QElapsedTimer wait;
        wait.start();
        while (!answered && wait.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The answers still on their way must not write into this frame.
    QElapsedTimer drain;
    drain.start();
    QTimer::singleShot(100, [] {});
    while (drain.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return at;
}

// One question to the live movie page and its answer: what any call into
// the movie costs at the moment, as the machine is loaded.
double RoundTrip(CLREffectExplorerWnd& explorer)
{
    if (!explorer.Player().IsCreated())
        return -1;
    QElapsedTimer timer;
    timer.start();
    double at = -1;
    explorer.Player().EvaluateAsync(QStringLiteral("1"), [&](bool ok, QVariant) { at = ok ? Ms(timer.nsecsElapsed()) : -2; });
    QTimer wake;
    wake.start(5);
    while (at == -1 && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return at;
}

QVariant Evaluate(CLREffectExplorerWnd& explorer, const QString& script)
{
    QVariant result;
    bool done = false;
    explorer.Player().EvaluateAsync(script, [&](bool, QVariant value) {
        result = value;
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    QTimer wake;
    wake.start(5);
    while (!done && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return result;
}

struct Start {
    double select = -1, call = -1, pictures = -1;
};
Start SelectGap(EditStep& step, int index)
{
    AlbumModel& album = step.Album();
    const QString first = album.DisplayPathOf(index); // made beforehand: no decode is timed here
    album.DisplayPathOf(index + 1 < album.Count() ? index + 1 : 0);
    QElapsedTimer timer;
    timer.start();
    step.window->Strip()->Select(index, Kind::Transition);
    const double selected = Ms(timer.nsecsElapsed());
    CLREffectExplorerWnd& explorer = *step.window->Explorer();
    QString quoted = first;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    const QString taken = QStringLiteral("window.kelvanaState && kelvanaState.toAs && kelvanaState.toAs.first === '%1'").arg(quoted);
    Start start;
    start.select = selected;
    start.call = WaitFor(explorer, timer, taken, 15000);
    if (start.call >= 0)
        start.pictures = WaitFor(explorer, timer, taken + QStringLiteral(" && kelvanaState.toAs.firstLoaded && kelvanaState.toAs.secondLoaded"), 15000);
    return start;
}

int Preview(EditStep& step, int rounds)
{
    const int count = step.Album().Count();
    std::vector<double> stripPaints, callFunction, roundTrips, coldCall, coldPictures, afterPhotoCall, afterPhotoPictures, afterGapCall, afterGapPictures;
    const Start cold = SelectGap(step, 1);
    coldCall.push_back(cold.call);
    coldPictures.push_back(cold.pictures);
    int failures = cold.call < 0 ? 1 : 0;
    for (int r = 0; r < rounds; ++r) {
        const int photo = (r * 7 + 3) % count;
        SelectPhoto(step, photo);
        const Start afterPhoto = SelectGap(step, photo);
        for (int k = 0; k < 3; ++k)
            roundTrips.push_back(RoundTrip(*step.window->Explorer()));
        // How long the movie's own toAs runs (it prepares the effect).
        Evaluate(*step.window->Explorer(),
                 QStringLiteral("if (!window.__timedToAs) { const f = window.toAs; window.toAs = function (a, b, c) {"
                                " const t = performance.now(); f(a, b, c); window.__toAsMs = performance.now() - t; };"
                                " window.__timedToAs = true; } 0"));
        {
            // A call into the movie through the control alone, as the explorer makes it.
            QElapsedTimer call;
            call.start();
            double doneAt = -1;
            step.window->Explorer()->Player().CallFunctionAsync(
                CMoviePlayer::InvokeRequest(QStringLiteral("frameNum"), QString(), {}),
                [&](bool) { doneAt = Ms(call.nsecsElapsed()); });
            QTimer wake;
            wake.start(5);
            while (doneAt < 0 && call.elapsed() < 3000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            callFunction.push_back(doneAt);
            // The strip painted again while the movie's view is in the window.
            for (int k = 0; k < 3; ++k) {
                call.restart();
                step.window->Strip()->repaint();
                stripPaints.push_back(Ms(call.nsecsElapsed()));
            }
        }
        const Start afterGap = SelectGap(step, (photo + 1) % count);
        const QVariant toAsMs = Evaluate(*step.window->Explorer(), QStringLiteral("window.__toAsMs"));
        const QVariant effect = Evaluate(*step.window->Explorer(), QStringLiteral("kelvanaState.toAs.effect"));
        std::printf("gap_after_gap effect=%s select=%.1f taken=%.1f pictures=%.1f toAs_runs_ms=%.1f\n",
                    qPrintable(effect.toString()), afterGap.select, afterGap.call, afterGap.pictures, toAsMs.toDouble());
        failures += (afterPhoto.call < 0 ? 1 : 0) + (afterGap.call < 0 ? 1 : 0);
        afterPhotoCall.push_back(afterPhoto.call);
        afterPhotoPictures.push_back(afterPhoto.pictures);
        afterGapCall.push_back(afterGap.call);
        afterGapPictures.push_back(afterGap.pictures);
    }
    std::printf("preview_rounds=%d failures=%d\n", rounds, failures);
    Print("first_gap_taken", coldCall);
    Print("first_gap_pictures", coldPictures);
    Print("gap_after_photo_taken", afterPhotoCall);
    Print("gap_after_photo_pictures", afterPhotoPictures);
    Print("gap_after_gap_taken", afterGapCall);
    Print("gap_after_gap_pictures", afterGapPictures);
    Print("movie_round_trip", roundTrips);
    Print("movie_call_function", callFunction);
    Print("strip_repaint_with_movie", stripPaints);
    return failures;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Platform::PrepareWebEngine();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("make")) {
        const QString folder = QDir(args[2]).absolutePath();
        return BenchPhotos::Make(folder, args[3].toInt(), [&](int i) { return PhotoPath(folder, i); }, SyntheticPhoto, 85);
    }
    if (args.size() >= 4 && (args[1] == QLatin1String("photos") || args[1] == QLatin1String("preview"))) {
        const QString folder = QDir(args[2]).absolutePath();
        EditStep step;
        if (!step.Open(folder, args[3].toInt()))
            return 1;
        if (args[1] == QLatin1String("photos")) {
            const int failures = PhotoVisits(step, args.size() >= 5 ? args[4].toInt() : 40);
            Drags(step, folder);
            return failures == 0 ? 0 : 1;
        }
        return Preview(step, args.size() >= 5 ? args[4].toInt() : 5) == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: editstep_bench make FOLDER COUNT | photos FOLDER COUNT [VISITS] | preview FOLDER COUNT [ROUNDS]\n");
    return 2;
}
