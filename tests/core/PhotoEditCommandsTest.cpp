#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumDisplayLink.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/StringTable.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ImageOps.h"
#include "editor/imaging/ImageTransforms.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using ImageOps::EdgeRect;

namespace {

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

class PhotoEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        album = std::make_unique<AlbumModel>(cache, effects);
        ClearViewWhenAlbumEmpties(*album, &display);
        commands = std::make_unique<PhotoEditCommands>(*album, cache, copies, display);
        commands->SetMessageSink([this](const QString& text) { messages << text; });
    }

    // Adds the photo and makes it the current one, as the strip does.
    QString AddPhoto(const QString& path)
    {
        const int index = album->AddPhoto(path);
        EXPECT_GE(index, 0) << qPrintable(path);
        album->SetCurrentIndex(index);
        return path;
    }
    QString Source(const QString& name, const QImage& picture)
    {
        const QString path = ImagingTest::Write(TestSupport::TempDir() + "pics/" + name, picture);
        sourceState = ImagingTest::StateOf(path);
        return path;
    }
    void ExpectSourceUntouched(const QString& path, const char* after)
    {
        EXPECT_EQ(ImagingTest::StateOf(path), sourceState) << "after " << after;
    }
    ThumbHandle Handle(int index = 0) const { return album->Photo(index)->thumbnail; }
    QString ReadFailed() const { return Strings::Load(Strings::ReadPhotoFailed); }

    ThumbnailCache cache;
    EffectCatalogue effects; // empty: every photo gets effect 0
    WorkingCopyMap copies;
    DisplayCopies display;
    std::unique_ptr<AlbumModel> album;
    std::unique_ptr<PhotoEditCommands> commands;
    QStringList messages;
    ImagingTest::FileState sourceState;
};

} // namespace

TEST_F(PhotoEditTest, TheFirstEditMakesAWorkingCopyLaterEditsRewriteIt)
{
    const QString source = AddPhoto(Source("Beach.png", ImagingTest::Pattern(1000, 900)));
    const ThumbHandle sourceHandle = Handle();
    album->SetModified(false);

    commands->RotateRight();
    const QString copy = TestSupport::TempDir() + "Beach0.png";
    EXPECT_EQ(album->PathOf(0), copy);
    EXPECT_NE(Handle(), sourceHandle);
    const auto entry = cache.EntryOfId(Handle());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->state, ThumbnailCache::Unsaved);
    EXPECT_EQ(entry->references, 1);
    EXPECT_EQ(entry->thumbnail.size(), QSize(192, 144));
    EXPECT_EQ(ImageOps::Decode(copy).size(), QSize(360, 400));
    EXPECT_EQ(display.CurrentPath(), copy);
    EXPECT_EQ(display.ShownPicture().size(), ImageOps::ShrinkOnlySize(QSize(360, 400), QSize(480, 360)));
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::RotatedRight);
    EXPECT_TRUE(album->Project().modified);
    EXPECT_EQ(cache.EntryOfId(sourceHandle)->references, 1); // kept for the reset
    ExpectSourceUntouched(source, "rotate right");

    const QImage before = Rgb32(ImageOps::Decode(copy));
    commands->RotateLeft();
    EXPECT_EQ(album->PathOf(0), copy);
    EXPECT_EQ(ImageOps::Decode(copy).size(), QSize(400, 360));
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), Rgb32(ImageOps::RotatedLeft(before)));
    commands->Mirror();
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), Rgb32(ImageOps::Mirrored(ImageOps::RotatedLeft(before))));
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::MirroredOp);
    EXPECT_EQ(copies.Count(), 1);
    EXPECT_TRUE(messages.isEmpty());
    ExpectSourceUntouched(source, "rotate left and mirror");
}

