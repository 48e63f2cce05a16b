// The picture button's hot and pressed rules and its widget.
#include "editor/shell/controls/ButtonFace.h"
#include "editor/shell/controls/ButtonHotRules.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellArt.h"
#include "tests/TestSupport.h"

#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

TEST(ButtonHotRules, MouseLeavingWithoutClickEndsHot)
{
    ButtonHotRules rules;
    EXPECT_TRUE(rules.MouseEntered());
    EXPECT_TRUE(rules.IsHot());
    EXPECT_TRUE(rules.MouseLeft());
    EXPECT_FALSE(rules.IsHot());
}

TEST(ButtonHotRules, HoverTickClearsHotOnlyWhenTheCursorIsElsewhere)
{
    ButtonHotRules rules;
    rules.MouseEntered();
    rules.Press();
    EXPECT_TRUE(rules.IsWatched());
    EXPECT_FALSE(rules.Tick(true)); // still over the button: nothing changes
    EXPECT_TRUE(rules.IsHot());
    EXPECT_TRUE(rules.IsWatched());
    EXPECT_TRUE(rules.Tick(false)); // the cursor went elsewhere: repaint
    EXPECT_FALSE(rules.IsHot());
    EXPECT_FALSE(rules.IsWatched()); // the timer stops for this button
    EXPECT_FALSE(rules.Tick(false));
}

TEST(ButtonHotRules, ReleaseKeepsHotOnlyOverTheButton)
{
    for (bool over : {true, false}) {
        ButtonHotRules rules;
        rules.MouseEntered();
        rules.Press();
        EXPECT_TRUE(rules.IsPressed());
        rules.Release(over);
        EXPECT_FALSE(rules.IsPressed());
        EXPECT_EQ(rules.IsHot(), over);
    }
}

QImage Grab(CQemMFCButton& button)
{
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(QemMFCButton, HotAndPressedLooksAndLeaving)
{
    CQemMFCButton button(nullptr, 311);
    button.SetImages(ShellArt::StepButton(311, ShellArt::State::Normal, 1),
                     ShellArt::StepButton(311, ShellArt::State::Hot, 1));
    button.setToolTip(QStringLiteral("Next"));
    button.resize(95, 45); // a margin of face around the picture
    EXPECT_EQ(button.accessibleName(), QStringLiteral("Next"));
    button.show();

    const QImage normal = Grab(button);
    EXPECT_EQ(normal.pixel(1, 1), ButtonFace::kDefaultFace.rgb());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.IsHot());
    const QImage hot = Grab(button);
    TestSupport::KeepScreenshot(hot, QStringLiteral("picture-button-hot"));
    EXPECT_EQ(hot.pixel(0, 0), ButtonFace::kHotFrame.rgb());
    EXPECT_NE(hot, normal);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.IsHot());
    EXPECT_EQ(Grab(button), normal);
}

TEST(QemMFCButton, HoverTickAfterAPressClearsHotOnceTheCursorIsElsewhere)
{
    CQemMFCButton button;
    button.setToolTip(QStringLiteral("Save"));
    button.resize(85, 37);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QCursor::setPos(button.mapToGlobal(QPoint(40, 18)));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(40, 18));
    EXPECT_TRUE(button.IsHot());
    button.OnHoverTick(); // the cursor is still over the button
    EXPECT_TRUE(button.IsHot());
    QCursor::setPos(button.mapToGlobal(QPoint(400, 300)));
    button.OnHoverTick();
    EXPECT_FALSE(button.IsHot());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(400, 300));
    EXPECT_FALSE(button.IsHot());
}

TEST(QemMFCButton, PressedWithoutPressedPictureIsTintedInsideTheInset)
{
    CQemMFCButton button;
    button.SetBorderStyle(false);
    button.setCheckable(true);
    button.resize(40, 20);
    const QImage plain = Grab(button);
    button.setChecked(true);
    const QImage pressed = Grab(button);
    EXPECT_EQ(pressed.pixel(2, 10), plain.pixel(2, 10));   // outside the 3-px inset
    EXPECT_EQ(pressed.pixel(20, 0), plain.pixel(20, 0));   // outside the 1-px inset
    EXPECT_GT(qRed(pressed.pixel(20, 10)), qGreen(pressed.pixel(20, 10))); // red tint inside
}

TEST(QemMFCButton, CaptionIsDrawnAndNamesTheButton)
{
    CQemMFCButton button;
    button.setToolTip(QStringLiteral("tip"));
    button.SetFaceColor(Qt::white);
    button.resize(130, 24);
    const QImage empty = Grab(button);
    button.SetCaptionBeside(true);
    button.SetImages(ShellArt::ExistingAlbum(1));
    button.SetCaption(QStringLiteral("Existing Album"));
    EXPECT_EQ(button.accessibleName(), QStringLiteral("Existing Album"));
    const QImage drawn = Grab(button);
    TestSupport::KeepScreenshot(drawn, QStringLiteral("picture-button-caption-beside"));
    EXPECT_EQ(drawn.pixel(129, 0), QColor(Qt::white).rgb());
    bool dark = false;
    for (int x = 30; x < 120 && !dark; ++x)
        for (int y = 0; y < 24 && !dark; ++y)
            dark = qGray(drawn.pixel(x, y)) < 100;
    EXPECT_TRUE(dark);
    EXPECT_NE(drawn, empty);
}

} // namespace
