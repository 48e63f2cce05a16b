// The player program itself, started under a virtual X display.
#include "editor/generation/ExeAlbumPackager.h"
#include "player/MovieFit.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using TestSupport::ReadAll;
using TestSupport::WriteAll;

namespace {

struct PlayersRun {
    bool ran = false;
    QString windows;
    QStringList during;
    QStringList after;
    QImage screen;
    std::string logs; // what each program wrote, for a failure's message
};

QStringList Lines(const QString& path)
{
    return QString::fromUtf8(ReadAll(path)).split('\n', Qt::SkipEmptyParts);
}

// Starts the programs together under xvfb-run (white root window), with
// `playerTemp` as their temporary folder. With a `stateFile` the screen is
// looked at once the movie has written its state there.
PlayersRun RunPlayers(const QStringList& programs, const QString& playerTemp, const QString& stateFile = QString())
{
    PlayersRun run;
    const QString out = TestSupport::MakeFolder("out");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    if (!stateFile.isEmpty()) {
        QFile::remove(stateFile);
        env.insert("KELVANA_MOVIE_STATE_FILE", stateFile);
    }
    process.setProcessEnvironment(env);
    process.start("xvfb-run", QStringList{"-a", "-s", "-screen 0 1024x768x24 -wr", "sh", KELVANA_PLAYER_SCRIPT, out, playerTemp}
                                  + programs);
    if (!process.waitForFinished(180000) || process.exitCode() != 0) {
        ADD_FAILURE() << "xvfb-run failed: " << process.readAllStandardError().toStdString();
        process.kill();
        return run;
    }
    run.ran = true;
    run.windows = QString::fromUtf8(ReadAll(out + "/windows.txt"));
    run.during = Lines(out + "/during.txt");
    run.after = Lines(out + "/after.txt");
    run.screen = QImage(out + "/screen.png");
    for (const QString& log : QDir(out).entryList({"*.log"}, QDir::Files))
        run.logs += "--- " + log.toStdString() + "\n" + ReadAll(out + "/" + log).toStdString();
    return run;
}

// The geometry xwininfo shows for the top-level window with this title (Qt's
// helper windows of the same name have no class).
QRect WindowGeometry(const QString& windows, const QString& title)
{
    const QRegularExpression pattern("\"" + QRegularExpression::escape(title)
                                     + "\": \\(\"[^)]*\\)\\s+(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)");
    const QRegularExpressionMatch m = pattern.match(windows);
    if (!m.hasMatch())
        return QRect();
    return QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
}

bool HaveXvfb()
{
    return !QStandardPaths::findExecutable("xvfb-run").isEmpty()
           && !QStandardPaths::findExecutable("xwininfo").isEmpty()
           && !QStandardPaths::findExecutable("import").isEmpty();
}

QString PlayerTemplate() { return TestSupport::AppDir() + "/Sources/Player"; }

} // namespace

TEST(PlayerProgram, AnUnpackagedCopyOpensABlackWindowTitledWithItsNameAndCreatesNoFolder)
{
    if (!HaveXvfb())
        GTEST_SKIP() << "needs xvfb-run, xwininfo and ImageMagick's import";
    const QString bin = TestSupport::MakeFolder("bin");
    ASSERT_TRUE(QFile::copy(PlayerTemplate(), bin + "/MyAlbum"));
    const QString playerTemp = TestSupport::MakeFolder("playertemp");
    const PlayersRun run = RunPlayers({bin + "/MyAlbum"}, playerTemp);
    ASSERT_TRUE(run.ran);
    const QRect window = WindowGeometry(run.windows, "MyAlbum");
    ASSERT_FALSE(window.isEmpty()) << run.windows.toStdString();
    EXPECT_EQ(run.during, QStringList());
    ASSERT_FALSE(run.screen.isNull());
    EXPECT_EQ(run.screen.pixelColor(window.center()), QColor(Qt::black));
    EXPECT_EQ(run.screen.pixelColor(window.right() + 20, window.bottom() + 20), QColor(Qt::white));
}

TEST(PlayerProgram, TwoAlbumsStartedAtOnceUnpackIntoDifferentFoldersAndCleanUp)
{
    if (!HaveXvfb())
        GTEST_SKIP() << "needs xvfb-run, xwininfo and ImageMagick's import";
    AlbumOutput album;
    ASSERT_TRUE(album.MakeFolders(TestSupport::TempDir() + "album"));
    WriteAll(album.RootFolder() + "Trip.js", "// movie");
    WriteAll(album.RootFolder() + "Trip.xml", "<SaveDatas/>");
    WriteAll(album.PhotoFolder() + "a.jpg", QByteArray(300000, 'a'));
    QFile::setPermissions(album.PhotoFolder() + "a.jpg", QFileDevice::ReadOwner); // read-only
    const QString bin = TestSupport::MakeFolder("bin");
    for (const char* name : {"One", "Two"})
        ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(bin + "/" + name, PlayerTemplate(), album));

    const QString playerTemp = TestSupport::MakeFolder("playertemp");
    const PlayersRun run = RunPlayers({bin + "/One", bin + "/Two"}, playerTemp);
    ASSERT_TRUE(run.ran);
    EXPECT_FALSE(WindowGeometry(run.windows, "One").isEmpty()) << run.logs;
    EXPECT_FALSE(WindowGeometry(run.windows, "Two").isEmpty()) << run.logs;
    EXPECT_EQ(run.during, QStringList({"0", "1"})) << run.logs;
    EXPECT_EQ(run.after, QStringList());
}

