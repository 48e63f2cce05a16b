// The brightness and contrast slider buttons: the value the slider opens at,
// its placement, and the write-back into the current photo when it closes.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/shell/controls/PopSliderRules.h"
#include "editor/shell/controls/QemBtnSplider.h"
#include "editor/shell/controls/QemPopSliderCtrl.h"
#include "editor/shell/controls/ShellArt.h"
#include "tests/TestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class PopSliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        album = std::make_unique<AlbumModel>(cache, effects);
        for (const char* name : {"a.png", "b.png"})
            ASSERT_GE(album->AddPhoto(TestSupport::WritePhoto(TestSupport::TempDir() + name, 64, 48)), 0);
        album->SetAdjustments(1, 30, -12);
        MakeCurrent(1);
    }
    void MakeCurrent(int index)
    {
        album->SetCurrentIndex(index);
        album->SetCellStates(index, LrItem::Current, LrItem::Normal);
    }

    ThumbnailCache cache;
    EffectCatalogue effects; // empty: every photo gets effect 0
    std::unique_ptr<AlbumModel> album;
};

TEST_F(PopSliderTest, StartValueIsTheCurrentPhotosFieldOnlyWhenItsCellIsCurrent)
{
    EXPECT_EQ(PopSliderRules::StartValue(324, album.get()), 30);
    EXPECT_EQ(PopSliderRules::StartValue(325, album.get()), -12);
    EXPECT_EQ(PopSliderRules::StartValue(326, album.get()), 0);
    EXPECT_EQ(PopSliderRules::StartValue(324, nullptr), 0);
    album->SetCellStates(1, LrItem::Normal, LrItem::Current); // the transition cell is current
    EXPECT_EQ(PopSliderRules::StartValue(324, album.get()), 0);
    album->SetCurrentIndex(7);
    EXPECT_EQ(PopSliderRules::StartValue(324, album.get()), 0);
}

TEST(PopSliderRules, PlacementIsCentredUnderTheButtonAndNeverLeftOfTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(PopSliderRules::Placement(QRect(500, 300, 40, 60), screen), QRect(470, 360, 100, 16));
    EXPECT_EQ(PopSliderRules::Placement(QRect(10, 300, 40, 60), screen), QRect(0, 360, 100, 16));
    EXPECT_EQ(PopSliderRules::Placement(QRect(10, 300, 40, 60), QRect(-800, 0, 2080, 1024)).left(), -20);
    // the cursor: the middle, but not within 2 pixels of the channel's end
    EXPECT_EQ(PopSliderRules::CursorPoint(QRect(470, 360, 100, 16), 560), QPoint(520, 368));
    EXPECT_EQ(PopSliderRules::CursorPoint(QRect(470, 360, 100, 16), 510), QPoint(508, 368));
}

TEST_F(PopSliderTest, BrightnessThirtyOpensAtThirtyWithinMinusTwentyToEighty)
{
    CQemBtnSplider button(PopSliderRules::kBrightnessId);
    button.SetAlbum(album.get());
    button.SetCaption(QStringLiteral("Brightness"));
    button.SetImages(ShellArt::SliderButton(324, ShellArt::State::Normal, 1));
    button.resize(60, 60);
    button.show();
    button.OpenSlider();
    TestSupport::KeepScreenshot(button.grab().toImage(), QStringLiteral("slider-button-pressed"));
    TestSupport::KeepScreenshot(button.Slider()->grab().toImage(), QStringLiteral("pop-up-slider"));
    CQemPopSliderCtrl* slider = button.Slider();
    EXPECT_TRUE(slider->isVisible());
    EXPECT_EQ(slider->minimum(), -20);
    EXPECT_EQ(slider->maximum(), 80);
    EXPECT_EQ(slider->value(), 30);
    EXPECT_EQ(slider->size(), QSize(100, 16));
    EXPECT_TRUE(button.IsPressedLook());
    EXPECT_EQ(button.accessibleName(), QStringLiteral("Brightness"));
}

TEST_F(PopSliderTest, MovesAreReportedAndTheStoredValueIsWrittenBackOnClose)
{
    CQemBtnSplider button(PopSliderRules::kBrightnessId);
    button.SetAlbum(album.get());
    QSignalSpy moves(&button, &CQemBtnSplider::ValueChanged);
    // the owner stores each position as the button's value
    QObject::connect(&button, &CQemBtnSplider::ValueChanged, &button,
                     [&button](int, int value) { button.SetValue(value); });
    button.show();
    button.OpenSlider();
    button.Slider()->setValue(47);
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0).at(0).toInt(), 324);
    EXPECT_EQ(moves.at(0).at(1).toInt(), 47);
    EXPECT_EQ(album->Item(1).brightness, 30); // nothing written while open

    button.Slider()->hide();
    EXPECT_FALSE(button.IsPressedLook());
    EXPECT_EQ(album->Item(1).brightness, 47);
    EXPECT_EQ(album->Item(1).contrast, -12);
    EXPECT_EQ(album->Item(0).brightness, 0);
}

TEST_F(PopSliderTest, ClosingWithoutAMoveKeepsThePhotosOwnValue)
{
    CQemBtnSplider button(PopSliderRules::kContrastId);
    button.SetAlbum(album.get());
    button.SetValue(99); // left from another photo
    button.show();
    button.OpenSlider();
    button.Slider()->hide();
    EXPECT_EQ(album->Item(1).contrast, -12);
    EXPECT_EQ(album->Item(1).brightness, 30);
}

} // namespace
