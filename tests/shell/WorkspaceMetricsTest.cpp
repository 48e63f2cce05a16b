#include "editor/shell/StepTabRules.h"
#include "editor/shell/WorkspaceMetrics.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace WorkspaceMetrics;

TEST(WorkspaceMetrics, ClientViewPlacesTheStepAboveTheButtonBand)
{
    const ClientLayout layout = LayOutClient(QRect(0, 0, 1000, 600));
    EXPECT_EQ(layout.step, QRect(0, 0, 1000, 560));
    EXPECT_EQ(layout.band, QRect(0, 560, 1000, 40));
    EXPECT_EQ(layout.save, QRect(10, 563, 85, 37));
    EXPECT_EQ(layout.next, QRect(905, 563, 85, 37));
    EXPECT_EQ(layout.back, QRect(810, 563, 85, 37));
}

TEST(WorkspaceMetrics, BackAndNextFollowTheStep)
{
    const struct {
        int step;
        bool back, next;
        int nextStep, previousStep;
    } cases[] = {{0, false, true, 1, -1}, {1, true, true, 2, 0}, {2, true, true, 3, 1}, {3, true, false, -1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(ButtonsFor(c.step).backEnabled, c.back);
        EXPECT_EQ(ButtonsFor(c.step).nextEnabled, c.next);
        EXPECT_EQ(NextStep(c.step), c.nextStep);
        EXPECT_EQ(PreviousStep(c.step), c.previousStep);
    }
}

TEST(WorkspaceMetrics, EditStepLowerAreaFollowsTheWindowHeight)
{
    const struct {
        int height, area;
    } cases[] = {{400, 150}, {600, 150}, {601, 151}, {625, 175}, {700, 250}, {775, 325}, {1200, 325}};
    for (const auto& c : cases)
        EXPECT_EQ(EditLowerArea(c.height), c.area) << c.height;

    // 700 high: the strip sits 250 above the bottom, the list fills the rest.
    const EditLayout layout = LayOutEdit(QRect(0, 0, 1100, 560), 700);
    EXPECT_EQ(layout.strip, QRect(0, 310, 1100, 96));
    EXPECT_EQ(layout.effectList, QRect(0, 406, 1100, 153));
    EXPECT_EQ(layout.pane, QRect(0, 0, 1100, 310));
}

TEST(WorkspaceMetrics, SplitterKeepsTwoThirdsUnlessCollapsed)
{
    EXPECT_EQ(RowsFor(600, false, 4).browse, 400);
    EXPECT_EQ(RowsFor(600, false, 4).storyboard, 196);
    EXPECT_EQ(RowsFor(301, false, 0).browse, 200); // integer division
    EXPECT_EQ(RowsFor(600, true, 4).browse, 0);
    EXPECT_EQ(RowsFor(600, true, 4).storyboard, 580);
    EXPECT_EQ(ToggleRect(QRect(0, 400, 1000, 20)), QRect(464, 403, 72, 16));
}

TEST(WorkspaceMetrics, ExplorerPaneHeaderButtonAndTree)
{
    const ExplorerPaneLayout layout = LayOutExplorerPane(QRect(0, 0, 250, 400));
    EXPECT_EQ(layout.header, QRect(0, 0, 250, 20));
    EXPECT_EQ(layout.button, QRect(3, 23, 130, 24));
    EXPECT_EQ(layout.tree, QRect(0, 50, 250, 350));
}

TEST(WorkspaceMetrics, OnlyAFirstDroppedFileEndingInDotQemOpens)
{
    static QStringList folders;
    folders = {"/albums/x.qem"};
    auto isFolder = [](const QString& path) { return folders.contains(path); };
    const struct {
        QStringList paths;
        const char* folder;
    } cases[] = {
        {{"/albums/Trip/Trip.qem"}, "/albums/Trip"},
        {{"/albums/Trip/Trip.QEM"}, ""},       // the extension is compared exactly
        {{"/albums/x.qem"}, ""},               // a folder named like a project
        {{".qem"}, ""},                        // too short
        {{"/a/b.jpg", "/albums/T/T.qem"}, ""}, // only the first path counts
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProjectFolderOfDrop(c.paths, isFolder), QString(c.folder)) << c.paths.join(",").toStdString();
}

namespace {
StepTabRules FourTabs(int width)
{
    StepTabRules tabs;
    for (const char* caption : {"添加图片  ", "编辑效果    ", "主题和音乐 ", "生成影集      "})
        tabs.AddTab(QString::fromUtf8(caption));
    tabs.LayOut(QRect(0, 0, width, 30));
    return tabs;
}
int VisibleTabs(const StepTabRules& tabs)
{
    int visible = 0;
    for (int i = 0; i < tabs.Count(); ++i)
        visible += tabs.At(i).visible ? 1 : 0;
    return visible;
}
} // namespace

TEST(StepTabRules, NarrowStripsHideTabsFromTheRight)
{
    // The area is the strip less 20 pixels; each tab needs 100.
    const struct {
        int width, visible;
    } cases[] = {{270, 2}, {319, 2}, {320, 3}, {420, 4}, {15, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(VisibleTabs(FourTabs(c.width)), c.visible) << c.width;

    const StepTabRules tabs = FourTabs(270); // a 250-pixel area
    EXPECT_EQ(tabs.At(0).rect, QRect(13, 1, 97, 31));
    EXPECT_EQ(tabs.At(1).rect, QRect(113, 1, 97, 31));
    EXPECT_TRUE(tabs.At(2).rect.isNull());
}

TEST(StepTabRules, ClickSelectsTheHotTabOnlyWhenItIsNotSelected)
{
    StepTabRules tabs = FourTabs(800);
    EXPECT_EQ(tabs.Selected(), 0);
    EXPECT_EQ(tabs.Click(), -1); // nothing hot

    EXPECT_EQ(tabs.Hover(QPoint(20, 10), true), std::vector<int>{0});
    EXPECT_EQ(tabs.Click(), -1); // the selected tab
    EXPECT_EQ(tabs.ImageOf(0), 1);

    EXPECT_EQ(tabs.Hover(QPoint(220, 10), true), (std::vector<int>{0, 2}));
    EXPECT_EQ(tabs.ImageOf(2), 2);
    EXPECT_EQ(tabs.Click(), 2);
    EXPECT_EQ(tabs.Selected(), 2);
    EXPECT_EQ(tabs.ImageOf(0), 0);
    EXPECT_EQ(tabs.ImageOf(2), 1);

    // Leaving the strip clears the hot tab.
    EXPECT_EQ(tabs.Hover(QPoint(0, 0), false), std::vector<int>{2});
    EXPECT_EQ(tabs.Hot(), -1);
}

TEST(StepTabRules, SelectTabIgnoresTheSelectedAndUnknownTabs)
{
    StepTabRules tabs = FourTabs(800);
    EXPECT_FALSE(tabs.SelectTab(0));
    EXPECT_FALSE(tabs.SelectTab(4));
    EXPECT_FALSE(tabs.SelectTab(-1));
    EXPECT_TRUE(tabs.SelectTab(3));
    EXPECT_TRUE(tabs.At(3).selected);
    EXPECT_FALSE(tabs.At(0).selected);
    EXPECT_EQ(StepTabRules::StripRect(1000, 60, 30), QRect(45, 29, 950, 30));
}
