#include "editor/generation/ScreenSaverPackager.h"
#include "editor/generation/XScreenSaverInstall.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace XScreenSaverInstall;

namespace {
QString Preferences() { return QDir::homePath() + "/.xscreensaver"; }

struct Parsed {
    QStringList programs;
    QString selected;
    QString mode;
};

Parsed Parse(const QString& text)
{
    Parsed parsed;
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith("selected:"))
            parsed.selected = lines[i].mid(9).trimmed();
        if (lines[i].startsWith("mode:"))
            parsed.mode = lines[i].mid(5).trimmed();
        if (lines[i].startsWith("programs:")) {
            QString value;
            int j = i;
            QString line = lines[j].mid(9);
            while (line.endsWith('\\') && j + 1 < lines.size()) {
                value += line.chopped(1);
                line = lines[++j];
            }
            value += line;
            parsed.programs = ParsePrograms(value);
        }
    }
    return parsed;
}
} // namespace

TEST(XScreenSaverInstall, EntryNames)
{
    EXPECT_EQ(EntryName("\"Trip\"  '/a/Trip.scr' --root"), "Trip");
    EXPECT_EQ(EntryName("- GL: \"Cubes\" cubes --root"), "Cubes");
    EXPECT_EQ(EntryName("maze --root"), "");
    EXPECT_EQ(Command("/a/it's.scr"), "'/a/it'\\''s.scr' --root");
}

TEST(XScreenSaverInstall, AddsOrReplacesTheEntrySelectsItAndSwitchesOffToOne)
{
    const QString existing = "# XScreenSaver Preferences File\n"
                             "timeout:\t0:10:00\n"
                             "mode:\t\toff\n"
                             "selected:\t1\n"
                             "programs:\t\t\t\t\t\t\t\t      \\\n"
                             "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                             "- GL: \t\t\t\tsuperquadrics --root\t\t    \\n\\\n"
                             "\t\t\"Trip\"  '/old/Trip.scr' --root\t\t    \\n\\\n"
                             "\t\t\t\tqix --root\t\t\t\t    \\n\n"
                             "\n"
                             "pointerHysteresis: 10\n";
    const QString once = UpdatePreferences(existing, "Trip", Command("/new/Trip.scr"), {});
    const Parsed parsed = Parse(once);
    ASSERT_EQ(parsed.programs.size(), 4);
    EXPECT_EQ(parsed.programs[2], "\"Trip\"  '/new/Trip.scr' --root");
    EXPECT_EQ(parsed.programs[1], "- GL: \t\t\t\tsuperquadrics --root");
    EXPECT_EQ(parsed.selected, "2");
    EXPECT_EQ(parsed.mode, "one");
    EXPECT_TRUE(once.contains("pointerHysteresis: 10\n"));
    EXPECT_TRUE(once.contains("timeout:\t0:10:00\n"));

    const Parsed added = Parse(UpdatePreferences(once, "Other", Command("/x/Other.scr"), {}));
    ASSERT_EQ(added.programs.size(), 5);
    EXPECT_EQ(added.selected, "4");
    // Another mode than "off" stays.
    const Parsed random = Parse(UpdatePreferences("mode:\t\trandom\n", "Trip", "t --root", {"maze --root"}));
    EXPECT_EQ(random.mode, "random");
    EXPECT_EQ(random.programs, QStringList({"maze --root", "\"Trip\"  t --root"}));
    EXPECT_EQ(random.selected, "1");
}

TEST(XScreenSaverInstall, InstallNamesTheEntryAfterTheAlbum)
{
    if (QStandardPaths::findExecutable("xscreensaver").isEmpty())
        GTEST_SKIP() << "xscreensaver is not installed";
    const QString folder = TestSupport::MakeFolder("My.Show");
    const auto packaged = CScreenSaverPackager(TestSupport::AppDir()).Package(folder);
    ASSERT_TRUE(packaged.ok);
    ASSERT_TRUE(Install(packaged.path));
    ASSERT_TRUE(Install(packaged.path)); // installing again replaces the entry
    const Parsed parsed = Parse(QString::fromUtf8(TestSupport::ReadAll(Preferences())));
    const QString entry = "\"My.Show\"  " + Command(packaged.path);
    EXPECT_EQ(parsed.programs.count(entry), 1);
    EXPECT_EQ(parsed.selected, QString::number(parsed.programs.indexOf(entry)));
}

TEST(XScreenSaverInstall, FalseWithoutXScreenSaver)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", TestSupport::MakeFolder("emptybin").toUtf8());
    EXPECT_FALSE(Install(TestSupport::AppDir() + "/album.scr"));
    qputenv("PATH", path); // later tests of this process start programs
    EXPECT_FALSE(QFileInfo::exists(Preferences()));
}
