// The photo explore window offscreen over real photo files: the listing and
// the two workers, thumbnails arriving while the grid is shown, adding by
// double-click and by the add button, the drag data, the "no photo" line, the
// add button's state and the delayed zoom.
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "editor/imaging/ThumbsWorker.h"
#include "editor/imaging/widgets/explorer/PhotoExploreWnd.h"
#include "editor/imaging/widgets/explorer/QemPhotoExplorerList.h"
#include "editor/shell/controls/ElementHost.h"
#include "editor/shell/controls/MFCRibbonPlayerSlider.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "tests/RecordedMessages.h"
#include "tests/imaging/ImagingTestSupport.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

// A cache whose thumbnails wait at a gate while it is closed, so a test can
// look at the list before a worker has made a thumbnail.
class GatedCache : public ThumbnailCache {
public:
    ~GatedCache() override { Open(); }
    void Close()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
    }
    void Open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    // Waits until a worker is held at the gate.
    void WaitForWaiter()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting > 0; });
    }

protected:
    QImage MakeThumbnail(const QString& path) override
    {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            ++m_waiting;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
            --m_waiting;
        }
        return ThumbnailCache::MakeThumbnail(path);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    int m_waiting = 0;
};

constexpr int kWaitMs = 20000; // bound for the workers on a loaded machine

class PhotoExplorerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), "<E><Effect id=\"fade\" png=\"p.png\"/></E>");
        ASSERT_EQ(effects.Load(app), 1);
        context = std::make_unique<EditorContext>(
            EditorContext::Services{cache, effects, templates, DisplayCopies::Instance(), WorkingCopyMap::Instance(),
                                    *CSubjectManager::Manager()},
            settings, messages);
        window = std::make_unique<CPhotoExploreWnd>(*context);
        window->resize(640, 480);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        cache.Open();
        window.reset();
        context.reset();
        WorkingCopyMap::Instance().DiscardAll();
    }

    CQemPhotoExplorerList& list() const { return *window->List(); }
    // A folder of photos (and whatever else) by name; photos are real JPEG,
    // PNG or TIFF files.
    QString folderWith(const QString& name, const QStringList& files)
    {
        const QString folder = TestSupport::MakeFolder(name);
        for (const QString& file : files) {
            if (file.endsWith('/'))
                QDir(folder).mkdir(file.chopped(1));
            else
                TestSupport::WritePhoto(folder + "/" + file, 320, 240);
        }
        return folder;
    }
    bool waitUntilAllReady()
    {
        return QTest::qWaitFor([this] { return list().ReadyCount() == list().Count() && !list().IsBusy(); },
                               kWaitMs);
    }
    QStringList albumPaths() const
    {
        QStringList paths;
        for (int i = 0; i < context->Album().Count(); ++i)
            paths << context->Album().PathOf(i);
        return paths;
    }
    void doubleClick(int index)
    {
        // The window system sends press, release, double-click, release.
        const QPoint at = list().CellRect(index).center();
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, at);
    }

    GatedCache cache;
    EffectCatalogue effects;
    TemplateCatalogue templates;
    EditorSettings settings;
    TestSupport::RecordedMessages messages;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<CPhotoExploreWnd> window;
};

TEST_F(PhotoExplorerTest, ListsThePhotosAndSplitsThemBetweenTheTwoWorkers)
{
    const QString folder = folderWith("trip", {"p10.jpg", "sub/", "P2.png", "other/", "p1.jpg"});
    window->SetFolder(folder);
    ASSERT_EQ(list().Count(), 3);
    EXPECT_EQ(list().ItemAt(0)->label, "p1.jpg");
    EXPECT_EQ(list().ItemAt(1)->label, "P2.png");
    EXPECT_EQ(list().ItemAt(2)->label, "p10.jpg");
    ASSERT_TRUE(list().WorkerA());
    ASSERT_TRUE(list().WorkerB());
    EXPECT_EQ(list().WorkerA()->Queue(), QStringList({folder + "/p1.jpg", folder + "/p10.jpg"}));
    EXPECT_EQ(list().WorkerB()->Queue(), QStringList({folder + "/P2.png"}));

    ASSERT_TRUE(waitUntilAllReady());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cache.PathOf(list().HandleAt(i)), list().ItemAt(i)->path);
    TestSupport::KeepScreenshot(window->grab().toImage(), "photo-explorer");

    // One photo starts only the first worker.
    window->SetFolder(folderWith("single", {"only.jpg"}));
    EXPECT_TRUE(list().WorkerA());
    EXPECT_FALSE(list().WorkerB());
    ASSERT_TRUE(waitUntilAllReady());
}

