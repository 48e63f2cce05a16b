#include "editor/core/HistoryRecord.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QString folder(int i)
{
    const QString path = TestSupport::TempDir() + QStringLiteral("album%1").arg(i);
    QDir().mkpath(path);
    return path;
}

QVariant stored(const QString& name) { return CHistoryRecord::OpenProfile()->value(name); }

} // namespace

TEST(HistoryRecord, CapacityDropsTheOldestAndDuplicatesIgnoreCase)
{
    CHistoryRecord history;
    history.Load();
    EXPECT_EQ(history.Capacity(), 20);
    for (int i = 0; i < 20; ++i)
        history.Add(folder(i));
    history.Add(folder(20));
    ASSERT_EQ(history.Entries().size(), 20);
    EXPECT_EQ(history.Entries().first(), folder(1));
    EXPECT_EQ(history.Entries().last(), folder(20));
    history.Add(folder(5).toUpper());
    EXPECT_EQ(history.Entries().size(), 20);
    history.Remove(folder(7).toUpper());
    EXPECT_FALSE(history.Entries().contains(folder(7)));
}

TEST(HistoryRecord, StoredBytesAndReloadDropMissingFolders)
{
    CHistoryRecord history;
    history.Load();
    history.Add(folder(1));
    history.Add(folder(2));
    history.Save();
    EXPECT_EQ(stored("HstRcd.hldNum").toInt(), 20);
    EXPECT_EQ(stored("HstRcd.hldData").toByteArray(), (folder(1) + "\n" + folder(2) + "\n").toUtf8());

    QDir(folder(1)).removeRecursively();
    CHistoryRecord reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Entries(), QStringList{folder(2)});
}

TEST(HistoryRecord, EmptyListIsFourZeroBytesAndKeepsTheCount)
{
    auto profile = CHistoryRecord::OpenProfile();
    profile->setValue("Mp3FileHistoryList", 7);
    profile.reset();
    CMp3HistoryRecord music;
    music.Load();
    EXPECT_EQ(music.Capacity(), 7);
    music.Save();
    EXPECT_EQ(stored("Mp3FileHistoryListData").toByteArray(), QByteArray(4, '\0'));
    EXPECT_EQ(stored("Mp3FileHistoryList").toInt(), 7);
    music.Load();
    EXPECT_TRUE(music.Entries().isEmpty());
}

TEST(HistoryRecord, ZeroCapacityDisablesAndGarbageLoadsSafely)
{
    {
        auto profile = CHistoryRecord::OpenProfile();
        profile->setValue("HstRcd.hldNum", 0);
        profile->setValue("HstRcd.hldData", (folder(1) + "\n").toUtf8());
    }
    CHistoryRecord disabled;
    disabled.Load();
    EXPECT_TRUE(disabled.Entries().isEmpty());
    disabled.Add(folder(2));
    EXPECT_TRUE(disabled.Entries().isEmpty());

    const QByteArray garbage[] = {
        QByteArray("\xff\xfe\x00\x01\n\n\n", 7),
        (folder(3) + "\n").toUtf8() + QByteArray("\x00", 1) + (folder(4) + "\n").toUtf8(),
        QByteArray("relative/path\n"),
        QByteArray("x"),
        QByteArray(),
    };
    for (const QByteArray& bytes : garbage) {
        {
            auto profile = CHistoryRecord::OpenProfile();
            profile->setValue("HstRcd.hldNum", "not a number");
            profile->setValue("HstRcd.hldData", bytes);
        }
        CHistoryRecord history;
        history.Load();
        EXPECT_EQ(history.Capacity(), 20);
        for (const QString& entry : history.Entries())
            EXPECT_TRUE(QDir(entry).exists());
    }
    // Text after a zero byte is not read.
    CHistoryRecord last;
    last.Load();
    EXPECT_TRUE(last.Entries().isEmpty());
    {
        auto profile = CHistoryRecord::OpenProfile();
        profile->setValue("HstRcd.hldData", garbage[1]);
    }
    last.Load();
    EXPECT_EQ(last.Entries(), QStringList{folder(3)});
}
