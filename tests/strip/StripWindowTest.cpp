// The transition strip, the effects list and the effects explorer offscreen
// over a real album model and thumbnail cache: clicks, arrow scrolling, the
// cell drags with their outcome in the album and the storyboard, the cells as
// a screen reader sees them, the effects list's assignments and the preview
// requests.
#include "common/movieplayer/MoviePlayer.h"
#include "editor/catalogues/widgets/effects/EffectListCtrl.h"
#include "editor/catalogues/widgets/effects/EffectPhotoWnd.h"
#include "editor/catalogues/widgets/effects/LREffectExplorerWnd.h"
#include "editor/catalogues/widgets/effects/TransitionPreview.h"
#include "editor/catalogues/widgets/strip/QemLREffectWnd.h"
#include "tests/RecordedMessages.h"
#include "tests/shell/EditorContextTest.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

using Kind = QemControls::CLREffectWnd::Kind;
constexpr int kStripWidth = 40 + 4 * 159; // four whole slots
constexpr int kAfterThird = 25 + 3 * 159 + 10; // the empty fourth slot of a three-photo album

class StripTest : public EditorContextTest {
protected:
    void SetUp() override
    {
        MakeContext(messages, 1);
        // Effects with names and pictures.
        const QString app = TestSupport::MakeFolder("strip-app");
        QByteArray catalogue = "<Effects>";
        for (int i = 0; i < kEffects; ++i) {
            const QByteArray n = QByteArray::number(i);
            catalogue += "<Effect id=\"fx" + n + "\" png=\"fx" + n + ".png\" name=\"Effect " + n + "\"/>";
            TestSupport::WritePhoto(EffectCatalogue::PicturesFolder(app) + "fx" + n + ".png", 60, 48,
                                    QColor::fromHsv(i * 40, 200, 200));
        }
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), catalogue + "</Effects>");
        ASSERT_EQ(effects.Load(app), kEffects);

        host = std::make_unique<QWidget>();
        host->resize(kStripWidth, 400);
        strip = new CQemLREffectWnd(*context, host.get());
        strip->setGeometry(0, 0, kStripWidth, 96);
        effectWnd = new CEffectPhotoWnd(*context, host.get());
        effectWnd->setGeometry(0, 110, kStripWidth, 280);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }
    void TearDown() override
    {
        host.reset();
        EditorContextTest::TearDown();
    }

    AlbumModel& album() const { return context->Album(); }
    // Photos P1..Pn with effect i and a caption naming the photo.
    void fillAlbum(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("P%1").arg(i + 1);
            const QString path = TestSupport::WritePhoto(pictures + "/" + name + ".png", 320, 240,
                                                         QColor::fromHsv(i * 30, 200, 200));
            ASSERT_EQ(album().AddPhoto(path), i);
            album().SetEffect(i, i % kEffects);
            album().SetCaptionContent(i, CaptionBox{1, 2, 3, 4}, {name}, 0x0000ff, 12, QStringLiteral("Sans"));
        }
    }
    // The album as "photo:effect:caption" in strip order, checked against the storyboard.
    QString albumText() const
    {
        QStringList parts;
        const auto storyboard = album().StoryboardOrder();
        for (int i = 0; i < album().Count(); ++i) {
            EXPECT_EQ(storyboard[size_t(i)], album().Photo(i)) << "storyboard differs at " << i;
            const LrItem& item = album().Item(i);
            parts << QStringLiteral("%1:%2:%3")
                         .arg(QFileInfo(album().Photo(i)->label).completeBaseName())
                         .arg(item.effect)
                         .arg(item.caption ? item.caption->lines.join(' ') : QString());
        }
        return parts.join(' ');
    }
    void mouse(QWidget* target, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, p, target->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void click(QWidget* target, QPoint p)
    {
        mouse(target, QEvent::MouseButtonPress, p, Qt::LeftButton);
        mouse(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
    }
    void dragInStrip(QPoint from, QPoint to)
    {
        mouse(strip, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(strip, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        mouse(strip, QEvent::MouseMove, to, Qt::LeftButton);
        mouse(strip, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    QPoint photoCell(int index) const { return strip->Layout().PhotoCellOf(index).center(); }
    QPoint transitionCell(int index) const { return strip->Layout().TransitionCellOf(index).center(); }

    static constexpr int kEffects = 6;
    TestSupport::RecordedMessages messages;
    QString pictures = TestSupport::MakeFolder("strip-pictures");
    std::unique_ptr<QWidget> host;
    CQemLREffectWnd* strip = nullptr;
    CEffectPhotoWnd* effectWnd = nullptr;
};

} // namespace

TEST_F(StripTest, ClicksMakeOneCellCurrentAndTellTheEditStep)
{
    fillAlbum(4);
    QSignalSpy photo(strip, &QemControls::CLREffectWnd::PhotoCellCurrent);
    QSignalSpy transition(strip, &QemControls::CLREffectWnd::TransitionCellCurrent);
    QSignalSpy before(strip, &QemControls::CLREffectWnd::BeforeCurrentChanges);

    click(strip, photoCell(1));
    EXPECT_EQ(album().CurrentIndex(), 1);
    EXPECT_EQ(album().Item(1).photoState, LrItem::Current);
    ASSERT_EQ(photo.count(), 1);
    EXPECT_EQ(photo.at(0).at(0).toInt(), 1);
    EXPECT_EQ(before.count(), 0);

    click(strip, transitionCell(2));
    EXPECT_EQ(album().CurrentIndex(), 2);
    EXPECT_EQ(album().Item(1).photoState, LrItem::Normal);
    EXPECT_EQ(album().Item(2).effectState, LrItem::Current);
    EXPECT_EQ(album().Item(2).photoState, LrItem::Normal);
    ASSERT_EQ(transition.count(), 1);
    EXPECT_EQ(transition.at(0).at(0).toInt(), 2);
    ASSERT_EQ(before.count(), 1);
    EXPECT_EQ(before.at(0).at(0).toInt(), 1);
    EXPECT_EQ(before.at(0).at(1).toInt(), 2);
    TestSupport::KeepScreenshot(strip->grab().toImage(), "strip-current-transition");

    // A click between the cells leaves no current cell.
    click(strip, QPoint(strip->Layout().PhotoCellOf(0).right() + 2, 50));
    EXPECT_EQ(album().CurrentIndex(), -1);
    for (int i = 0; i < album().Count(); ++i)
        EXPECT_EQ(album().Item(i).photoState + album().Item(i).effectState, 0) << i;
}

TEST_F(StripTest, ArrowClicksScrollOneSlotWithinTheLimits)
{
    fillAlbum(10);
    const QPoint left(5, 50);
    const QPoint right(kStripWidth - 5, 50);
    click(strip, right);
    EXPECT_EQ(strip->Layout().FirstVisible(), 1);
    click(strip, left);
    EXPECT_EQ(strip->Layout().FirstVisible(), 0);
    click(strip, left);
    EXPECT_EQ(strip->Layout().FirstVisible(), 0);
    for (int i = 0; i < 12; ++i)
        click(strip, right);
    EXPECT_EQ(strip->Layout().FirstVisible(), 6); // items 6 to 9 fill the four slots
    EXPECT_TRUE(strip->Layout().AtEnd());
    // The first slot now shows item 6.
    EXPECT_EQ(strip->Layout().PhotoCellOf(6).x(), 25);
    click(strip, QPoint(30, 50));
    EXPECT_EQ(album().CurrentIndex(), 6);
}

TEST_F(StripTest, DragsExchangeOrMoveInTheAlbumAndTheStoryboard)
{
    struct Case {
        const char* what;
        bool fromTransition;
        int from;
        // Target: a cell of item `to` (photo or transition), or a point in a gap.
        bool toTransition;
        int to;
        QPoint gapPoint;
        const char* album;
        int current;
    };
    const Case cases[] = {
        {"photo onto photo", false, 0, false, 2, {}, "P3:2:P3 P2:1:P2 P1:0:P1", 2},
        {"transition onto transition", true, 0, true, 2, {}, "P1:2:P1 P2:1:P2 P3:0:P3", 2},
        {"photo onto its own cell", false, 1, false, 1, {}, "P1:0:P1 P2:1:P2 P3:2:P3", 1},
        {"photo onto a transition", false, 0, true, 2, {}, "P1:0:P1 P2:1:P2 P3:2:P3", 0},
        {"photo into the gap after the last", false, 0, false, -1, {kAfterThird, 50},
         "P2:1:P2 P3:2:P3 P1:0:P1", 2},
        {"photo into the gap before the first", false, 2, false, -1, {22, 50}, "P3:2:P3 P1:0:P1 P2:1:P2", 0},
        {"photo into its own gap", false, 1, false, -1, {25 + 159 - 3, 50}, "P1:0:P1 P2:1:P2 P3:2:P3", 1},
        {"transition into a gap moves its photo", true, 2, false, -1, {22, 50}, "P3:2:P3 P1:0:P1 P2:1:P2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        album().Clear();
        fillAlbum(3);
        QSignalSpy moved(strip, &QemControls::CLREffectWnd::PhotoMoved);
        const QPoint from = c.fromTransition ? transitionCell(c.from) : photoCell(c.from);
        const QPoint to = c.to < 0 ? c.gapPoint : c.toTransition ? transitionCell(c.to) : photoCell(c.to);
        dragInStrip(from, to);
        EXPECT_EQ(albumText(), QString::fromLatin1(c.album));
        EXPECT_EQ(album().CurrentIndex(), c.current);
        EXPECT_TRUE(strip->HasCurrentCell(c.current, c.fromTransition ? Kind::Transition : Kind::Photo));
        EXPECT_EQ(strip->DropTarget(), -1);
        EXPECT_EQ(strip->InsertionMark(), -1);
        EXPECT_FALSE(strip->Dragging());
    }
}

TEST_F(StripTest, APhotoDragShowsTheInsertionBarAndTheDropTarget)
{
    fillAlbum(3);
    mouse(strip, QEvent::MouseButtonPress, photoCell(0), Qt::LeftButton);
    mouse(strip, QEvent::MouseMove, photoCell(2), Qt::LeftButton);
    EXPECT_TRUE(strip->Dragging());
    EXPECT_EQ(strip->DropTarget(), 2);
    EXPECT_EQ(strip->InsertionMark(), -1);
    mouse(strip, QEvent::MouseMove, QPoint(kAfterThird, 50), Qt::LeftButton);
    EXPECT_EQ(strip->DropTarget(), -1);
    EXPECT_EQ(strip->InsertionMark(), 2);
    EXPECT_TRUE(strip->InsertionAfter());
    const QImage shown = strip->grab().toImage();
    TestSupport::KeepScreenshot(shown, "strip-insertion");
    mouse(strip, QEvent::MouseButtonRelease, QPoint(kAfterThird, 50), Qt::NoButton);
    EXPECT_EQ(albumText(), "P2:1:P2 P3:2:P3 P1:0:P1");
}

TEST_F(StripTest, ScreenReadersFindTheCellsByPhotoAndEffectName)
{
    fillAlbum(2);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(strip);
    ASSERT_NE(face, nullptr);
    ASSERT_EQ(face->childCount(), 6);
    const QStringList names = {"P1.png", "Effect 0", "P2.png", "Effect 1", "Scroll Left", "Scroll Right"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(face->child(i)->text(QAccessible::Name), names[i]) << i;
        EXPECT_EQ(face->indexOfChild(face->child(i)), i);
    }
    EXPECT_TRUE(face->child(5)->state().disabled); // both photos fit
    // The transition cell's press makes it current.
    face->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(strip->HasCurrentCell(1, Kind::Transition));
    EXPECT_TRUE(face->child(3)->state().selected);
    EXPECT_EQ(face->childAt(strip->mapToGlobal(photoCell(0)).x(), strip->mapToGlobal(photoCell(0)).y()),
              face->child(0));
    album().RemovePhoto(1);
    EXPECT_EQ(face->childCount(), 4);
    EXPECT_EQ(face->child(2)->text(QAccessible::Name), "Scroll Left");
}

TEST_F(StripTest, EffectsListDoubleClickAssignsToTheCurrentPhoto)
{
    fillAlbum(3);
    CEffectListCtrl& list = *effectWnd->List();
    ASSERT_EQ(list.Count(), kEffects);
    EXPECT_EQ(list.ItemAt(4)->label, "Effect 4");
    QSignalSpy samples(&list, &CEffectListCtrl::SamplePreviewRequested);
    QSignalSpy changed(&album(), &AlbumModel::EffectChanged);
    QSignalSpy transition(strip, &QemControls::CLREffectWnd::TransitionCellCurrent);
    const auto doubleClick = [&](int item) {
        const QPoint p = list.CellRect(item).center();
        click(list.viewport(), p);
        mouse(list.viewport(), QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        mouse(list.viewport(), QEvent::MouseButtonRelease, p, Qt::NoButton);
    };

    // No current photo: the sample preview of the item.
    doubleClick(4);
    EXPECT_EQ(changed.count(), 0);
    ASSERT_GE(samples.count(), 1);
    EXPECT_EQ(samples.last().at(0).toInt(), 4);

    // The photo cell of P2 current: the double click gives P2 the effect.
    strip->Select(1, Kind::Photo);
    doubleClick(5);
    EXPECT_EQ(album().Item(1).effect, 5);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(transition.count(), 0); // the photo cell stays current

    // The same effect again changes nothing.
    doubleClick(5);
    EXPECT_EQ(changed.count(), 1);

    // With the transition cell current, making another item current assigns it
    // and previews it from the strip.
    strip->Select(1, Kind::Transition);
    transition.clear();
    click(list.viewport(), list.CellRect(3).center());
    EXPECT_EQ(album().Item(1).effect, 3);
    ASSERT_EQ(transition.count(), 1);
    EXPECT_EQ(transition.at(0).at(0).toInt(), 1);
}

TEST_F(StripTest, EffectsDroppedOntoATransitionCellAssignAndMakeItCurrent)
{
    fillAlbum(3);
    CEffectListCtrl& list = *effectWnd->List();
    QWidget* view = list.viewport();
    QSignalSpy transition(strip, &QemControls::CLREffectWnd::TransitionCellCurrent);
    const auto inView = [&](QPoint stripPoint) { return view->mapFromGlobal(strip->mapToGlobal(stripPoint)); };
    const QPoint start = list.CellRect(4).center();

    // Onto a photo cell: nothing changes.
    mouse(view, QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(view, QEvent::MouseMove, inView(photoCell(2)), Qt::LeftButton);
    EXPECT_TRUE(list.DragShown());
    EXPECT_EQ(strip->DropTarget(), -1);
    mouse(view, QEvent::MouseButtonRelease, inView(photoCell(2)), Qt::NoButton);
    EXPECT_EQ(album().Item(2).effect, 2);
    EXPECT_EQ(transition.count(), 0);

    // Onto the third photo's transition cell.
    mouse(view, QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(view, QEvent::MouseMove, start + QPoint(1, 1), Qt::LeftButton); // still in its cell
    EXPECT_FALSE(list.DragShown());
    mouse(view, QEvent::MouseMove, inView(transitionCell(2)), Qt::LeftButton);
    EXPECT_EQ(strip->DropTarget(), 2);
    EXPECT_EQ(list.DropTarget(), 2);
    auto* picture = host->findChild<QWidget*>("EffectDragPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->size(), QSize(40, 32));
    EXPECT_EQ(picture->pos() + QPoint(20, 16), host->mapFromGlobal(strip->mapToGlobal(transitionCell(2))));
    mouse(view, QEvent::MouseButtonRelease, inView(transitionCell(2)), Qt::NoButton);
    EXPECT_EQ(album().Item(2).effect, 4);
    EXPECT_EQ(album().Item(2).effectPicture, effects.Entry(4).picture);
    EXPECT_TRUE(strip->HasCurrentCell(2, Kind::Transition));
    EXPECT_EQ(album().CurrentIndex(), 2);
    EXPECT_EQ(strip->DropTarget(), -1);
    EXPECT_EQ(host->findChild<QWidget*>("EffectDragPicture"), nullptr);
    ASSERT_GE(transition.count(), 1);
    EXPECT_EQ(transition.last().at(0).toInt(), 2);
}

TEST_F(StripTest, StripPreviewsPlayThePhotoIntoTheNextAndTheLastIntoTheFirst)
{
    const QString app = TestSupport::AppDir();
    CLREffectExplorerWnd explorer(*context);
    explorer.SetAppDir(app);
    explorer.SetSources(effectWnd->List(), strip);
    const auto request = [&] {
        QString name;
        QStringList arguments;
        EXPECT_TRUE(CMoviePlayer::ParseInvokeRequest(explorer.LastRequest(), &name, &arguments));
        EXPECT_EQ(name, "toAs");
        return arguments;
    };

    fillAlbum(1);
    strip->Select(0, Kind::Transition);
    const QString only = album().DisplayPathOf(0);
    ASSERT_FALSE(only.isEmpty());
    EXPECT_EQ(request(), (QStringList{only, only, "fx0"}));

    album().Clear();
    fillAlbum(3);
    strip->Select(2, Kind::Transition);
    EXPECT_EQ(request(), (QStringList{album().DisplayPathOf(2), album().DisplayPathOf(0), "fx2"}));
    EXPECT_EQ(explorer.LastPreviewedEffect(), 2);
    EXPECT_EQ(explorer.CurrentSource(), CLREffectExplorerWnd::Source::Strip);
    strip->Select(0, Kind::Transition);
    EXPECT_EQ(request(), (QStringList{album().DisplayPathOf(0), album().DisplayPathOf(1), "fx0"}));

    // From the effects list: the sample pictures.
    effectWnd->List()->SetFocusItem(3);
    strip->Select(-1, Kind::Photo);
    effectWnd->List()->SetFocusItem(5);
    const TransitionPreview::Pictures samples = TransitionPreview::SamplePictures(app);
    EXPECT_EQ(request(), (QStringList{samples.first, samples.second, "fx5"}));
    EXPECT_EQ(explorer.LastPreviewedEffect(), 5);
    EXPECT_EQ(explorer.CurrentSource(), CLREffectExplorerWnd::Source::List);
}

TEST(TransitionPreviewRules, ArrowTargetsAndLimits)
{
    using TransitionPreview::Limits;
    struct Case {
        int current, remembered, count, arrow, target;
        Limits limits;
    };
    const Case cases[] = {
        {1, -1, 3, 1, 0, {false, false}},
        {1, -1, 3, 2, 2, {false, false}},
        {0, -1, 3, 1, -1, {true, false}},
        {2, -1, 3, 2, -1, {false, true}},
        {-1, 2, 3, 1, 1, {false, true}},  // no current item: next to the remembered one
        {-1, -1, 3, 1, 2, {false, false}}, // neither: the last item
        {-1, -1, 3, 2, 0, {false, false}}, // or the first
        {-1, -1, 0, 2, -1, {true, true}},
        {0, -1, 1, 2, -1, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << " " << c.remembered << " " << c.count << " " << c.arrow);
        EXPECT_EQ(TransitionPreview::StripArrowTarget(c.current, c.remembered, c.count, c.arrow), c.target);
        EXPECT_EQ(TransitionPreview::StripLimits(c.current, c.remembered, c.count), c.limits);
    }
    EXPECT_EQ(TransitionPreview::ListLimits(0, 5), (Limits{true, false}));
    EXPECT_EQ(TransitionPreview::ListLimits(4, 5), (Limits{false, true}));
    EXPECT_EQ(TransitionPreview::ListLimits(-1, 0), (Limits{true, true}));
}

// The shown explorer plays the preview movie of the build tree and hands it
// the strip's request; hidden, it keeps its loaded movie, and a preview asked
// for then plays when it is shown again, without a reload.
TEST_F(StripTest, TheShownExplorerPlaysTheRequestInThePreviewMovie)
{
    fillAlbum(2);
    CLREffectExplorerWnd explorer(*context);
    explorer.SetAppDir(TestSupport::AppDir());
    explorer.SetSources(effectWnd->List(), strip);
    explorer.resize(540, 400);
    explorer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&explorer));
    ASSERT_TRUE(explorer.Player().IsCreated());
    EXPECT_EQ(explorer.Player().Window()->geometry(), QRect(20, 0, 500, 400));
    const auto played = [&](const QString& effect) {
        return QTest::qWaitFor(
            [&] {
                QVariant requested;
                return explorer.Player().Evaluate(QStringLiteral("window.kelvanaState.toAs.requested"), &requested)
                    && requested.toString() == effect;
            },
            30000);
    };
    strip->Select(1, Kind::Transition);
    EXPECT_TRUE(played("fx1"));
    QVariant second;
    ASSERT_TRUE(explorer.Player().Evaluate(QStringLiteral("window.kelvanaState.toAs.second"), &second));
    EXPECT_TRUE(second.toString().endsWith(QFileInfo(album().DisplayPathOf(0)).fileName())) << second.toString().toStdString();
    // The arrows: the second photo's transition has one before it, none after.
    EXPECT_TRUE(explorer.ArrowEnabled(1));
    EXPECT_FALSE(explorer.ArrowEnabled(2));

    const QWidget* control = explorer.Player().Window();
    explorer.hide();
    strip->Select(0, Kind::Transition);
    EXPECT_EQ(explorer.LastRequest().isEmpty(), false);
    QVariant stillFirst;
    ASSERT_TRUE(explorer.Player().Evaluate(QStringLiteral("window.kelvanaState.toAs.requested"), &stillFirst));
    EXPECT_EQ(stillFirst.toString(), "fx1"); // nothing is sent to a hidden page
    explorer.show();
    ASSERT_TRUE(explorer.Player().IsCreated());
    EXPECT_EQ(explorer.Player().Window(), control);
    EXPECT_TRUE(played("fx0"));
}

TEST_F(StripTest, ExplorerArrowsStepThroughTheSourceThatAskedLast)
{
    fillAlbum(3);
    CLREffectExplorerWnd explorer(*context);
    explorer.SetAppDir(TestSupport::AppDir());
    explorer.SetSources(effectWnd->List(), strip);
    explorer.resize(540, 400);
    const QPoint left(5, 200);
    const QPoint right(535, 200);
    const auto effectRequested = [&] {
        QString name;
        QStringList arguments;
        CMoviePlayer::ParseInvokeRequest(explorer.LastRequest(), &name, &arguments);
        return arguments.value(2);
    };

    // From the strip: the transition before, then after.
    strip->Select(1, Kind::Transition);
    click(&explorer, left);
    EXPECT_TRUE(strip->HasCurrentCell(0, Kind::Transition));
    EXPECT_EQ(effectRequested(), "fx0");
    EXPECT_FALSE(explorer.ArrowEnabled(1));
    click(&explorer, right);
    click(&explorer, right);
    EXPECT_TRUE(strip->HasCurrentCell(2, Kind::Transition));
    EXPECT_EQ(explorer.RememberedItem(), 2);
    EXPECT_FALSE(explorer.ArrowEnabled(2));
    // No current cell: the step goes from the remembered item.
    click(strip, QPoint(strip->Layout().PhotoCellOf(0).right() + 2, 50));
    ASSERT_EQ(album().CurrentIndex(), -1);
    click(&explorer, left);
    EXPECT_TRUE(strip->HasCurrentCell(1, Kind::Transition));
    EXPECT_EQ(effectRequested(), "fx1");

    // From the effects list: its current item moves and previews with the samples.
    strip->Select(-1, Kind::Photo);
    effectWnd->List()->SetFocusItem(2);
    ASSERT_EQ(explorer.CurrentSource(), CLREffectExplorerWnd::Source::List);
    click(&explorer, right);
    EXPECT_EQ(effectWnd->List()->FocusItem(), 3);
    EXPECT_EQ(effectRequested(), "fx3");
    EXPECT_EQ(explorer.LastPreviewedEffect(), 3);
    EXPECT_EQ(album().Item(1).effect, 1) << "a list step assigned an effect";
}

TEST_F(StripTest, RemovingTheCurrentPhotoMakesItsNeighbourCurrent)
{
    fillAlbum(3);
    QSignalSpy photo(strip, &QemControls::CLREffectWnd::PhotoCellCurrent);
    strip->Select(1, Kind::Photo);
    album().RemovePhoto(1); // the next one, P3, moves into index 1
    EXPECT_EQ(album().CurrentIndex(), 1);
    EXPECT_EQ(album().Photo(1)->label, "P3.png");
    EXPECT_TRUE(strip->HasCurrentCell(1, Kind::Photo));
    album().RemovePhoto(1); // the last one: the previous one
    EXPECT_EQ(album().CurrentIndex(), 0);
    EXPECT_TRUE(strip->HasCurrentCell(0, Kind::Photo));
    ASSERT_GE(photo.count(), 3);
    EXPECT_EQ(photo.last().at(0).toInt(), 0);
}

TEST_F(StripTest, ADragCutOffWithoutARelease)
{
    fillAlbum(3);
    mouse(strip, QEvent::MouseButtonPress, photoCell(0), Qt::LeftButton);
    mouse(strip, QEvent::MouseMove, photoCell(2), Qt::LeftButton);
    ASSERT_TRUE(strip->Dragging());
    strip->hide(); // the release goes elsewhere
    EXPECT_FALSE(strip->Dragging());
    EXPECT_EQ(strip->DropTarget(), -1);
    strip->show();
    click(strip, photoCell(1));
    EXPECT_EQ(album().CurrentIndex(), 1);
    EXPECT_EQ(albumText(), "P1:0:P1 P2:1:P2 P3:2:P3");
}
