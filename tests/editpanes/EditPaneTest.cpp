// The edit panes: the size-list rules without a display, and the photo edit
// pane and effect pane offscreen over an album of real photos: the tools by
// their names, reset, the sliders' live preview with one write when the
// slider closes, the caption properties, and apply-to-all's question.
#include "EditPanesFixture.h"
#include "editor/core/PhotoEditCommands.h"
#include "editor/core/StringTable.h"
#include "editor/imaging/ImageTransforms.h"
#include "editor/imaging/widgets/editpane/ColourButton.h"
#include "editor/imaging/widgets/editpane/FontSizeRules.h"
#include "editor/imaging/widgets/editpane/NormalEditPane.h"
#include "editor/imaging/widgets/editpane/PhotoEditPane.h"
#include "editor/shell/controls/QemBtnSplider.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/QemPopSliderCtrl.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

TEST(FontSizeRulesTest, BitmapSizesInHalfPoints)
{
    const struct {
        int em, dpi;
        const char* text;
    } cases[] = {{14, 96, "10.5"}, {16, 96, "12"}, {13, 96, "10"}, {11, 96, "8.5"}, {20, 120, "12"}, {0, 96, "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(FontSizeRules::BitmapSizeText(c.em, c.dpi), c.text) << c.em << " px at " << c.dpi;
}

TEST(FontSizeRulesTest, SizeIsTheDigitsBeforeThePoint)
{
    const struct {
        const char* text;
        int size;
    } cases[] = {{"10.5", 10}, {"20", 20}, {"8", 8}, {"", 0}, {"abc", 0}, {".5", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FontSizeRules::SizeFromText(c.text), c.size) << c.text;
}

TEST(FontSizeRulesTest, ListIsFilledOnceForTheFirstFace)
{
    FontSizeRules::SizeList scalableFirst;
    ASSERT_TRUE(scalableFirst.FillIfEmpty(true, {}, 96));
    EXPECT_EQ(scalableFirst.Entries(), QStringList({"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24",
                                                    "26", "28", "36", "48", "72"}));
    EXPECT_FALSE(scalableFirst.FillIfEmpty(false, {14}, 96));
    EXPECT_FALSE(scalableFirst.FillIfEmpty(true, {}, 96));
    EXPECT_EQ(scalableFirst.Entries().size(), 16);

    FontSizeRules::SizeList bitmapFirst;
    ASSERT_TRUE(bitmapFirst.FillIfEmpty(false, {14, 16}, 96));
    EXPECT_EQ(bitmapFirst.Entries(), QStringList({"10.5", "12"}));
    EXPECT_FALSE(bitmapFirst.FillIfEmpty(true, {}, 96));
}

class PhotoEditPaneTest : public EditPanesTest::ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        pane = std::make_unique<CPhotoEditPane>(*context);
        pane->resize(600, 220);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
    }
    void TearDown() override
    {
        pane.reset();
        ContextTest::TearDown();
    }
    // One photo, current in the strip and shown.
    void OnePhotoShown()
    {
        AddPhotos(1);
        album().SetCellStates(0, LrItem::Current, LrItem::Normal);
        context->EditCommands().SelectPhoto(0, true);
        original = album().PathOf(0);
    }
    // The green of a corner pixel of the photo's gradient, well inside 0..255.
    int Level(const QImage& picture) const { return qGreen(picture.pixel(8, 8)); }

    std::unique_ptr<CPhotoEditPane> pane;
    QString original;
};

TEST_F(PhotoEditPaneTest, ToolsAreNamedForScreenReaders)
{
    const struct {
        CPhotoEditPane::Tool tool;
        const char* name;
    } cases[] = {
        {CPhotoEditPane::RedEyeTool, "Red-eye Removal"}, {CPhotoEditPane::CropTool, "Crop"},
        {CPhotoEditPane::RotateLeftTool, "Rotate Left"}, {CPhotoEditPane::RotateRightTool, "Rotate Right"},
        {CPhotoEditPane::MirrorTool, "Mirror"},          {CPhotoEditPane::ResetTool, "Reset"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(pane->ToolButton(c.tool), nullptr) << c.name;
        EXPECT_EQ(pane->ToolButton(c.tool)->accessibleName(), c.name);
    }
    EXPECT_EQ(pane->ToolButton(CPhotoEditPane::RotateLeftTool)->Caption(), "90");
    EXPECT_EQ(pane->BrightnessButton()->accessibleName(), "Brightness");
    EXPECT_EQ(pane->ContrastButton()->accessibleName(), "Contrast");
    EXPECT_EQ(pane->SizeBox()->currentText(), "20");
    EXPECT_EQ(pane->CaptionSize(), 20);
    EXPECT_EQ(pane->LinkEdit()->text(), "http://");
    EXPECT_TRUE(pane->LinkEdit()->font().underline());
    TestSupport::KeepScreenshot(pane->grab().toImage(), "photo-edit-pane");
}

TEST_F(PhotoEditPaneTest, ToolsReachTheEditCommands)
{
    OnePhotoShown();
    pane->ToolButton(CPhotoEditPane::CropTool)->click();
    EXPECT_TRUE(context->EditCommands().CropMode());
    pane->ToolButton(CPhotoEditPane::RedEyeTool)->click();
    EXPECT_TRUE(context->EditCommands().RedEyeMode());
    EXPECT_FALSE(context->EditCommands().CropMode());
    pane->ToolButton(CPhotoEditPane::RotateLeftTool)->click();
    EXPECT_FALSE(context->EditCommands().RedEyeMode());
    EXPECT_EQ(display.ShownPicture().size(), QSize(240, 320)) << "the 320 x 240 photo turned";
}

TEST_F(PhotoEditPaneTest, SliderPreviewsLiveAndWritesTheWorkingCopyOnceWhenItCloses)
{
    OnePhotoShown();
    const int before = Level(display.ShownPicture());
    ASSERT_LT(before, 200);
    QSignalSpy edits(&context->EditCommands(), &PhotoEditCommands::PhotoEdited);
    album().SetModified(false);
    CQemBtnSplider* button = pane->BrightnessButton();
    button->OpenSlider();
    ASSERT_TRUE(button->Slider()->isVisible());
    button->Slider()->setValue(30);
    button->Slider()->setValue(40);
    EXPECT_EQ(Level(display.ShownPicture()), before + 40) << "previewed from the start, not 30 + 40";
    EXPECT_EQ(album().PathOf(0), original) << "no working copy while the slider moves";
    EXPECT_EQ(edits.count(), 0);
    EXPECT_FALSE(album().Project().modified);
    EXPECT_EQ(display.CurrentPath(), original);

    button->Slider()->hide();
    EXPECT_EQ(edits.count(), 1);
    EXPECT_NE(album().PathOf(0), original);
    EXPECT_TRUE(copies.IsWorkingCopy(album().PathOf(0)));
    EXPECT_EQ(album().Item(0).brightness, 40);
    EXPECT_NEAR(Level(display.ShownPicture()), before + 40, 6);

    // Reopened: the next moves start from the same unbrightened snapshot.
    button->OpenSlider();
    button->Slider()->setValue(20);
    EXPECT_NEAR(Level(display.ShownPicture()), before + 20, 6);
    button->Slider()->hide();
    EXPECT_EQ(edits.count(), 2);
    EXPECT_EQ(album().Item(0).brightness, 20);
}

TEST_F(PhotoEditPaneTest, PreviewStartsFromThePictureTheLastEditLeft)
{
    // The preview keeps its starting picture while the slider moves; an edit
    // in between, which rewrites the same working copy, must not leave the
    // next drag starting from the old picture.
    OnePhotoShown();
    CQemBtnSplider* button = pane->BrightnessButton();
    const auto drag = [button] {
        button->OpenSlider();
        button->Slider()->setValue(button->Slider()->value() + 1);
        button->Slider()->setValue(button->Slider()->value() + 1);
    };
    pane->ToolButton(CPhotoEditPane::RotateLeftTool)->click();
    drag();
    EXPECT_EQ(display.ShownPicture().size(), QSize(240, 320));
    button->Slider()->hide();

    pane->ToolButton(CPhotoEditPane::RotateLeftTool)->click();
    drag();
    EXPECT_EQ(display.ShownPicture().size(), QSize(320, 240)) << "previewed from the picture before the second turn";
    button->Slider()->hide();
    EXPECT_EQ(display.ShownPicture().size(), QSize(320, 240));
}

TEST_F(PhotoEditPaneTest, ContrastAfterBrightnessPreviewsFromTheBrightenedPicture)
{
    OnePhotoShown();
    const int before = Level(display.ShownPicture());
    pane->BrightnessButton()->OpenSlider();
    pane->BrightnessButton()->Slider()->setValue(30);
    pane->BrightnessButton()->Slider()->hide();
    pane->ContrastButton()->OpenSlider();
    pane->ContrastButton()->Slider()->setValue(40);
    const int expected = ImageOps::LightTable(0, 40)[size_t(before + 30)];
    EXPECT_NEAR(Level(display.ShownPicture()), expected, 8);
    pane->ContrastButton()->Slider()->hide();
    EXPECT_NEAR(Level(display.ShownPicture()), expected, 8);
}

TEST_F(PhotoEditPaneTest, ResetPutsSlidersAndStoredValuesToZero)
{
    OnePhotoShown();
    pane->BrightnessButton()->OpenSlider();
    pane->BrightnessButton()->Slider()->setValue(25);
    pane->BrightnessButton()->Slider()->hide();
    pane->ContrastButton()->OpenSlider();
    pane->ContrastButton()->Slider()->setValue(-15);
    pane->ContrastButton()->Slider()->hide();
    ASSERT_EQ(album().Item(0).brightness, 25);
    ASSERT_EQ(album().Item(0).contrast, -15);
    ASSERT_NE(album().PathOf(0), original);

    pane->ToolButton(CPhotoEditPane::ResetTool)->click();
    EXPECT_EQ(album().Item(0).brightness, 0);
    EXPECT_EQ(album().Item(0).contrast, 0);
    EXPECT_EQ(pane->BrightnessButton()->Value(), 0);
    EXPECT_EQ(pane->ContrastButton()->Value(), 0);
    EXPECT_EQ(pane->LastBrightness(), 0);
    EXPECT_EQ(pane->LastContrast(), 0);
    EXPECT_EQ(album().PathOf(0), original);
}

TEST_F(PhotoEditPaneTest, CaptionPropertiesShowWithoutRequestsAndChoicesRequest)
{
    QSignalSpy faces(pane.get(), &CPhotoEditPane::FaceChosen);
    QSignalSpy sizes(pane.get(), &CPhotoEditPane::SizeChosen);
    QSignalSpy colours(pane.get(), &CPhotoEditPane::ColourChosen);
    QSignalSpy urls(pane.get(), &CPhotoEditPane::UrlEdited);
    pane->ShowCaptionProperties(pane->FontBox()->currentFont().family(), 10, QColor(Qt::red), "http://a.example/");
    EXPECT_EQ(pane->SizeBox()->currentText(), "10");
    EXPECT_EQ(pane->ColourBox()->Colour(), QColor(Qt::red));
    EXPECT_EQ(pane->LinkEdit()->text(), "http://a.example/");
    pane->ShowCaptionProperties(QString(), 0, QColor(), QString());
    EXPECT_EQ(pane->LinkEdit()->text(), "http://");
    EXPECT_EQ(pane->SizeBox()->currentText(), "10") << "size 0 leaves the list as it is";
    EXPECT_EQ(faces.count() + sizes.count() + colours.count() + urls.count(), 0);

    pane->SizeBox()->setCurrentIndex(pane->SizeBox()->findText("36"));
    ASSERT_EQ(sizes.count(), 1);
    EXPECT_EQ(sizes.at(0).at(0).toInt(), 36);
    pane->LinkEdit()->clear();
    QTest::keyClicks(pane->LinkEdit(), "x");
    ASSERT_EQ(urls.count(), 1);
    EXPECT_EQ(urls.at(0).at(0).toString(), "x");
    pane->ColourBox()->AutomaticAction()->trigger();
    ASSERT_EQ(colours.count(), 1);
    EXPECT_FALSE(colours.at(0).at(0).value<QColor>().isValid());
}

class EffectPaneTest : public EditPanesTest::ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        pane = std::make_unique<CNormalEditPane>(*context);
        pane->resize(400, 300);
        pane->SetLastPreviewedEffect([this] { return previewed; });
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
    }
    std::vector<int> Effects() const
    {
        std::vector<int> effects;
        for (int i = 0; i < album().Count(); ++i)
            effects.push_back(album().Item(i).effect);
        return effects;
    }
    std::unique_ptr<CNormalEditPane> pane;
    int previewed = -1;
};

