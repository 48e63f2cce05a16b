// The player program itself, started under a virtual X display.
#include "editor/generation/ExeAlbumPackager.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QImage>
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
};

QStringList Lines(const QString& path)
{
    return QString::fromUtf8(ReadAll(path)).split('\n', Qt::SkipEmptyParts);
}

// Starts the programs together under xvfb-run (white root window), with
// `playerTemp` as their temporary folder.
PlayersRun RunPlayers(const QStringList& programs, const QString& playerTemp)
{
    PlayersRun run;
    const QString out = TestSupport::MakeFolder("out");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
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
    EXPECT_FALSE(WindowGeometry(run.windows, "One").isEmpty());
    EXPECT_FALSE(WindowGeometry(run.windows, "Two").isEmpty());
    EXPECT_EQ(run.during, QStringList({"0", "1"}));
    EXPECT_EQ(run.after, QStringList());
}
