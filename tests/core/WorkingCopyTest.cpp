#include "editor/core/WorkingCopyMap.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(WorkingCopyMap, CopiesAreReducedNamedByTheSourceAndChained)
{
    const QString source = TestSupport::WritePhoto(TestSupport::TempDir() + "pics/Beach.JPG", 1000, 900);
    const QByteArray original = TestSupport::ReadAll(source);
    WorkingCopyMap map;

    const QString copy = map.MakeWorkingCopy(source, true);
    EXPECT_EQ(copy, TestSupport::TempDir() + "Beach0.JPG");
    EXPECT_EQ(QImageReader(copy).size(), QSize(400, 360));
    EXPECT_EQ(map.Current(), copy);
    EXPECT_TRUE(map.IsWorkingCopy(copy));
    EXPECT_FALSE(map.IsWorkingCopy(source));
    EXPECT_EQ(map.SourceOf(copy), source);

    // The snapshot is a copy of the copy.
    const QString snapshot = map.MakeWorkingCopy(copy, false);
    EXPECT_EQ(snapshot, TestSupport::TempDir() + "Beach00.JPG");
    EXPECT_EQ(map.Current(), copy);
    EXPECT_EQ(map.CopyMadeFrom(copy), snapshot);
    EXPECT_EQ(map.CopyMadeFrom(source), copy);
    EXPECT_EQ(map.SourceOf(snapshot), copy);

    map.Discard(snapshot);
    EXPECT_FALSE(QFileInfo::exists(snapshot));
    EXPECT_EQ(map.CopyMadeFrom(copy), QString());
    map.Discard("/not/a/copy"); // nothing happens
    map.DiscardAll();
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(map.Count(), 0);
    EXPECT_EQ(TestSupport::ReadAll(source), original); // the user's file is never written
}

TEST(WorkingCopyMap, NothingForMissingOrUndecodableFiles)
{
    WorkingCopyMap map;
    EXPECT_EQ(map.MakeWorkingCopy(TestSupport::TempDir() + "gone.jpg", true), QString());
    const QString junk = TestSupport::TempDir() + "junk.jpg";
    TestSupport::WriteAll(junk, "not a picture");
    EXPECT_EQ(map.MakeWorkingCopy(junk, true), QString());
    EXPECT_EQ(map.Count(), 0);
    EXPECT_FALSE(QFileInfo::exists(TestSupport::TempDir() + "junk0.jpg"));
}

TEST(WorkingCopyMap, CopiesAreOwnerOnlyAndNeverWrittenThroughALink)
{
    ::umask(022);
    const QString source = TestSupport::WritePhoto(TestSupport::TempDir() + "pics/Beach.jpg", 800, 600);
    const QString victim = TestSupport::MakeFolder("victim") + "/file";
    TestSupport::WriteAll(victim, "keep");
    ASSERT_TRUE(QFile::link(victim, TestSupport::TempDir() + "Beach0.jpg"));
    WorkingCopyMap map;
    const QString copy = map.MakeWorkingCopy(source, true);
    EXPECT_EQ(copy, TestSupport::TempDir() + "Beach1.jpg");
    EXPECT_EQ(ImagingTest::ModeOf(copy), 0600);
    EXPECT_EQ(QImageReader(copy).size(), QSize(480, 360));
    EXPECT_EQ(TestSupport::ReadAll(victim), "keep");
}