TEST_F(EffectPaneTest, ApplyToAllAsksAndAppliesOnlyOnYes)
{
    AddPhotos(5);
    for (int i = 0; i < 5; ++i)
        album().SetEffect(i, 0);
    previewed = 2;
    for (bool yes : {false, true}) {
        messages.texts.clear();
        messages.answer = yes;
        pane->ApplyToAllButton()->click();
        ASSERT_EQ(messages.texts, QStringList{Strings::Load(Strings::ApplyEffectToAll)});
        EXPECT_EQ(messages.kinds.last(), UserMessages::Kind::Question);
        EXPECT_EQ(Effects(), std::vector<int>(5, yes ? 2 : 0)) << "answer " << yes;
    }
}

TEST_F(EffectPaneTest, NoQuestionWithoutAnEffectInsideTheCatalogue)
{
    AddPhotos(2);
    messages.answer = true;
    for (int effect : {-1, 3}) {
        previewed = effect;
        pane->ApplyToAll();
    }
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(EffectPaneTest, ButtonKeepsItsGapsAndTheExplorerFillsAbove)
{
    auto* explorer = new QWidget;
    pane->SetExplorer(explorer);
    pane->resize(500, 320);
    const QRect button = pane->ApplyToAllButton()->geometry();
    EXPECT_EQ(button.right() + 1, 500 - CNormalEditPane::kRightGap);
    EXPECT_EQ(button.bottom() + 1, 320 - CNormalEditPane::kBottomGap);
    EXPECT_EQ(explorer->parentWidget(), pane.get());
    EXPECT_LE(explorer->geometry().bottom(), button.top());
    EXPECT_EQ(pane->ApplyToAllButton()->accessibleName(), "应用到所有");
    TestSupport::KeepScreenshot(pane->grab().toImage(), "effect-pane");
}

} // namespace