TEST(PlayerProgram, APackagedAlbumPlaysItsMovieShowingTheFirstPhotoAndCleansUp)
{
    if (!HaveXvfb())
        GTEST_SKIP() << "needs xvfb-run, xwininfo and ImageMagick's import";
    AlbumOutput album;
    ASSERT_TRUE(album.MakeFolders(TestSupport::TempDir() + "album"));
    // Slides of a minute each, so that the first photo is still there when the
    // screen is looked at, however slow the machine.
    const QStringList photos = TestSupport::WriteTemplateAlbum(album.RootFolder(), "Trip", 60);
    ASSERT_EQ(photos.size(), 6);
    const QString bin = TestSupport::MakeFolder("bin");
    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(bin + "/Holiday", PlayerTemplate(), album));

    const QString playerTemp = TestSupport::MakeFolder("playertemp");
    const QString stateFile = TestSupport::TempDir() + "state.json";
    const PlayersRun run = RunPlayers({bin + "/Holiday"}, playerTemp, stateFile);
    ASSERT_TRUE(run.ran);
    const QJsonObject state = QJsonDocument::fromJson(ReadAll(stateFile)).object();
    ASSERT_FALSE(state.isEmpty()) << "the movie never showed its first photo";
    EXPECT_EQ(state.value("slideCount").toInt(), 6);
    EXPECT_EQ(state.value("currentSlide").toInt(), 0);
    EXPECT_EQ(state.value("shownSlides").toArray(), QJsonArray({0}));
    EXPECT_TRUE(state.value("skipped").toArray().isEmpty());
    const QString source = state.value("configSource").toString();
    EXPECT_TRUE(source == "fetch" || source == "xhr") << source.toStdString(); // read beside the unpacked movie
    EXPECT_TRUE(state.value("music").toObject().value("url").toString().endsWith("/res/classic.mp3"));

    // The first photo fills the movie, which the fitting rule placed; the
    // rest of the window is black.
    TestSupport::KeepScreenshot(run.screen, "player-album");
    const QRect window = WindowGeometry(run.windows, "Holiday");
    ASSERT_FALSE(window.isEmpty()) << run.windows.toStdString();
    const QRect movie = MovieFit::Place(window.size()).translated(window.topLeft());
    ASSERT_GT(window.width(), movie.width() + 20);
    QList<double> distances;
    EXPECT_EQ(TestSupport::NearestPhoto(run.screen, movie, photos, &distances), 0)
        << "distances to the photos: " << QStringList([&] {
               QStringList texts;
               for (double d : distances)
                   texts << QString::number(d, 'f', 1);
               return texts;
           }()).join(", ").toStdString();
    EXPECT_EQ(run.screen.pixelColor(window.left() + 5, window.center().y()), QColor(Qt::black));
    EXPECT_EQ(run.during, QStringList({"0"}));
    EXPECT_EQ(run.after, QStringList());
}

// An album of 10,000 slides (a configuration of about 1 MB, which no page may
// carry inline) plays: the movie reads its configuration from the unpacked
// file and shows the first photo.
TEST(PlayerProgram, AnAlbumOfTenThousandSlidesPlays)
{
    AlbumOutput album;
    ASSERT_TRUE(album.MakeFolders(TestSupport::MakeFolder("big")));
    ASSERT_EQ(TestSupport::WriteTemplateAlbum(album.RootFolder(), "Big", 60).size(), 6);
    const QString configPath = album.RootFolder() + "Big.xml";
    QString config = QString::fromUtf8(ReadAll(configPath));
    QStringList slides;
    for (const QRegularExpressionMatch& m : QRegularExpression("<slide [^>]*/>").globalMatch(config))
        slides << m.captured(0).remove(QRegularExpression(" title=\"[^\"]*\""));
    ASSERT_EQ(slides.size(), 6);
    QString many;
    for (int i = 0; i < 10000; ++i)
        many += "\n\t\t" + slides[i % slides.size()];
    config.replace(QRegularExpression("<album>.*</album>", QRegularExpression::DotMatchesEverythingOption),
                   "<album>" + many + "\n\t</album>");
    WriteAll(configPath, config.toUtf8());
    const QString bin = TestSupport::MakeFolder("bin");
    ASSERT_TRUE(CExeAlbumPackager::WriteExecutable(bin + "/Big", PlayerTemplate(), album));

    const QString stateFile = TestSupport::TempDir() + "big-state.json";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", TestSupport::MakeFolder("bigtemp"));
    env.insert("KELVANA_MOVIE_STATE_FILE", stateFile);
    QProcess player;
    player.setProcessEnvironment(env);
    player.start(bin + "/Big", {});
    ASSERT_TRUE(player.waitForStarted(10000));
    // The state appears once the first photo is on screen; the player would
    // play on, so it is ended then (or after two minutes without a state).
    for (int i = 0; i < 1200 && !QFileInfo::exists(stateFile) && player.state() == QProcess::Running; ++i)
        player.waitForFinished(100);
    player.terminate();
    ASSERT_TRUE(player.waitForFinished(20000));
    const QJsonObject state = QJsonDocument::fromJson(ReadAll(stateFile)).object();
    ASSERT_FALSE(state.isEmpty()) << "the movie never showed its first photo: "
                                  << player.readAllStandardError().toStdString();
    EXPECT_EQ(state.value("slideCount").toInt(), 10000);
    EXPECT_EQ(state.value("currentSlide").toInt(), 0);
    EXPECT_TRUE(state.value("skipped").toArray().isEmpty());
    const QString source = state.value("configSource").toString();
    EXPECT_TRUE(source == "fetch" || source == "xhr") << source.toStdString();
}
