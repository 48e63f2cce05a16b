// The label, check button, tip box and edit of the shell.
#include "editor/shell/controls/FixedBackgroundEdit.h"
#include "editor/shell/controls/QemCheckBox.h"
#include "editor/shell/controls/QemStatic.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/controls/StaticTip.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(QemStatic, EmptyStoredTextShowsTheWindowText)
{
    CQemStatic shown(QStringLiteral("Brightness"));
    shown.resize(120, 20);
    CQemStatic stored(QStringLiteral("Other"));
    stored.SetStoredText(QStringLiteral("Brightness"));
    stored.resize(120, 20);
    EXPECT_EQ(shown.DisplayedText(), QStringLiteral("Brightness"));
    EXPECT_EQ(shown.accessibleName(), QStringLiteral("Brightness"));
    EXPECT_EQ(Grab(shown), Grab(stored));

    stored.SetStoredText(QString());
    EXPECT_EQ(stored.accessibleName(), QStringLiteral("Other"));
    EXPECT_NE(Grab(shown), Grab(stored));
    EXPECT_EQ(Grab(stored).pixel(119, 0), QColor(213, 228, 242).rgb());
}

TEST(QemCheckBox, FaceTakesTheColourOfTheState)
{
    CQemCheckBox box(QStringLiteral("Loop"));
    box.SetColours(QColor(10, 200, 10), QColor(200, 10, 10));
    box.resize(80, 20);
    EXPECT_EQ(Grab(box).pixel(79, 0), QColor(200, 10, 10).rgb());
    box.setChecked(true);
    EXPECT_EQ(Grab(box).pixel(79, 0), QColor(10, 200, 10).rgb());
    EXPECT_EQ(box.accessibleName(), QStringLiteral("Loop"));
}

TEST(StaticTip, FrameBrushPictureAndLines)
{
    CStaticTip tip(QStringLiteral("first\nsecond"));
    tip.SetBrush(QColor(255, 255, 225));
    tip.SetLines(CStaticTip::Lines::SplitAtNewline);
    tip.resize(200, 50);
    const QImage image = Grab(tip);
    TestSupport::KeepScreenshot(image, QStringLiteral("tip-box"));
    EXPECT_EQ(image.pixel(0, 0), ShellTheme::Current().Colours().shadow.rgb());
    EXPECT_EQ(image.pixel(199, 25), ShellTheme::Current().Colours().shadow.rgb());
    EXPECT_EQ(image.pixel(198, 48), QColor(255, 255, 225).rgb());
    EXPECT_NE(image.pixel(3 + 8, 2 + 8), QColor(255, 255, 225).rgb()); // the information picture
    EXPECT_EQ(tip.SplitLines(), QStringList({"first", "second"}));
    EXPECT_EQ(tip.accessibleName(), QStringLiteral("first second"));
}

TEST(FixedBackgroundEdit, KeepsTheWindowColourWhenReadOnlyOrDisabled)
{
    CFixedBackgroundEdit edit;
    const QColor window = edit.palette().color(QPalette::Active, QPalette::Base);
    edit.setReadOnly(true);
    edit.setEnabled(false);
    EXPECT_EQ(edit.palette().color(QPalette::Disabled, QPalette::Base), window);
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Base), window);
}

} // namespace
