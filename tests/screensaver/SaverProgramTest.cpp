// The screen-saver program itself under a virtual X display, playing an album
// made from a template: full screen over the darkened desktop, and as a
// preview inside another program's window.
#include "screensaver/DesktopSmear.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

struct SaverRun {
    bool ran = false;
    QJsonObject state;
    QString windows;
    QImage screen;
    QString ended;
};

bool HaveXvfb()
{
    return !QStandardPaths::findExecutable("xvfb-run").isEmpty()
           && !QStandardPaths::findExecutable("xwininfo").isEmpty()
           && !QStandardPaths::findExecutable("import").isEmpty()
           && !QStandardPaths::findExecutable("display").isEmpty();
}

// A saver copied as D/Trip.scr beside the album Trip.js and Trip.xml (an
// 800 x 600 template), with slides of a minute so that the first photo is
// still there when the screen is looked at.
QString MakeSaverAlbum(QStringList* photos)
{
    const QString folder = TestSupport::MakeFolder("Show");
    *photos = TestSupport::WriteTemplateAlbum(folder, "Trip", 60);
    QFile::copy(TestSupport::AppDir() + "/album.scr", folder + "/Trip.scr");
    return folder + "/Trip.scr";
}

// Runs run_saver.sh under xvfb-run on a 1280 x 800 screen with a white desktop.
SaverRun RunSaver(const QStringList& arguments)
{
    SaverRun run;
    const QString out = TestSupport::MakeFolder("out");
    const QString stateFile = TestSupport::TempDir() + "state.json";
    QFile::remove(stateFile);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("KELVANA_MOVIE_STATE_FILE", stateFile);
    process.setProcessEnvironment(env);
    process.start("xvfb-run", QStringList{"-a", "-s", "-screen 0 1280x800x24 -wr", "sh", KELVANA_SAVER_SCRIPT, out}
                                  + arguments);
    if (!process.waitForFinished(240000) || process.exitCode() != 0) {
        ADD_FAILURE() << "xvfb-run failed: " << process.readAllStandardError().toStdString();
        process.kill();
        return run;
    }
    run.ran = true;
    run.state = QJsonDocument::fromJson(TestSupport::ReadAll(stateFile)).object();
    run.windows = QString::fromUtf8(TestSupport::ReadAll(out + "/windows.txt"));
    run.screen = QImage(out + "/screen.png");
    run.ended = QString::fromUtf8(TestSupport::ReadAll(out + "/ended.txt")).trimmed();
    if (run.state.isEmpty())
        ADD_FAILURE() << "the movie never showed its first photo; saver output:\n"
                      << TestSupport::ReadAll(out + "/saver.log").right(3000).toStdString();
    return run;
}

// The movie showed the album's first photo and nothing went missing.
void ExpectFirstPhotoState(const QJsonObject& state)
{
    EXPECT_EQ(state.value("slideCount").toInt(), 6);
    EXPECT_EQ(state.value("currentSlide").toInt(), 0);
    EXPECT_EQ(state.value("shownSlides").toArray(), QJsonArray({0}));
    EXPECT_TRUE(state.value("skipped").toArray().isEmpty());
}

std::string Distances(const QList<double>& distances)
{
    QStringList texts;
    for (double d : distances)
        texts << QString::number(d, 'f', 1);
    return "distances to the photos: " + texts.join(", ").toStdString();
}

} // namespace

TEST(SaverProgram, FullScreenShowsTheDarkenedDesktopWithTheMovieInTheMiddle)
{
    if (!HaveXvfb())
        GTEST_SKIP() << "needs xvfb-run, xwininfo and ImageMagick's import and display";
    QStringList photos;
    const QString saver = MakeSaverAlbum(&photos);
    ASSERT_EQ(photos.size(), 6);
    const SaverRun run = RunSaver({"full", saver});
    ASSERT_TRUE(run.ran);
    ExpectFirstPhotoState(run.state);
    TestSupport::KeepScreenshot(run.screen, "saver-full-screen");
    ASSERT_EQ(run.screen.size(), QSize(1280, 800));

    // The white desktop, smeared and darkened, around an 800 x 600 movie in the
    // middle of the screen, which shows the first photo.
    QImage white(8, 8, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QColor darkened = DesktopSmear::Background(white).pixelColor(0, 0);
    for (const QPoint at : {QPoint(5, 5), QPoint(1274, 794), QPoint(235, 400), QPoint(640, 95), QPoint(1045, 400)})
        EXPECT_EQ(run.screen.pixelColor(at), darkened) << at.x() << "," << at.y();
    QList<double> distances;
    EXPECT_EQ(TestSupport::NearestPhoto(run.screen, QRect(240, 100, 800, 600), photos, &distances), 0)
        << Distances(distances);
    EXPECT_TRUE(run.windows.contains(QRegularExpression("\"Trip\": \\([^)]*\\)\\s+1280x800\\+0\\+0")))
        << run.windows.toStdString();
    EXPECT_EQ(run.ended.toStdString(), "0"); // stopped cleanly by SIGTERM
}

TEST(SaverProgram, PreviewPlaysInsideTheHostWindowAndEndsWithIt)
{
    if (!HaveXvfb())
        GTEST_SKIP() << "needs xvfb-run, xwininfo and ImageMagick's import and display";
    QStringList photos;
    const QString saver = MakeSaverAlbum(&photos);
    ASSERT_EQ(photos.size(), 6);
    // The host window: a green 640 x 480 picture at (100, 100).
    const QString picture = TestSupport::TempDir() + "host.png";
    QImage green(640, 480, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    ASSERT_TRUE(green.save(picture));
    const SaverRun run = RunSaver({"preview", saver, picture});
    ASSERT_TRUE(run.ran);
    ExpectFirstPhotoState(run.state);
    TestSupport::KeepScreenshot(run.screen, "saver-preview");

    // The 800 x 600 movie is centred in the host window's 640 x 480 and cut
    // off by it: its middle shows the first photo, and nothing is drawn
    // outside the host window.
    const QRect host(100, 100, 640, 480);
    QList<double> distances;
    EXPECT_EQ(TestSupport::NearestPhoto(run.screen, QRect(host.x() - 80, host.y() - 60, 800, 600), photos, &distances), 0)
        << Distances(distances);
    for (const QPoint at : {QPoint(50, 50), QPoint(host.right() + 20, host.center().y()), QPoint(host.center().x(), host.bottom() + 20)})
        EXPECT_EQ(run.screen.pixelColor(at), QColor(Qt::white)) << at.x() << "," << at.y();
    EXPECT_EQ(run.ended.toStdString(), "0") << "the preview did not end with its host window";
}
