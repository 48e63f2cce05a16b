#include "editor/generation/BatchPhotos.h"
#include "editor/imaging/ImageOps.h"
#include "tests/TestSupport.h"

#include <QImageReader>
#include <gtest/gtest.h>

TEST(BatchPhotos, EachPhotoGivesItsThumbnailAndItsFittedPictureOnce)
{
    const QString folder = TestSupport::MakeFolder("photos") + "/";
    struct Case {
        QString name;
        QSize size;
        QSize fitted; // the display copy's size: fitted into 480 x 360, never enlarged
    } cases[] = {
        {"wide.jpg", {4000, 3000}, {480, 360}},
        {"tall.png", {600, 1200}, {180, 360}},
        {"small.bmp", {300, 200}, {300, 200}},
    };
    BatchPhotos photos;
    for (const Case& c : cases) {
        const QString path = TestSupport::WritePhoto(folder + c.name, c.size.width(), c.size.height());
        const ThumbHandle handle = photos.FindOrAddPhoto(path);
        ASSERT_NE(handle, 0) << c.name.toStdString();
        EXPECT_EQ(photos.FindOrAddPhoto(path), handle); // known: no second decoding
        EXPECT_EQ(photos.PathOf(handle), path);
        const QImage thumbnail = photos.PictureOf(handle);
        EXPECT_EQ(thumbnail.size(), QSize(192, 144)) << c.name.toStdString();
        // The picture the thumbnail cache makes from the photo itself, white margins included.
        EXPECT_LT(TestSupport::MeanDifference(thumbnail, ImageOps::LoadThumbnailBitmap(path)), 4.0) << c.name.toStdString();

        const std::optional<QImage> fitted = photos.TakeFittedPicture(path);
        ASSERT_TRUE(fitted) << c.name.toStdString();
        EXPECT_EQ(fitted->size(), c.fitted) << c.name.toStdString();
        EXPECT_EQ(fitted->size(), ImageOps::LoadFittedBitmap(path, 480, 360, true).size());
        EXPECT_FALSE(photos.TakeFittedPicture(path)); // handed over once
    }

    // Photos that cannot be decoded get no handle.
    TestSupport::WriteAll(folder + "junk.jpg", "not a picture");
    EXPECT_EQ(photos.FindOrAddPhoto(folder + "junk.jpg"), 0);
    EXPECT_EQ(photos.FindOrAddPhoto(folder + "gone.jpg"), 0);
    EXPECT_TRUE(photos.PictureOf(12345).isNull());
}

TEST(BatchPhotos, PicturesBeyondTheBudgetAreNotKept)
{
    const QString folder = TestSupport::MakeFolder("photos") + "/";
    const QString first = TestSupport::WritePhoto(folder + "a.jpg", 960, 720);
    const QString second = TestSupport::WritePhoto(folder + "b.jpg", 960, 720);
    const qint64 one = ImageOps::LoadFittedBitmap(first, 480, 360, true).sizeInBytes();
    BatchPhotos photos(one + one / 2);
    ASSERT_NE(photos.FindOrAddPhoto(first), 0);
    ASSERT_NE(photos.FindOrAddPhoto(second), 0); // still a thumbnail, but no picture kept
    EXPECT_FALSE(photos.TakeFittedPicture(second));
    EXPECT_TRUE(photos.TakeFittedPicture(first));
}