TEST_F(PhotoEditTest, BrightnessAndContrastStartFromTheSnapshot)
{
    const QString source = AddPhoto(Source("Lake.png", ImagingTest::Pattern(1000, 900)));
    const QImage fitted = Rgb32(ImageOps::LoadFittedBitmap(source, 480, 360, true));
    const auto light = [](const QImage& image, int brightness, int contrast) {
        return Rgb32(ImageOps::WithLightTable(image, ImageOps::LightTable(brightness, contrast)));
    };

    commands->Brightness(30);
    const QString copy = album->PathOf(0);
    const QString snapshot = commands->SnapshotPath();
    ASSERT_FALSE(snapshot.isEmpty());
    EXPECT_EQ(copies.CopyMadeFrom(copy), snapshot);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(fitted, 30, 0));

    commands->Brightness(40);
    EXPECT_EQ(commands->SnapshotPath(), snapshot);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(fitted, 40, 0)); // +40, not +70
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::BrightnessOp);

    // A contrast move after brightness starts from the lightened picture.
    commands->Contrast(20);
    const QImage lightened = light(fitted, 40, 0);
    EXPECT_EQ(Rgb32(ImageOps::Decode(commands->SnapshotPath())), lightened);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(lightened, 0, 20));
    commands->Contrast(-10);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(lightened, 0, -10));

    // And brightness after contrast from the contrast-adjusted picture.
    const QImage contrasted = light(lightened, 0, -10);
    commands->Brightness(5);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(contrasted, 5, 0));
    EXPECT_EQ(copies.Count(), 2); // the copy and one snapshot; older snapshots are gone
    EXPECT_EQ(Rgb32(ImageOps::Decode(commands->SnapshotPath())), contrasted);

    // Any other edit throws the snapshot away.
    const QString last = commands->SnapshotPath();
    commands->Mirror();
    EXPECT_TRUE(commands->SnapshotPath().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(last));
    ExpectSourceUntouched(source, "brightness and contrast");
}

TEST_F(PhotoEditTest, EditsAfterATurnKeepTheShapeOfTheWorkingCopy)
{
    const QString source = AddPhoto(Source("Tower.png", ImagingTest::Pattern(800, 600)));
    const auto light = [](const QImage& image, int brightness, int contrast) {
        return Rgb32(ImageOps::WithLightTable(image, ImageOps::LightTable(brightness, contrast)));
    };
    commands->RotateRight();
    const QString copy = album->PathOf(0);
    const QImage turned = Rgb32(ImageOps::Decode(copy));
    ASSERT_EQ(turned.size(), QSize(360, 480));

    commands->Brightness(30);
    EXPECT_EQ(ImageOps::Decode(commands->SnapshotPath()).size(), QSize(360, 480));
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(turned, 30, 0));
    commands->Contrast(10);
    EXPECT_EQ(Rgb32(ImageOps::Decode(copy)), light(light(turned, 30, 0), 0, 10));
    commands->Mirror();
    commands->Brightness(-10);
    commands->RotateLeft();
    commands->Contrast(5);
    EXPECT_EQ(ImageOps::Decode(copy).size(), QSize(480, 360)); // back to the first fit, nothing lost
    EXPECT_TRUE(messages.isEmpty());
    ExpectSourceUntouched(source, "turn, brightness and contrast");
}

