// The shell's pictures: drawn at their logical size times the ratio asked
// for, carrying that ratio, and not blank.
#include "editor/shell/controls/ShellArt.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool HasDrawing(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

struct Picture {
    const char* name;
    QSize logical;
    std::function<QPixmap(qreal)> draw;
};

TEST(ShellArt, PicturesHaveTheirSizeTimesTheRatioAndAreDrawn)
{
    using S = ShellArt::State;
    const std::vector<Picture> pictures = {
        {"tab normal", {97, 26}, [](qreal r) { return ShellArt::Tab(0, QSize(97, 26), r); }},
        {"tab selected", {97, 26}, [](qreal r) { return ShellArt::Tab(1, QSize(97, 26), r); }},
        {"tab hot", {97, 26}, [](qreal r) { return ShellArt::Tab(2, QSize(97, 26), r); }},
        {"app button", {45, 45}, [](qreal r) { return ShellArt::AppButton(S::Hot, r); }},
        {"save", {85, 37}, [](qreal r) { return ShellArt::StepButton(310, S::Normal, r); }},
        {"next", {85, 37}, [](qreal r) { return ShellArt::StepButton(311, S::Pressed, r); }},
        {"back", {85, 37}, [](qreal r) { return ShellArt::StepButton(312, S::Disabled, r); }},
        {"toggle", {72, 16}, [](qreal r) { return ShellArt::Toggle(true, S::Normal, r); }},
        {"existing album", {16, 16}, [](qreal r) { return ShellArt::ExistingAlbum(r); }},
        {"menu about", {32, 32}, [](qreal r) { return ShellArt::MenuImage(16, r); }},
        {"menu options", {32, 32}, [](qreal r) { return ShellArt::MenuImage(14, r); }},
        {"splash", {400, 240}, [](qreal r) { return ShellArt::Splash(r); }},
        {"information", {16, 16}, [](qreal r) { return ShellArt::Information(r); }},
        {"contrast", {32, 32}, [](qreal r) { return ShellArt::SliderButton(325, S::Hot, r); }},
    };
    for (qreal ratio : {1.0, 2.0}) {
        for (const Picture& picture : pictures) {
            SCOPED_TRACE(std::string(picture.name) + " at " + std::to_string(ratio));
            const QPixmap pixmap = picture.draw(ratio);
            EXPECT_EQ(pixmap.size(), picture.logical * ratio);
            EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
            EXPECT_TRUE(HasDrawing(pixmap));
        }
    }
}

TEST(ShellArt, StatesDifferAndUnknownIndicesGiveNothing)
{
    const QImage normal = ShellArt::StepButton(311, ShellArt::State::Normal, 1).toImage();
    EXPECT_NE(normal, ShellArt::StepButton(311, ShellArt::State::Hot, 1).toImage());
    EXPECT_NE(normal, ShellArt::StepButton(312, ShellArt::State::Normal, 1).toImage());
    EXPECT_TRUE(ShellArt::MenuImage(5, 1).isNull());
    EXPECT_FALSE(ShellArt::AppIcon().pixmap(48, 48).isNull());
}

} // namespace
