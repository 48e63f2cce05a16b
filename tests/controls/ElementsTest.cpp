// Elements in an ordinary window: the slider's positions, the percentage
// caption placed left of its slider, and the host's hot tracking, capture and
// command reports.
#include "editor/shell/controls/ElementHost.h"
#include "editor/shell/controls/MFCRibbonButtonEx.h"
#include "editor/shell/controls/MFCRibbonPlayerSlider.h"
#include "tests/TestSupport.h"

#include <QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace VIRSUAL_CONTROLS;

namespace {

TEST(RibbonElements, PlayerSliderCaptionShowsThePercentLeftOfTheSlider)
{
    CMFCRibbonPlayerSlider slider(400, 10, 400, QSize(40, 16));
    slider.SetRect(QRect(100, 10, 120, 20));
    slider.SetPos(150);
    EXPECT_EQ(slider.Caption().Text(), QStringLiteral("150%"));
    EXPECT_EQ(slider.Caption().Rect(), QRect(60, 12, 40, 16)); // right edge touches the slider, centred
    slider.SetPos(5000);
    EXPECT_EQ(slider.Pos(), 400);
    EXPECT_EQ(slider.Caption().Text(), QStringLiteral("400%"));
    slider.SetRect(QRect(200, 50, 120, 30));
    EXPECT_EQ(slider.Caption().Rect(), QRect(160, 57, 40, 16));
}

TEST(RibbonElements, SliderPositionsFollowTheChannel)
{
    CMFCRibbonSliderEx slider(1, 0, 100);
    slider.SetRect(QRect(0, 0, 111, 20)); // channel from x 5, 101 pixels long
    EXPECT_EQ(slider.PosAt(5), 0);
    EXPECT_EQ(slider.PosAt(55), 50);
    EXPECT_EQ(slider.PosAt(105), 100);
    EXPECT_EQ(slider.PosAt(-40), 0);
    EXPECT_EQ(slider.PosAt(400), 100);
    slider.SetPos(50);
    EXPECT_EQ(slider.ThumbRect().left(), 55 - CMFCRibbonSliderEx::kThumbWidth / 2);
    EXPECT_EQ(slider.PartAt(QPoint(55, 10)), CMFCRibbonSliderEx::Part::Thumb);
    EXPECT_EQ(slider.PartAt(QPoint(90, 10)), CMFCRibbonSliderEx::Part::Channel);
}

class ElementHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 40);
        button = host.AddElement(std::make_unique<CMFCRibbonButtonEx>(7, QStringLiteral("Add")));
        button->SetRect(QRect(10, 5, 60, 30));
        slider = host.AddElement(std::make_unique<CMFCRibbonPlayerSlider>(9, 0, 100));
        slider->SetRect(QRect(150, 10, 111, 20));
        host.show();
    }
    CElementHost host;
    CMFCRibbonButtonEx* button = nullptr;
    CMFCRibbonPlayerSlider* slider = nullptr;
};

TEST_F(ElementHostTest, HotFollowsTheCursorAndAClickReportsTheButton)
{
    QSignalSpy commands(&host, &CElementHost::Command);
    QTest::mouseMove(&host, QPoint(20, 20));
    TestSupport::KeepScreenshot(host.grab().toImage(), QStringLiteral("element-host"));
    EXPECT_EQ(host.HotElement(), button);
    EXPECT_TRUE(button->IsHot());
    QTest::mouseMove(&host, QPoint(200, 20));
    EXPECT_FALSE(button->IsHot());
    EXPECT_EQ(host.HotElement(), slider);

    QTest::mouseClick(&host, Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 7);

    // pressed on the button, released elsewhere: no command
    QTest::mousePress(&host, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(host.CapturedElement(), button);
    QTest::mouseRelease(&host, Qt::LeftButton, {}, QPoint(120, 20));
    EXPECT_EQ(commands.count(), 1);
    EXPECT_EQ(host.CapturedElement(), nullptr);
}

TEST_F(ElementHostTest, DraggingTheThumbReportsEachChange)
{
    QSignalSpy commands(&host, &CElementHost::Command);
    const QPoint thumb = slider->ThumbRect().center();
    QTest::mousePress(&host, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(&host, QPoint(155 + 40, thumb.y()));
    QTest::mouseMove(&host, QPoint(155 + 80, thumb.y()));
    QTest::mouseMove(&host, QPoint(20, thumb.y())); // outside: the slider still has the mouse
    EXPECT_EQ(slider->Pos(), 0);
    EXPECT_EQ(commands.count(), 3); // 40, 80, 0
    EXPECT_EQ(slider->Caption().Text(), QStringLiteral("0%"));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, QPoint(20, thumb.y()));
    EXPECT_EQ(commands.count(), 3); // released away from the thumb
    for (const auto& command : commands)
        EXPECT_EQ(command.at(0).toInt(), 9);
}

} // namespace