TEST_F(PhotoEditTest, AVanishedWorkingCopyIsMadeAgainFromTheSource)
{
    const QString source = AddPhoto(Source("Field.png", ImagingTest::Pattern(1000, 900)));
    const ThumbHandle sourceHandle = Handle();
    const QImage fitted = Rgb32(ImageOps::LoadFittedBitmap(source, 480, 360, true));
    commands->RotateRight();
    commands->Brightness(20);
    album->SetAdjustments(0, 20, 0);
    const QString copy = album->PathOf(0);
    const QString snapshot = commands->SnapshotPath();
    // The temporary folder is cleaned while the editor stays open.
    QFile::remove(copy);
    QFile::remove(snapshot);

    // The edit starts again from the photo's own file; the earlier edits are lost.
    commands->Mirror();
    ASSERT_EQ(album->Count(), 1);
    const QString remade = album->PathOf(0);
    EXPECT_EQ(copies.SourceOf(remade), source);
    EXPECT_EQ(Rgb32(ImageOps::Decode(remade)), Rgb32(ImageOps::Mirrored(fitted)));
    EXPECT_EQ(copies.Count(), 1); // the vanished copy and snapshot are forgotten
    EXPECT_EQ(album->Item(0).brightness, 0);
    EXPECT_EQ(cache.EntryOfId(sourceHandle)->references, 1);
    EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(", "));

    // Selecting the photo after its copy vanished shows its own file.
    QFile::remove(remade);
    commands->SelectPhoto(0, true);
    ASSERT_EQ(album->Count(), 1);
    EXPECT_EQ(album->PathOf(0), source);
    EXPECT_EQ(Handle(), sourceHandle);
    EXPECT_EQ(display.CurrentPath(), source);
    EXPECT_EQ(display.ShownPicture().size(), QSize(400, 360));
    EXPECT_EQ(copies.Count(), 0);
    EXPECT_TRUE(messages.isEmpty());
    ExpectSourceUntouched(source, "a vanished working copy");

    // When the photo's own file has gone as well, the photo leaves the album.
    commands->Mirror();
    QFile::remove(album->PathOf(0));
    QFile::remove(source);
    commands->Mirror();
    EXPECT_TRUE(album->IsEmpty());
    EXPECT_EQ(messages, QStringList{ReadFailed()});
}

TEST_F(PhotoEditTest, ResetRestoresTheOwnFileAndDeletesCopyAndSnapshot)
{
    const QString source = AddPhoto(Source("Hill.jpg", ImagingTest::Pattern(1200, 800)));
    const ThumbHandle sourceHandle = Handle();
    commands->RotateRight();
    commands->Brightness(30);
    album->SetAdjustments(0, 30, 0);
    const QString copy = album->PathOf(0);
    const QString snapshot = commands->SnapshotPath();
    ASSERT_TRUE(QFileInfo::exists(copy));
    ASSERT_TRUE(QFileInfo::exists(snapshot));
    display.DisplayRecordOf(snapshot);

    commands->Reset();
    EXPECT_EQ(album->PathOf(0), source);
    EXPECT_EQ(Handle(), sourceHandle);
    EXPECT_EQ(cache.EntryOfId(sourceHandle)->references, 1);
    EXPECT_EQ(cache.FindByPath(copy), 0);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_FALSE(QFileInfo::exists(snapshot));
    EXPECT_EQ(copies.Count(), 0);
    EXPECT_EQ(display.CurrentPath(), source);
    EXPECT_EQ(display.ShownPicture().size(), QSize(480, 320));
    EXPECT_EQ(display.Count(), 1); // only the photo's own display copy is left
    EXPECT_EQ(album->Item(0).brightness, 0);
    EXPECT_TRUE(messages.isEmpty());
    ExpectSourceUntouched(source, "reset");

    // The next edit starts again from the photo's own file.
    commands->Mirror();
    EXPECT_EQ(ImageOps::Decode(album->PathOf(0)).size(), QSize(480, 320));
}

