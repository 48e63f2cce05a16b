#include "common/ResourceArea.h"
#include "editor/generation/ScreenSaverPackager.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using TestSupport::ReadAll;

namespace {
// The program bytes of a saver file: everything before its resource area.
QByteArray ProgramPart(const QString& path)
{
    const QByteArray bytes = ReadAll(path);
    const auto block = ResourceArea::ReadBlock(path);
    return block ? bytes.left(bytes.size() - block->size() - 12) : bytes;
}

QStringList Names(const QString& path)
{
    const auto block = ResourceArea::ReadBlock(path);
    if (!block)
        return {};
    return ResourceArea::ReadStringBlock(*block).value_or(QStringList{"<malformed>"});
}
} // namespace

TEST(ScreenSaverPackager, TheBuiltProgramCarriesTheDefaultName)
{
    const QString built = TestSupport::AppDir() + "/album.scr";
    ASSERT_TRUE(QFileInfo(built).isExecutable());
    const QStringList names = Names(built);
    ASSERT_GE(names.size(), 2);
    EXPECT_EQ(names[0], "");
    EXPECT_EQ(names[1], "My Album ScreenSaver");
}

TEST(ScreenSaverPackager, AFolderWithADotGivesItsNameBlockAndFile)
{
    const CScreenSaverPackager packager(TestSupport::AppDir());
    const QString folder = TestSupport::MakeFolder("out/My.Show");
    for (const QString& given : {folder, folder + "/"}) { // with and without the trailing "/"
        EXPECT_EQ(CScreenSaverPackager::AlbumName(given), "My.Show");
        const CScreenSaverPackager::Result result = packager.Package(given);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.path, folder + "/My.scr");
        EXPECT_EQ(Names(result.path), QStringList({"", "My.Show", "My.Show.js"}));
        EXPECT_EQ(ProgramPart(result.path), ProgramPart(packager.TemplatePath()));
        EXPECT_TRUE(QFileInfo(result.path).isExecutable());
    }
    // Packaging again replaced the earlier copy: one area, same size.
    EXPECT_EQ(QFileInfo(folder + "/My.scr").size(),
              ProgramPart(packager.TemplatePath()).size() + CScreenSaverPackager::NameBlock("My.Show").size() + 12);
}

TEST(ScreenSaverPackager, NameBlockBytes)
{
    // String 0 empty, 1 "Ab", 2 "Ab.js": 16-bit lengths and UTF-16LE units.
    const QByteArray expected("\x00\x00"
                              "\x02\x00" "A\x00" "b\x00"
                              "\x05\x00" "A\x00" "b\x00" ".\x00" "j\x00" "s\x00",
                              2 + 2 + 4 + 2 + 10);
    EXPECT_EQ(CScreenSaverPackager::NameBlock("Ab"), expected);
    // Non-Latin names are UTF-16 code units.
    EXPECT_EQ(ResourceArea::ReadStringBlock(CScreenSaverPackager::NameBlock(QString::fromUtf8("假期")))->at(1),
              QString::fromUtf8("假期"));
}

TEST(ScreenSaverPackager, AMissingTemplateStillGivesThePath)
{
    const CScreenSaverPackager packager(TestSupport::MakeFolder("noapp"));
    const QString folder = TestSupport::MakeFolder("Holiday");
    const CScreenSaverPackager::Result result = packager.Package(folder);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, folder + "/Holiday.scr");
    EXPECT_FALSE(QFileInfo::exists(result.path));
}

TEST(ScreenSaverPackager, ACopyCutShortLeavesNoSaver)
{
    const CScreenSaverPackager packager(TestSupport::AppDir());
    const QString folder = TestSupport::MakeFolder("Full");
    const qint64 size = QFileInfo(packager.TemplatePath()).size();
    ASSERT_GT(size, 8192);
    // A file-size limit below the program's size fails the copy as a full disk does.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = rlim_t(size / 2);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const CScreenSaverPackager::Result result = packager.Package(folder);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, folder + "/Full.scr");
    EXPECT_FALSE(QFileInfo::exists(result.path));
}

TEST(ResourceArea, ReplacingStripsTheOldAreaAndRefusesForeignEndings)
{
    const QString path = TestSupport::TempDir() + "prog";
    TestSupport::WriteAll(path, "PROGRAM");
    EXPECT_FALSE(ResourceArea::ReadBlock(path).has_value());
    ASSERT_TRUE(ResourceArea::ReplaceBlock(path, "first block"));
    ASSERT_TRUE(ResourceArea::ReplaceBlock(path, "2nd"));
    EXPECT_EQ(ReadAll(path), QByteArray("PROGRAM2nd\x03\x00\x00\x00QEMRSRC1", 7 + 3 + 4 + 8));
    EXPECT_EQ(*ResourceArea::ReadBlock(path), "2nd");
    // A length that reaches before the file's start is not an area.
    TestSupport::WriteAll(path, QByteArray("xx\xff\x00\x00\x00QEMRSRC1", 14));
    EXPECT_FALSE(ResourceArea::ReadBlock(path).has_value());
    EXPECT_FALSE(ResourceArea::ReadStringBlock(QByteArray("\x05\x00" "a\x00", 4)).has_value());
}
