// The explore window's rules without a display: the folder listing, zoom
// sizes and cells, the add rule and the zoom delay on a made-up clock.
#include "editor/imaging/widgets/explorer/ExplorerRules.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace ExplorerRules;

TEST(ExplorerRules, PhotosOfAFolderInFileManagerOrder)
{
    const QString folder = TestSupport::MakeFolder("listing");
    for (const char* name : {"p10.jpg", "P2.png", "p1.jpeg", "b.GIF", "a.bmp", "notes.txt", "scan.tif", ".hidden.jpg"})
        TestSupport::WriteAll(folder + "/" + name, "x");
    QDir(folder).mkdir("album.jpg"); // a folder with a photo's name
    QDir(folder).mkdir("sub");
    const QStringList expected = {folder + "/a.bmp", folder + "/b.GIF", folder + "/p1.jpeg", folder + "/P2.png",
                                  folder + "/p10.jpg"};
    EXPECT_EQ(PhotosOf(folder), expected);
    EXPECT_EQ(PhotosOf(folder + "/"), expected);
    EXPECT_TRUE(PhotosOf(folder + "/missing").isEmpty());
    EXPECT_TRUE(PhotosOf(QString()).isEmpty());
}

TEST(ExplorerRules, ZoomPositionsGiveThumbnailSidesAndCells)
{
    struct Case {
        int position, side, cellHeight;
    };
    // cell height trunc((side + 6) x 0.75), without labels
    for (const Case& c : {Case{0, 96, 76}, Case{50, 144, 112}, Case{100, 192, 148}, Case{33, 127, 99},
                          Case{1, 96, 76}, Case{-20, 96, 76}, Case{250, 192, 148}}) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(ThumbnailSide(c.position), c.side);
        EXPECT_EQ(CellSize(c.side, false, 18), QSize(c.side + 6, c.cellHeight));
        EXPECT_EQ(CellSize(c.side, true, 18), QSize(c.side + 6, c.cellHeight + 18));
    }
}

TEST(ExplorerRules, AddTakesReadyPhotosInAscendingOrderOnce)
{
    const std::map<int, ThumbHandle> handles = {{0, 7}, {1, 0}, {2, 9}, {3, 4}};
    const auto handleOf = [&](int index) {
        const auto it = handles.find(index);
        return it == handles.end() ? 0 : it->second;
    };
    EXPECT_EQ(PhotosToAdd({3, 1, 0, 3, 8}, handleOf), (std::vector<int>{0, 3}));
    EXPECT_TRUE(PhotosToAdd({1}, handleOf).empty()); // not ready: nothing
    EXPECT_TRUE(PhotosToAdd({}, handleOf).empty());
    EXPECT_FALSE(AddButtonEnabled(0));
    EXPECT_TRUE(AddButtonEnabled(1));
}

TEST(ExplorerRules, ZoomDelayAppliesARunOfChangesOnce)
{
    ZoomDelay delay;
    int starts = 0, applied = 0;
    // Slider changes at these times (ms), and the timer asked to fire at each
    // due time: the changes inside one delay start it once and apply once.
    for (qint64 now : {0, 100, 250, 400, 499}) {
        starts += delay.Changed(now) ? 1 : 0;
        applied += delay.Fire(now) ? 1 : 0;
    }
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(delay.DueAt(), 500);
    EXPECT_TRUE(delay.Fire(500));
    EXPECT_FALSE(delay.Running());
    EXPECT_FALSE(delay.Fire(900)); // nothing pending
    // A later change starts a new delay.
    EXPECT_TRUE(delay.Changed(1000));
    EXPECT_FALSE(delay.Changed(1200));
    EXPECT_EQ(delay.DueAt(), 1500);
    EXPECT_TRUE(delay.Fire(1600));
    EXPECT_EQ(delay.DueAt(), -1);
}

} // namespace