TEST_F(PhotoEditTest, CropMapsTheViewRectangleOntoThePicture)
{
    const struct {
        QSize image;
        EdgeRect view;
        EdgeRect expected;
    } cases[] = {
        {{400, 360}, {40, 0, 440, 360}, {0, 0, 400, 360}},
        {{400, 360}, {0, 0, 140, 100}, {0, 0, 100, 100}},     // clipped to the drawn picture
        {{400, 360}, {0, 0, 30, 30}, {0, 0, 0, 0}},           // beside it: empty
        {{480, 360}, {160, 120, 320, 240}, {160, 120, 320, 240}},
        {{300, 200}, {100, 100, 200, 150}, {10, 20, 110, 70}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PhotoEditCommands::ViewToImage(c.view, c.image), c.expected) << c.image.width() << "x" << c.image.height();

    const QString source = AddPhoto(Source("Tree.png", ImagingTest::Pattern(1000, 900)));
    album->SetModified(false);
    commands->EnterCropMode();
    EXPECT_TRUE(commands->CropMode());
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::CropModeEntered);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_EQ(album->PathOf(0), source); // entering crop mode makes no copy

    const QImage fitted = Rgb32(ImageOps::LoadFittedBitmap(source, 480, 360, true));
    commands->ApplyCrop(EdgeRect{140, 60, 340, 300});
    EXPECT_FALSE(commands->CropMode());
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::CropApplied);
    EXPECT_TRUE(album->Project().modified);
    EXPECT_EQ(Rgb32(ImageOps::Decode(album->PathOf(0))), fitted.copy(100, 60, 200, 240));
    ExpectSourceUntouched(source, "crop");
}

TEST_F(PhotoEditTest, RedEyeWorksOnlyInRedEyeMode)
{
    const QString source = AddPhoto(Source("Face.png", ImagingTest::Eye(480, 360, 240, 180)));
    commands->RedEyeAt(240, 180);
    EXPECT_EQ(album->PathOf(0), source); // mode off: nothing at all
    EXPECT_EQ(copies.Count(), 0);

    commands->EnterCropMode();
    commands->EnterRedEyeMode();
    EXPECT_TRUE(commands->RedEyeMode());
    EXPECT_FALSE(commands->CropMode());
    commands->RedEyeAt(240, 180);
    const QString copy = album->PathOf(0);
    EXPECT_NE(copy, source);
    EXPECT_EQ(ImageOps::Decode(copy).pixelColor(240, 180), QColor(30, 30, 30));
    EXPECT_EQ(ImageOps::Decode(copy).pixelColor(240, 200), ImagingTest::kIris);
    EXPECT_EQ(commands->LastOperation(), PhotoEditCommands::RedEyeRemoved);
    EXPECT_TRUE(commands->RedEyeMode()); // stays on for the next eye

    const QImage before = ImageOps::Decode(copy);
    commands->RedEyeAt(240 + 20, 180); // not red
    EXPECT_EQ(ImageOps::Decode(copy), before);
    commands->RotateLeft();
    EXPECT_FALSE(commands->RedEyeMode());
    ExpectSourceUntouched(source, "red-eye");
}

// Every command on photos of every format: the user's file is never written.
TEST_F(PhotoEditTest, TheUsersFileIsNeverWritten)
{
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"rotate left", [this] { commands->RotateLeft(); }},
        {"rotate right", [this] { commands->RotateRight(); }},
        {"mirror", [this] { commands->Mirror(); }},
        {"enter crop mode", [this] { commands->EnterCropMode(); }},
        {"apply crop", [this] { commands->ApplyCrop(EdgeRect{100, 80, 380, 280}); }},
        {"brightness", [this] { commands->Brightness(25); }},
        {"contrast", [this] { commands->Contrast(-15); }},
        {"brightness again", [this] { commands->Brightness(-20); }},
        {"enter red-eye mode", [this] { commands->EnterRedEyeMode(); }},
        {"red-eye", [this] { commands->RedEyeAt(240, 180); }},
        {"reset", [this] { commands->Reset(); }},
        {"rotate after reset", [this] { commands->RotateRight(); }},
    };
    for (const char* name : {"a.jpg", "b.png", "c.gif", "d.bmp", "e.JPEG"}) {
        album->Clear();
        const QString source = AddPhoto(Source(name, ImagingTest::Eye(900, 700, 450, 350)));
        for (const auto& [what, step] : steps) {
            step();
            ExpectSourceUntouched(source, what);
            const QString current = album->PathOf(0);
            EXPECT_FALSE(ImageOps::Decode(current).isNull()) << name << " after " << what;
            EXPECT_TRUE(current.endsWith(QFileInfo(name).suffix())) << qPrintable(current);
        }
    }
    EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(", "));
}

