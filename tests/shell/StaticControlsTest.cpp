// The text and link controls, the splash window and the look of the Options
// and About boxes and the update prompt (kept as screenshots when
// KELVANA_TEST_SCREENSHOTS is set).
#include "editor/shell/controls/StaticLink.h"
#include "editor/shell/controls/StaticText.h"
#include "editor/shell/dialogs/AboutDlg.h"
#include "editor/shell/dialogs/DlgOption.h"
#include "editor/shell/dialogs/SplashWnd.h"
#include "editor/shell/update/DlgUpdaterPrompt.h"
#include "tests/TestSupport.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool Shows(const QImage& picture, QRgb colour)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                return true;
    return false;
}

} // namespace

TEST(StaticText, TakesTheParentsFontAndFitsItsText)
{
    QWidget parent;
    QFont font = parent.font();
    font.setPixelSize(17);
    font.setItalic(true);
    parent.setFont(font);
    CStaticText text(QStringLiteral("Vantri Kelvana 1.0"), &parent);
    EXPECT_EQ(text.font().pixelSize(), 17);
    EXPECT_TRUE(text.font().italic());
    text.SetBold(true);
    EXPECT_TRUE(text.font().bold());
    EXPECT_TRUE(text.font().italic());
    text.SetAutoSize(true);
    const QFontMetrics metrics(text.font());
    EXPECT_EQ(text.size(), QSize(metrics.horizontalAdvance(text.Text()) + 2, metrics.height() + 2));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&text);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::StaticText);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Vantri Kelvana 1.0"));

    text.SetBackgroundColor(QColor(10, 200, 30));
    EXPECT_TRUE(Shows(text.grab().toImage(), qRgb(10, 200, 30)));
    text.SetBackgroundColor(QColor());
    EXPECT_EQ(text.BackgroundColor(), parent.palette().color(parent.backgroundRole()));
    const QColor enabled = text.TextColor();
    text.setEnabled(false);
    EXPECT_NE(text.TextColor(), enabled);
}

TEST(StaticLink, HoverColoursClickAndAccessibleRole)
{
    QWidget parent;
    CStaticLink link(QStringLiteral("https://kelvana.example/"), &parent, 1001);
    link.SetAutoSize(true);
    parent.show();
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);

    EXPECT_TRUE(Shows(link.grab().toImage(), qRgb(0, 0, 192)));
    EXPECT_FALSE(Shows(link.grab().toImage(), qRgb(0, 0, 255)));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&link, &enter);
    EXPECT_EQ(link.TextColor(), QColor(0, 0, 255));
    EXPECT_TRUE(Shows(link.grab().toImage(), qRgb(0, 0, 255)));
    EXPECT_FALSE(Shows(link.grab().toImage(), qRgb(0, 0, 192)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_EQ(link.TextColor(), QColor(0, 0, 192));

    QSignalSpy clicked(&link, &CStaticLink::Clicked);
    QTest::mouseClick(&link, Qt::LeftButton);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1001);
    QTest::mouseClick(&link, Qt::RightButton);
    EXPECT_EQ(clicked.count(), 1);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&link);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Link);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("https://kelvana.example/"));
}

TEST(SplashWnd, AtMostOneAndNoneWithoutAPicture)
{
    EXPECT_FALSE(CSplashWnd::Show(QPixmap()));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    QPixmap picture(400, 240);
    picture.fill(QColor(30, 90, 160));
    ASSERT_TRUE(CSplashWnd::Show(picture));
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(400, 240));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    const QPointF offCentre = QRectF(splash->geometry()).center() -
                              QRectF(QGuiApplication::primaryScreen()->availableGeometry()).center();
    EXPECT_LE(offCentre.manhattanLength(), 1.0);
    EXPECT_EQ(splash->grab().toImage().pixel(200, 120), qRgb(30, 90, 160));

    QPixmap other(400, 240);
    other.fill(Qt::red);
    EXPECT_FALSE(CSplashWnd::Show(other));
    EXPECT_EQ(CSplashWnd::Current(), splash);

    CSplashWnd::Close();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::Close(); // a second close does nothing
}

TEST(ShellDialogs, OptionsAboutAndUpdatePromptLook)
{
    CDlgOption options(QStringLiteral("/home/ann/My Photo Albums"));
    options.show();
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Option"));
    EXPECT_TRUE(options.OkButton()->isDefault());
    EXPECT_GE(options.width(), 249);
    TestSupport::KeepScreenshot(options.grab().toImage(), QStringLiteral("options"));

    CAboutDlg about(nullptr, QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    QList<QUrl> opened;
    about.SetUrlOpener([&opened](const QUrl& url) { opened << url; });
    about.show();
    EXPECT_EQ(about.OkButton()->text(), QStringLiteral("确定"));
    // The OK button stands at the top right.
    EXPECT_GT(about.OkButton()->x(), about.width() / 2);
    EXPECT_LT(about.OkButton()->y(), about.height() / 3);
    TestSupport::KeepScreenshot(about.grab().toImage(), QStringLiteral("about"));
    EXPECT_EQ(about.SiteLink()->size(), about.SiteLink()->sizeHint()) << "the link is as wide as its text";
    QTest::mouseClick(about.SiteLink(), Qt::LeftButton);
    EXPECT_EQ(opened, QList<QUrl>{QUrl(about.SiteLink()->Text())});
    QTest::mouseClick(about.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());

    CDlgUpdaterPrompt prompt(QStringLiteral("A new version of Vantri Kelvana is available.\n\nYour version is: "
                                            "2.149\nCurrent version is: 3.150\n\nDo you want to get it?"));
    prompt.show();
    TestSupport::KeepScreenshot(prompt.grab().toImage(), QStringLiteral("updater-prompt"));
}
