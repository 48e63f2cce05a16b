#include "common/FileUtils.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace FileUtils;

using TestSupport::WriteAll;

namespace {
int ModeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}
} // namespace

TEST(FileUtils, ValidPath)
{
    const struct {
        const char* path;
        bool valid;
    } cases[] = {
        {"/home/ann/Trip", true}, {"/a", true}, {"/", false}, {"", false}, {"relative/path", false},
        {"/home//ann", false}, {"/home/a:b", false}, {"/home/a*b", false}, {"/home/a?b", false},
        {"/home/a\"b", false}, {"/home/a<b", false}, {"/home/a>b", false}, {"/home/a|b", false},
        {"/home/a\\b", false}, {"/home/a\tb", false}, {"/home/ann/", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidPath(QString::fromLatin1(c.path)), c.valid) << c.path;
}

TEST(FileUtils, MakePathCreatesLevelsAndRefusesInvalidPaths)
{
    const QString deep = TestSupport::TempDir() + "a/b/c";
    EXPECT_TRUE(MakePath(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(MakePath(deep)); // already there
    EXPECT_FALSE(MakePath(TestSupport::TempDir() + "bad?name/x"));
    EXPECT_FALSE(QFileInfo::exists(TestSupport::TempDir() + "bad?name"));
    WriteAll(TestSupport::TempDir() + "file", "x");
    EXPECT_FALSE(MakePath(TestSupport::TempDir() + "file/sub")); // a file stands in the way
}

TEST(FileUtils, UniqueNameSplitsAtTheFirstTwoDots)
{
    const QString folder = TestSupport::TempDir() + "u/";
    QDir().mkpath(folder);
    WriteAll(folder + "a.jpg", "x");
    QString name = "a.jpg";
    EXPECT_TRUE(UniqueName(folder, name));
    EXPECT_EQ(name, "a1.jpg");
    WriteAll(folder + "a1.jpg", "x");
    name = "a.jpg";
    EXPECT_TRUE(UniqueName(folder, name));
    EXPECT_EQ(name, "a2.jpg");
    name = "my.photo.jpg";
    EXPECT_TRUE(UniqueName(folder, name));
    EXPECT_EQ(name, "my1.photo");
    for (int i = 1; i <= 100; ++i)
        WriteAll(folder + QStringLiteral("z%1.png").arg(i), "x");
    name = "z.png";
    EXPECT_FALSE(UniqueName(folder, name));
    EXPECT_EQ(name, "z.png");
}

TEST(FileUtils, TempNamesAreChosenByExistence)
{
    const QString first = MakeTempPath("~tmp", "jpg");
    EXPECT_EQ(first, TestSupport::TempDir() + "~tmp0.jpg");
    EXPECT_EQ(MakeTempPath("~tmp", "jpg"), first); // nothing was written
    WriteAll(first, "x");
    EXPECT_EQ(MakeTempPath("~tmp", "jpg"), TestSupport::TempDir() + "~tmp1.jpg");
    EXPECT_EQ(MakeTempPath(), TestSupport::TempDir() + "~0.tmp");
    QFile::remove(first);
}

TEST(FileUtils, TempDirFallsBackToTmpWhenTmpdirIsMissing)
{
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(TestSupport::TempDir() + "missing"));
    const QString temp = TempDir();
    qputenv("TMPDIR", saved);
    EXPECT_EQ(temp, "/tmp/");
    EXPECT_EQ(TempDir(), TestSupport::TempDir());
}

// Temporary files are made owner-only and never through a link or into a file
// someone else planted at the name.
TEST(FileUtils, TempFilesAreMadeOwnerOnlyAndSkipPlantedNames)
{
    ::umask(022); // the usual mask, which leaves new files readable by everyone
    const QString temp = TestSupport::TempDir();
    const QString victim = TestSupport::MakeFolder("victim") + "/secret";
    WriteAll(victim, "keep");
    ASSERT_TRUE(QFile::link(victim, temp + "~tmp0.jpg"));
    ASSERT_TRUE(QFile::link(temp + "victim/new", temp + "~tmp1.jpg")); // a link to nothing yet
    const bool root = ::geteuid() == 0;
    if (root) { // a file of another user ("nobody") at the next name
        WriteAll(temp + "~tmp2.jpg", "");
        ASSERT_EQ(::chown(QFile::encodeName(temp + "~tmp2.jpg").constData(), 65534, 65534), 0);
        ::chmod(QFile::encodeName(temp + "~tmp2.jpg").constData(), 0666);
    }
    const QString made = CreateTempFile("~tmp", "jpg");
    EXPECT_EQ(made, temp + (root ? "~tmp3.jpg" : "~tmp2.jpg"));
    EXPECT_EQ(QFileInfo(made).size(), 0);
    EXPECT_FALSE(QFileInfo(made).isSymLink());
    EXPECT_EQ(ModeOf(made), 0600);
    EXPECT_EQ(CreateTempFile("~tmp", "jpg"), temp + (root ? "~tmp4.jpg" : "~tmp3.jpg")); // taken now
    EXPECT_EQ(TestSupport::ReadAll(victim), "keep");
    EXPECT_FALSE(QFileInfo::exists(temp + "victim/new"));
    EXPECT_EQ(CreateTempFile("x", "tmp"), temp + "x0.tmp");
}

TEST(FileUtils, TemporaryFoldersAreClaimedOnce)
{
    const QString a = TemporaryFolder(true);
    const QString b = TemporaryFolder(true);
    EXPECT_EQ(a, TestSupport::TempDir() + "0/");
    EXPECT_EQ(b, TestSupport::TempDir() + "1/");
    EXPECT_TRUE(QFileInfo(a).isDir());
    EXPECT_EQ(TemporaryFolder(false), TestSupport::TempDir() + "2/");
    EXPECT_FALSE(QFileInfo::exists(TestSupport::TempDir() + "2"));
}

TEST(FileUtils, CopyEmptyAndDeleteHandleReadOnlyFiles)
{
    const QString from = TestSupport::MakeFolder("from");
    const QString to = TestSupport::MakeFolder("to");
    WriteAll(from + "/one.txt", "new");
    WriteAll(from + "/two.txt", "two");
    QDir().mkpath(from + "/sub");
    WriteAll(to + "/one.txt", "old");
    QFile::setPermissions(to + "/one.txt", QFile::ReadOwner);

    EXPECT_TRUE(CopyFolderFiles(from, to, true));
    EXPECT_EQ(TestSupport::ReadAll(to + "/one.txt"), "old"); // kept
    EXPECT_EQ(TestSupport::ReadAll(to + "/two.txt"), "two");
    EXPECT_FALSE(QFileInfo::exists(to + "/sub"));
    EXPECT_TRUE(CopyFolderFiles(from, to, false));
    EXPECT_EQ(TestSupport::ReadAll(to + "/one.txt"), "new"); // read-only target replaced
    EXPECT_FALSE(CopyFolderFiles(from + "/missing", to, false));

    EmptyFolder(from);
    EXPECT_FALSE(QFileInfo::exists(from + "/one.txt"));
    EXPECT_TRUE(QFileInfo(from + "/sub").isDir());

    QDir().mkpath(to + "/deep/er");
    WriteAll(to + "/deep/er/f", "x");
    QFile::setPermissions(to + "/deep/er", QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(DeleteTree(to));
    EXPECT_FALSE(QFileInfo::exists(to));
}

TEST(FileUtils, ComponentsAndBitmapNames)
{
    EXPECT_EQ(LastComponent("/out/Trip/"), "Trip");
    EXPECT_EQ(LastComponent("/out/Trip"), "Trip");
    EXPECT_EQ(LastComponent("Trip"), "Trip");
    EXPECT_EQ(FolderOf("/a/b/c.qem"), "/a/b");
    EXPECT_TRUE(IsBitmap("/x/b.BMP"));
    EXPECT_FALSE(IsBitmap("/x/b.bmp.jpg"));
}

TEST(FileUtils, FileTimeUsesWindowsUnits)
{
    const QString path = TestSupport::TempDir() + "t";
    WriteAll(path, "x");
    const QDateTime when(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    // 2020-01-02 03:04:05 UTC is 132224078450000000 in 100 ns units since 1601.
    EXPECT_EQ(FileTimeOf(path), 132224078450000000ULL);
    EXPECT_EQ(FileTimeOf(TestSupport::TempDir() + "missing"), 0u);
}

TEST(FileUtils, CopyingAFileOntoItselfSucceedsAndKeepsIt)
{
    const QString folder = TestSupport::MakeFolder("same");
    WriteAll(folder + "/song.mp3", "music");
    ASSERT_TRUE(QFile::link(folder + "/song.mp3", folder + "/link.mp3"));
    ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
    // The same file under its own path, another spelling of it, and a link to it.
    for (const QString& to : {folder + "/song.mp3", folder + "/sub/../song.mp3", folder + "/link.mp3"}) {
        EXPECT_TRUE(CopyFile(to, folder + "/song.mp3")) << to.toStdString();
        EXPECT_EQ(TestSupport::ReadAll(folder + "/song.mp3"), "music") << to.toStdString();
    }
    // A different file is still replaced.
    WriteAll(folder + "/other.mp3", "other");
    EXPECT_TRUE(CopyFile(folder + "/other.mp3", folder + "/song.mp3"));
    EXPECT_EQ(TestSupport::ReadAll(folder + "/other.mp3"), "music");
}
