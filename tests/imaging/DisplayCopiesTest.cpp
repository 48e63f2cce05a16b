#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

bool IsPng(const QString& path) { return TestSupport::ReadAll(path).startsWith("\x89PNG"); }

} // namespace

TEST(DisplayCopies, PngDataUnderJpgNamesMadeOnDemand)
{
    const QString dir = TestSupport::MakeFolder("photos");
    const QString big = ImagingTest::Write(dir + "/big.jpg", ImagingTest::Pattern(4000, 3000));
    const QString small = ImagingTest::Write(dir + "/small.png", ImagingTest::Pattern(300, 200));
    DisplayCopies copies;

    const auto record = copies.DisplayRecordOf(big);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->copyPath, TestSupport::TempDir() + "~tmp0.jpg");
    EXPECT_FLOAT_EQ(record->scale, 4000.0f / 480.0f);
    EXPECT_EQ(record->width, 4000);
    EXPECT_EQ(record->height, 3000);
    EXPECT_TRUE(IsPng(record->copyPath));
    EXPECT_EQ(ImageOps::Decode(record->copyPath).size(), QSize(480, 360));
    EXPECT_TRUE(copies.ShownPicture().isNull()); // made without showing it

    const QStringList files = ImagingTest::TempFiles();
    EXPECT_EQ(copies.DisplayRecordOf(big)->copyPath, record->copyPath);
    EXPECT_EQ(ImagingTest::TempFiles(), files); // no second copy

    const auto second = copies.DisplayRecordOf(small);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->copyPath, TestSupport::TempDir() + "~tmp1.jpg");
    EXPECT_FLOAT_EQ(second->scale, 1.0f);

    const QString junk = dir + "/junk.jpg";
    TestSupport::WriteAll(junk, "not a picture");
    EXPECT_FALSE(copies.DisplayRecordOf(junk));
    EXPECT_FALSE(copies.DisplayRecordOf(dir + "/missing.jpg"));
    EXPECT_EQ(copies.Count(), 2);
}

TEST(DisplayCopies, CopiesAreOwnerOnly)
{
    ::umask(022);
    const QString dir = TestSupport::MakeFolder("photos");
    const QString photo = ImagingTest::Write(dir + "/p.jpg", ImagingTest::Pattern(800, 600));
    const QString other = ImagingTest::Write(dir + "/q.png", ImagingTest::Pattern(300, 200));
    DisplayCopies copies;
    const auto record = copies.DisplayRecordOf(photo);
    ASSERT_TRUE(record);
    copies.ReloadPath(other); // the other way a copy is made
    const auto reloaded = copies.DisplayRecordOf(other);
    ASSERT_TRUE(reloaded);
    for (const QString& copy : {record->copyPath, reloaded->copyPath}) {
        EXPECT_TRUE(IsPng(copy)) << qPrintable(copy);
        EXPECT_EQ(ImagingTest::ModeOf(copy), 0600) << qPrintable(copy);
    }
}

TEST(DisplayCopies, ShowReloadForgetAndClear)
{
    const QString dir = TestSupport::MakeFolder("photos");
    const QString photo = ImagingTest::Write(dir + "/p.jpg", ImagingTest::Pattern(4000, 3000));
    DisplayCopies copies;
    QSignalSpy changed(&copies, &DisplayCopies::PhotoChanged);

    copies.ShowPath(photo, true, true);
    EXPECT_EQ(copies.CurrentPath(), photo);
    EXPECT_EQ(copies.ShownPicture().size(), QSize(480, 360));
    EXPECT_EQ(changed.count(), 1);
    const QString copy = copies.DisplayRecordOf(photo)->copyPath;

    copies.ShowPath(photo, false, false); // the shown picture goes, nothing else happens
    EXPECT_TRUE(copies.ShownPicture().isNull());
    EXPECT_EQ(copies.CurrentPath(), photo);
    EXPECT_EQ(changed.count(), 1);

    // Shown again from the display copy file, not from the photo.
    ImageOps::SaveBitmapAs(copy, ImagingTest::Pattern(10, 10), "png");
    copies.ShowPath(photo, true, false);
    EXPECT_EQ(copies.ShownPicture().size(), QSize(10, 10));

    // After an edit the copy is written again under its name, keeping the
    // first scale and size.
    ImagingTest::Write(photo, ImagingTest::Pattern(1000, 900));
    copies.ReloadPath(photo);
    EXPECT_EQ(copies.ShownPicture().size(), QSize(400, 360));
    const auto record = copies.DisplayRecordOf(photo);
    EXPECT_EQ(record->copyPath, copy);
    EXPECT_EQ(record->width, 4000);
    EXPECT_FLOAT_EQ(record->scale, 4000.0f / 480.0f);
    EXPECT_EQ(ImageOps::Decode(copy).size(), QSize(400, 360));
    EXPECT_EQ(changed.count(), 3);

    // A path without a record gets one.
    const QString other = ImagingTest::Write(dir + "/o.png", ImagingTest::Pattern(600, 600));
    copies.ReloadPath(other);
    EXPECT_EQ(copies.CurrentPath(), other);
    EXPECT_FLOAT_EQ(copies.DisplayRecordOf(other)->scale, 600.0f / 360.0f);
    EXPECT_EQ(copies.Count(), 2);

    copies.ForgetDisplayCopy(photo);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(copies.Count(), 1);
    EXPECT_EQ(copies.DisplayRecordOf(photo)->copyPath, copy); // the free name is taken again

    // An undecodable photo shows nothing rather than the previous one.
    const QString junk = dir + "/junk.jpg";
    TestSupport::WriteAll(junk, "no picture");
    copies.ShowPath(junk, true, true);
    EXPECT_TRUE(copies.ShownPicture().isNull());
    EXPECT_EQ(copies.CurrentPath(), junk);

    copies.ClearView();
    EXPECT_EQ(copies.Count(), 0);
    EXPECT_TRUE(copies.ShownPicture().isNull());
    EXPECT_TRUE(copies.CurrentPath().isEmpty());
    EXPECT_TRUE(ImagingTest::TempFiles().filter("~tmp").isEmpty());
}

TEST(DisplayCopies, ConcurrentRequestsMakeOneCopy)
{
    const QString dir = TestSupport::MakeFolder("photos");
    const QString photo = ImagingTest::Write(dir + "/p.jpg", ImagingTest::Pattern(1600, 1200));
    DisplayCopies copies;
    QString fromThread;
    std::thread generation([&] { fromThread = copies.DisplayRecordOf(photo)->copyPath; });
    copies.ShowPath(photo, true, true);
    const QString fromView = copies.DisplayRecordOf(photo)->copyPath;
    generation.join();
    EXPECT_EQ(fromThread, fromView);
    EXPECT_EQ(copies.Count(), 1);
    EXPECT_EQ(ImagingTest::TempFiles().filter("~tmp").size(), 1);
    EXPECT_TRUE(QFileInfo::exists(fromView));
}