TEST_F(PhotoEditTest, AVanishedPhotoIsRemovedFromTheAlbum)
{
    const QString first = AddPhoto(Source("one.jpg", ImagingTest::Pattern(640, 480)));
    const QString second = AddPhoto(Source("two.jpg", ImagingTest::Pattern(640, 480)));
    display.ShowPath(second, true, true);
    QFile::remove(second);
    commands->RotateLeft();
    EXPECT_EQ(album->Count(), 1);
    EXPECT_EQ(album->PathOf(0), first);
    EXPECT_EQ(messages, QStringList{ReadFailed()});
    EXPECT_EQ(copies.Count(), 0);

    album->SetCurrentIndex(0);
    QFile::remove(first);
    commands->Mirror();
    EXPECT_TRUE(album->IsEmpty());
    EXPECT_EQ(display.Count(), 0); // the view's display copies went with the last photo
    EXPECT_TRUE(display.CurrentPath().isEmpty());
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(cache.EntryOfId(cache.FindByPath(first))->references, 0);

    // With no photos the commands do nothing.
    commands->Brightness(10);
    commands->Reset();
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(PhotoEditTest, AnUnreadablePhotoGivesTheMessageAndNoCopy)
{
    const QString source = AddPhoto(Source("damaged.jpg", ImagingTest::Pattern(640, 480)));
    const QByteArray whole = TestSupport::ReadAll(source);
    TestSupport::WriteAll(source, whole.left(100)); // cut inside its header after it was added
    sourceState = ImagingTest::StateOf(source);
    const QStringList files = ImagingTest::TempFiles();
    commands->RotateLeft();
    commands->Brightness(10);
    EXPECT_EQ(messages, (QStringList{ReadFailed(), ReadFailed()}));
    EXPECT_EQ(album->PathOf(0), source);
    EXPECT_EQ(copies.Count(), 0);
    EXPECT_EQ(ImagingTest::TempFiles(), files);
    ExpectSourceUntouched(source, "edits of a damaged photo");

    TestSupport::WriteAll(source, whole);
    sourceState = ImagingTest::StateOf(source);
    {
        ImagingTest::ReadDenied denied(source);
        commands->Mirror();
    }
    EXPECT_EQ(messages.size(), 3);
    EXPECT_EQ(copies.Count(), 0);
    ExpectSourceUntouched(source, "an edit without read permission");
}

TEST_F(PhotoEditTest, RemovingAnEditedPhotoGivesBackBothReferences)
{
    const QString source = AddPhoto(Source("gone.png", ImagingTest::Pattern(800, 600)));
    const ThumbHandle sourceHandle = Handle();
    commands->Mirror();
    const ThumbHandle copyHandle = Handle();
    album->RemovePhoto(0);
    EXPECT_EQ(cache.EntryOfId(sourceHandle)->references, 0);
    EXPECT_EQ(cache.EntryOfId(copyHandle)->references, 0);
    ExpectSourceUntouched(source, "removal");
}

TEST_F(PhotoEditTest, DisplayPathOfAndTheEmptiedAlbum)
{
    ClearViewWhenAlbumEmpties(*album); // the editor's own display copies
    const QString source = AddPhoto(Source("shown.jpg", ImagingTest::Pattern(2000, 1500)));
    const QString copy = album->DisplayPathOf(0);
    EXPECT_EQ(copy, TestSupport::TempDir() + "~tmp0.jpg");
    EXPECT_EQ(ImageOps::Decode(copy).size(), QSize(480, 360));
    EXPECT_EQ(album->DisplayPathOf(0), copy);
    EXPECT_TRUE(album->DisplayPathOf(5).isEmpty());

    album->RemovePhoto(0);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(DisplayCopies::Instance().Count(), 0);

    AddPhoto(source);
    cache.RemoveByPath(source); // the cache no longer knows the photo
    EXPECT_TRUE(album->DisplayPathOf(0).isEmpty());
}