TEST_F(PhotoExplorerTest, TheSameFolderAgainDoesNothing)
{
    const QString folder = folderWith("again", {"a.jpg", "b.jpg"});
    window->SetFolder(folder);
    const auto workerA = list().WorkerA();
    TestSupport::WritePhoto(folder + "/c.jpg", 320, 240);
    window->SetFolder(folder);
    EXPECT_EQ(list().Count(), 2);
    EXPECT_EQ(list().WorkerA(), workerA);
    EXPECT_FALSE(workerA->IsStopRequested());
    ASSERT_TRUE(waitUntilAllReady());
}

TEST_F(PhotoExplorerTest, DoubleClickAddsAPhotoOnlyOnceItsThumbnailIsReady)
{
    const QString folder = folderWith("click", {"one.jpg"});
    QSignalSpy activated(&list(), &CPhotoListCtrl::ItemDoubleClicked);
    cache.Close();
    window->SetFolder(folder);
    cache.WaitForWaiter();
    doubleClick(0);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toInt(), 0);
    EXPECT_EQ(context->Album().Count(), 0);
    EXPECT_EQ(list().HandleAt(0), 0);

    cache.Open();
    ASSERT_TRUE(waitUntilAllReady());
    doubleClick(0);
    ASSERT_EQ(activated.count(), 2);
    EXPECT_EQ(activated.at(1).at(0).toInt(), 0);
    EXPECT_EQ(albumPaths(), QStringList({folder + "/one.jpg"}));
}

TEST_F(PhotoExplorerTest, AddButtonAndDragTakeTheSelectedReadyPhotosInListOrder)
{
    const QString folder = folderWith("pick", {"a.jpg", "b.jpg", "c.jpg"});
    cache.Close();
    window->SetFolder(folder);
    list().Select(2);
    list().Select(0, true);
    cache.WaitForWaiter();
    EXPECT_EQ(list().MakeDragData(), nullptr); // nothing ready yet
    QTest::mouseClick(window->AddButton(), Qt::LeftButton);
    EXPECT_EQ(context->Album().Count(), 0);

    cache.Open();
    ASSERT_TRUE(waitUntilAllReady());
    std::unique_ptr<QMimeData> data(list().MakeDragData());
    ASSERT_TRUE(data);
    ASSERT_TRUE(data->hasFormat("text/uri-list"));
    EXPECT_EQ(data->urls(), QList<QUrl>({QUrl::fromLocalFile(folder + "/a.jpg"), QUrl::fromLocalFile(folder + "/c.jpg")}));
    QTest::mouseClick(window->AddButton(), Qt::LeftButton);
    EXPECT_EQ(albumPaths(), QStringList({folder + "/a.jpg", folder + "/c.jpg"}));
}

TEST_F(PhotoExplorerTest, AFolderWithoutPhotosShowsTheNoPhotoLineAndDisablesAdding)
{
    struct Case {
        const char* name;
        QStringList files;
        bool photos;
    };
    const QList<Case> cases = {{"tiff", {"scan.tif"}, false},
                               {"photos", {"a.jpg", "sub/"}, true},
                               {"empty", {}, false},
                               {"folders", {"x/", "y.jpg/"}, false},
                               {"bmp", {"a.bmp"}, true}};
    const QColor face = list().viewport()->grab().toImage().pixelColor(2, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->SetFolder(folderWith(c.name, c.files));
        EXPECT_EQ(list().Count() > 0, c.photos);
        EXPECT_EQ(window->AddButton()->isEnabled(), c.photos);
        EXPECT_EQ(list().accessibleDescription(), c.photos ? QString() : CQemPhotoExplorerList::NoPhotoText());
        // The line is drawn across the middle of the list, nothing above it.
        const QImage shot = list().viewport()->grab().toImage();
        int inked = 0;
        for (int x = 0; x < shot.width(); ++x)
            inked += shot.pixelColor(x, shot.height() / 2) != face ? 1 : 0;
        if (!c.photos) {
            EXPECT_GT(inked, 20);
            EXPECT_EQ(shot.pixelColor(shot.width() / 2, 10), face);
        }
        ASSERT_TRUE(waitUntilAllReady());
    }
    window->SetFolder(folderWith("missing", {}) + "/gone");
    EXPECT_EQ(list().Count(), 0);
    EXPECT_FALSE(window->AddButton()->isEnabled());
}

// Photos that cannot be read keep their icon and cannot be added; a folder
// that cannot be listed shows the no-photo line; a folder that vanishes while
// its thumbnails are made leaves the photos that were done and stops the
// workers. None of it asks the user anything, and the album is untouched.
TEST_F(PhotoExplorerTest, BadPhotosAndFoldersLeaveIconsOrTheNoPhotoLineAndTheAlbumUntouched)
{
    context->Album().AddPhoto(TestSupport::WritePhoto(TestSupport::MakeFolder("album") + "/kept.jpg", 320, 240));
    const QStringList album = albumPaths();
    auto settle = [this] { return QTest::qWaitFor([this] { return !list().IsBusy(); }, kWaitMs); };

    const QString damaged = folderWith("damaged", {"good.jpg"});
    TestSupport::WriteAll(damaged + "/bad.jpg", "not a photo at all");
    window->SetFolder(damaged);
    ASSERT_EQ(list().Count(), 2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return list().ReadyCount() == 1; }, kWaitMs));
    ASSERT_TRUE(settle());
    const int bad = list().ItemAt(0)->path.endsWith("bad.jpg") ? 0 : 1;
    doubleClick(bad);
    list().ClearSelection();
    list().Select(bad);
    window->AddButton()->click();
    EXPECT_EQ(albumPaths(), album);

    const QString locked = folderWith("locked", {"a.jpg", "b.jpg"});
    {
        ImagingTest::ReadDenied denied(locked);
        window->SetFolder(locked);
        EXPECT_EQ(list().Count(), 0);
        EXPECT_EQ(list().accessibleDescription(), CQemPhotoExplorerList::NoPhotoText());
        EXPECT_FALSE(window->AddButton()->isEnabled());
    }

    QStringList many;
    for (int i = 0; i < 24; ++i)
        many << QString("v%1.jpg").arg(i, 2, 10, QChar('0'));
    const QString vanishing = folderWith("vanishing", many);
    cache.Close();
    window->SetFolder(vanishing);
    cache.WaitForWaiter();
    ASSERT_TRUE(QDir(vanishing).removeRecursively());
    cache.Open();
    ASSERT_TRUE(settle());
    EXPECT_EQ(list().Count(), 24);
    EXPECT_LE(list().ReadyCount(), 2); // at most the photo each worker held
    doubleClick(5);
    EXPECT_EQ(albumPaths(), album);

    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    window->SetFolder(damaged); // the explorer goes on working
    EXPECT_TRUE(QTest::qWaitFor([this] { return list().ReadyCount() == 1; }, kWaitMs));
}

TEST_F(PhotoExplorerTest, AnotherFolderStopsTheWorkersAndTheirReportsAreIgnored)
{
    const QString first = folderWith("first", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    const QString second = folderWith("second", {"x.jpg", "y.jpg"});
    cache.Close();
    window->SetFolder(first);
    cache.WaitForWaiter();
    const auto oldA = list().WorkerA();
    const auto oldB = list().WorkerB();
    window->SetFolder(second);
    EXPECT_TRUE(oldA->IsStopRequested());
    EXPECT_TRUE(oldB->IsStopRequested());
    ASSERT_EQ(list().Count(), 2);
    cache.Open();
    ASSERT_TRUE(waitUntilAllReady());
    oldA->WaitUntilEnded();
    oldB->WaitUntilEnded();
    QCoreApplication::processEvents();
    EXPECT_EQ(list().ReadyCount(), 2);
    EXPECT_EQ(list().ItemAt(0)->path, second + "/x.jpg");
    // The first folder's workers ended after their current photo.
    EXPECT_EQ(cache.FindByPath(first + "/c.jpg"), 0);
    EXPECT_EQ(cache.FindByPath(first + "/d.jpg"), 0);
}

TEST_F(PhotoExplorerTest, ZoomSliderMovesResizeTheThumbnailsOnceAfterTheDelay)
{
    EXPECT_EQ(list().Layout().Thumbnail(), QSize(144, 144)); // the default position 50
    EXPECT_EQ(list().Layout().Cell().width(), 150);
    auto* host = window->ZoomHost();
    auto* slider = window->ZoomSlider();
    const QPoint thumb = slider->ThumbRect().center();
    QTest::mousePress(host, Qt::LeftButton, {}, thumb);
    for (int dx : {-10, -25, -17})
        QTest::mouseMove(host, thumb + QPoint(dx, 0));
    QTest::mouseRelease(host, Qt::LeftButton, {}, thumb + QPoint(-17, 0));
    const int position = slider->Pos();
    ASSERT_LT(position, 50);
    // Not yet: the delay runs.
    EXPECT_EQ(list().Layout().Thumbnail(), QSize(144, 144));
    EXPECT_EQ(settings.thumbZoom, 50);
    const int side = ExplorerRules::ThumbnailSide(position);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list().Layout().Thumbnail() == QSize(side, side); }, kWaitMs));
    EXPECT_EQ(settings.thumbZoom, position);
    EXPECT_EQ(list().Layout().Cell(), ExplorerRules::CellSize(side, true, list().Layout().LabelHeight()));
}

TEST_F(PhotoExplorerTest, TheStoredZoomIsAppliedAtCreation)
{
    settings.thumbZoom = 33;
    CPhotoExploreWnd other(*context);
    EXPECT_EQ(other.List()->Layout().Thumbnail(), QSize(127, 127));
    EXPECT_EQ(other.ZoomSlider()->Caption().Text(), "33%");
    EXPECT_FALSE(other.AddButton()->isEnabled());
    EXPECT_FALSE(other.AddButton()->accessibleName().isEmpty());
}

} // namespace
