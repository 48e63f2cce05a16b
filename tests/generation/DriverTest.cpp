#include "editor/core/ProjectFile.h"
#include "editor/core/StringTable.h"
#include "editor/generation/GenerationDriver.h"
#include "editor/generation/GenerationWorker.h"
#include "editor/generation/PreviewSlots.h"
#include "editor/generation/WebPage.h"
#include "tests/generation/GenerationFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <sys/resource.h>

namespace {

class DriverTest : public GenerationFixture {
protected:
    void SetUp() override
    {
        GenerationFixture::SetUp();
        driver = std::make_unique<GenerationDriver>(*album);
        driver->SetMessageHandler([this](int icon, const QString& text) { messages << QString::number(icon) + " " + text; });
    }
    QStringList files(const QString& folder) const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    std::unique_ptr<GenerationDriver> driver;
    QStringList messages;
};

// Limits every file this process writes to `bytes`, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
};

} // namespace

TEST_F(DriverTest, FolderAlbumIsNamedAfterTheChosenFile)
{
    addPhoto("a.jpg");
    addPhoto("b.bmp");
    album->SetTemplateIndex(Plain);
    const QString chosen = TestSupport::TempDir() + "Out/Trip.html";
    const QString folder = WebPage::FolderForChosenPath(chosen);
    EXPECT_EQ(folder, TestSupport::TempDir() + "Out/Trip/");

    const std::optional<AlbumOutput> output = driver->GenerateFolderAlbum(folder, false);
    ASSERT_TRUE(output) << driver->LastError().toStdString();
    EXPECT_EQ(output->RootFolder(), folder);
    EXPECT_EQ(files(folder), QStringList({"Trip.html", "Trip.js", "Trip.xml"}));
    EXPECT_EQ(TestSupport::ReadAll(folder + "Trip.js"), "// movie plain\n");
    EXPECT_EQ(files(folder + "photo"), QStringList({"a.jpg", "b.jpg"}));
    EXPECT_EQ(files(folder + "res"), QStringList{"plain.mp3"}); // the template's music for "Default"
    EXPECT_EQ(files(folder + "thumbs"), QStringList{});           // Plain shows no thumbnails
    const QByteArray configuration = TestSupport::ReadAll(folder + "Trip.xml");
    EXPECT_TRUE(configuration.contains("d_URL=\"photo/b.jpg\""));

    const QByteArray page = TestSupport::ReadAll(folder + "Trip.html");
    EXPECT_EQ(page, WebPage::Text("Trip", 640, 480, configuration));
    EXPECT_TRUE(messages.isEmpty());

    // Generating into the same folder again replaces the movie and the
    // configuration that the first run left under the album's name.
    album->SetTemplateIndex(Strip);
    ASSERT_TRUE(driver->GenerateFolderAlbum(folder, true));
    EXPECT_EQ(files(folder), QStringList({"Trip.html", "Trip.js", "Trip.xml"}));
    EXPECT_EQ(TestSupport::ReadAll(folder + "Trip.js"), "// movie strip\n");
    EXPECT_TRUE(TestSupport::ReadAll(folder + "Trip.xml").contains("jpegURL=\"thumbs/thumb_a.jpg\""));
    EXPECT_TRUE(TestSupport::ReadAll(folder + "Trip.xml").contains("startAutoPlay=\"true\""));
}

TEST_F(DriverTest, WebPageText)
{
    const QByteArray page = WebPage::Text("Summer", 640, 480, "<config a=\"1&amp;2\">\n<album/>\r\n</config>\n");
    const QByteArray expected =
        "<!DOCTYPE html>\r\n"
        "<html><head><meta charset=\"UTF-8\"><title>Summer</title>\r\n"
        "<style>html,body{margin:0;padding:0;background:#000000;}body{display:flex;min-height:100vh;}"
        "#stage{margin:auto;position:relative;overflow:hidden;width:640px;height:480px;}</style>\r\n"
        "</head><body>\r\n"
        "<div id=\"stage\"></div>\r\n"
        "<textarea id=\"album-config\" hidden>&lt;config a=&quot;1&amp;amp;2&quot;&gt;\r\n&lt;album/&gt;\r\n"
        "&lt;/config&gt;\r\n</textarea>\r\n"
        "<script src=\"Summer.js\"></script>\r\n"
        "<a href=\"https://kelvana.example/\" title=\"Vantri Kelvana\" style=\"display:none;visibility:hidden;\">"
        "Made with Vantri Kelvana</a>\r\n"
        "</body></html>";
    EXPECT_EQ(page, expected);

    // Names that are not plain words are escaped in the title and encoded in the address.
    const QByteArray odd = WebPage::Text("A&B #1 <旅行>", 10, 20, "");
    EXPECT_TRUE(odd.contains("<title>A&amp;B #1 &lt;旅行&gt;</title>"));
    EXPECT_TRUE(odd.contains("<script src=\"A%26B%20%231%20%3C%E6%97%85%E8%A1%8C%3E.js\"></script>"));

    EXPECT_EQ(WebPage::AlbumNameOf("/a/Trip.2009/"), "Trip");
    EXPECT_EQ(WebPage::AlbumNameOf("/a/Summer/"), "Summer");
    EXPECT_EQ(WebPage::AlbumNameOf("/a/.hidden/"), ".hidden");
    EXPECT_EQ(WebPage::FolderForChosenPath("/Out/Trip"), "/Out/Trip/");
    EXPECT_EQ(WebPage::FolderForChosenPath("/Out/my.trip.html"), "/Out/my.trip/");
}

TEST_F(DriverTest, EmptyAlbumGivesTheMessageAndNoOutput)
{
    EXPECT_FALSE(driver->CheckAlbumHasPhotos());
    EXPECT_EQ(messages, QStringList{"2 " + Strings::Load(Strings::AlbumHasNoPhotos)});
    messages.clear();
    const QString folder = TestSupport::TempDir() + "Empty/";
    EXPECT_FALSE(driver->GenerateFolderAlbum(folder, false));
    EXPECT_EQ(messages, QStringList{"3 " + Strings::Load(Strings::ChoosePhotosFirst)});
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(DriverTest, OutputThatCannotBeWrittenFailsCleanly)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    const QString project = TestSupport::TempDir() + "Project";
    ASSERT_TRUE(ProjectFile::Save(*album, project, false));
    const QByteArray before = TestSupport::ReadAll(project + "/Project.qem");

    // A folder inside a regular file cannot be made, even by root.
    TestSupport::WriteAll(TestSupport::TempDir() + "plain-file", "x");
    EXPECT_FALSE(driver->GenerateFolderAlbum(TestSupport::TempDir() + "plain-file/Album/", false));
    EXPECT_TRUE(driver->LastError().contains("cannot create the output folder")) << driver->LastError().toStdString();

    // A disk that fills up: the movie and the configuration fit, the photos do not.
    const QString folder = TestSupport::TempDir() + "Full/";
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(driver->GenerateFolderAlbum(folder, false));
    }
    EXPECT_TRUE(driver->LastError().startsWith("cannot ")) << driver->LastError().toStdString();
    EXPECT_FALSE(QFile::exists(folder + "Full.html")); // no page for an incomplete album
    EXPECT_EQ(TestSupport::ReadAll(project + "/Project.qem"), before);
    for (const QString& name : files(folder + "photo"))
        EXPECT_GT(QFileInfo(folder + "photo/" + name).size(), 0) << name.toStdString(); // no truncated leftovers

    // The same output works once there is room again.
    ASSERT_TRUE(driver->GenerateFolderAlbum(folder, false)) << driver->LastError().toStdString();
    EXPECT_TRUE(QFile::exists(folder + "Full.html"));
}

TEST_F(DriverTest, MusicTakenFromTheOutputItselfIsKept)
{
    addPhoto("a.jpg");
    album->SetTemplateIndex(Plain);
    const QString folder = TestSupport::TempDir() + "Trip/";
    TestSupport::WriteAll(folder + "res/song.mp3", "ID3 the user's song");
    album->SetMusic(folder + "res/song.mp3");
    ASSERT_TRUE(driver->GenerateFolderAlbum(folder, false)) << driver->LastError().toStdString();
    EXPECT_EQ(TestSupport::ReadAll(folder + "res/song.mp3"), "ID3 the user's song");
    EXPECT_TRUE(TestSupport::ReadAll(folder + "Trip.xml").contains("path=\"res/song.mp3\""));
}

TEST_F(DriverTest, TheProgramsOwnFoldersAreNeverAnOutput)
{
    addPhoto("a.jpg");
    album->SetTemplateIndex(Plain);
    const QString plain = templateFolder(Plain);
    const QString sources = app + "Sources/";
    ASSERT_TRUE(QFile::link(templateFolder(Strip), TestSupport::TempDir() + "strip-link"));
    const QByteArray configuration = TestSupport::ReadAll(plain + "plain.xml");
    const QStringList before = QDir(plain).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& folder : {plain, plain + "photo/", plain + "New/", sources, sources + "Album/",
                                  TestSupport::TempDir() + "strip-link/Album/", app + "Sources/Templates/../"}) {
        EXPECT_FALSE(driver->GenerateFolderAlbum(folder, false)) << folder.toStdString();
        EXPECT_TRUE(driver->LastError().contains("holds the program's templates")) << driver->LastError().toStdString();
    }
    EXPECT_EQ(TestSupport::ReadAll(plain + "plain.xml"), configuration);
    EXPECT_EQ(QDir(plain).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(files(plain + "photo"), QStringList{"sample1.jpg"});
    EXPECT_FALSE(QFileInfo::exists(sources + "Album"));
    EXPECT_FALSE(QFileInfo::exists(plain + "New"));

    // Beside the program's folders is fine.
    EXPECT_TRUE(driver->GenerateFolderAlbum(app + "Album/", false)) << driver->LastError().toStdString();
}

TEST_F(DriverTest, AFailedCopyStopsBeforeTheConfigurationAndNamesTheOutput)
{
    addPhoto("a.jpg");
    album->SetTemplateIndex(Plain);
    // The movie's place in the output is taken by a folder: the copy fails, even for root.
    const QString folder = TestSupport::TempDir() + "Trip/";
    ASSERT_TRUE(QDir().mkpath(folder + "plain.js"));
    EXPECT_FALSE(driver->GenerateFolderAlbum(folder, false));
    EXPECT_TRUE(driver->LastError().contains(folder + "plain.js")) << driver->LastError().toStdString();
    EXPECT_FALSE(driver->LastError().contains(templateFolder(Plain))) << driver->LastError().toStdString();
    EXPECT_EQ(files(folder), QStringList{});
    EXPECT_EQ(files(folder + "photo"), QStringList{});

    // The same for the music.
    QDir().rmdir(folder + "plain.js");
    ASSERT_TRUE(QDir().mkpath(folder + "res/plain.mp3"));
    EXPECT_FALSE(driver->GenerateFolderAlbum(folder, false));
    EXPECT_TRUE(driver->LastError().contains(folder + "res/plain.mp3")) << driver->LastError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "plain.xml"));
    EXPECT_EQ(files(folder + "photo"), QStringList{});
}

TEST_F(DriverTest, PreviewsLiveInTheirSlotsUntilReleased)
{
    const QString movie = templateFolder(Strip) + "strip.js";
    const QString configuration = templateFolder(Strip) + "strip.xml";

    // An empty album previews the template's own sample pictures.
    const std::optional<AlbumOutput> empty = driver->GeneratePreview(Strip, movie, configuration);
    ASSERT_TRUE(empty);
    const QString root = empty->RootFolder();
    EXPECT_TRUE(root.startsWith(TestSupport::TempDir()));
    EXPECT_EQ(files(root), QStringList({"strip.js", "strip.xml"})); // no renaming, no page
    EXPECT_EQ(files(root + "res"), QStringList{"strip.mp3"});
    EXPECT_EQ(files(root + "photo"), QStringList{"sample1.jpg"});
    EXPECT_EQ(files(root + "thumbs"), QStringList{"sample1.jpg"});
    EXPECT_TRUE(TestSupport::ReadAll(root + "strip.xml").contains("d_URL=\"photo/sample1.jpg\""));

    // With photos: the same folder; uncaptioned photos play where they lie.
    addPhoto("a.jpg");
    addPhoto("b.bmp");
    const std::optional<AlbumOutput> again = driver->GeneratePreview(Strip, movie, configuration);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->RootFolder(), root);
    EXPECT_EQ(files(root + "photo"), QStringList{"b.jpg"});
    const QByteArray text = TestSupport::ReadAll(root + "strip.xml");
    EXPECT_TRUE(text.contains("d_URL=\"" + (pictures + "a.jpg").toUtf8() + "\"")) << text.constData();
    EXPECT_TRUE(text.contains("jpegURL=\"thumbs/thumb_a.jpg\""));

    // A final generation with the same template takes the preview's thumbnails.
    album->SetTemplateIndex(Strip);
    const QString folder = TestSupport::TempDir() + "Final/";
    ASSERT_TRUE(driver->GenerateFolderAlbum(folder, false));
    EXPECT_EQ(files(folder + "thumbs"), QStringList({"sample1.jpg", "thumb_a.jpg", "thumb_b0.jpg"}));

    // Only 20 slots: a damaged catalogue's 21st template gets no preview.
    EXPECT_FALSE(driver->GeneratePreview(PreviewSlots::kCount, movie, configuration));
    EXPECT_FALSE(driver->GeneratePreview(-1, movie, configuration));

    PreviewSlots::Instance().Release();
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(PreviewSlots::Instance().Slot(Strip), nullptr);
}

TEST_F(DriverTest, WorkerReportsStartProgressAndFinishOnTheCallersThread)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        addPhoto(QString::fromLatin1(name));
    GenerationBlock block;
    block.outputPath = TestSupport::TempDir() + "Worked/";
    GenerationWorker worker(*album, block);
    QStringList events;
    bool offThread = false;
    QObject::connect(&worker, &GenerationWorker::Notify, &worker, [&](int notice) {
        events << QString("notice %1").arg(notice);
        offThread |= QThread::currentThread() != qApp->thread();
    });
    QObject::connect(&worker, &GenerationWorker::Progress, &worker, [&](int done, int total) {
        events << QString("photo %1 of %2").arg(done).arg(total);
        offThread |= QThread::currentThread() != qApp->thread();
    });
    ASSERT_TRUE(worker.Start());
    QElapsedTimer timer;
    timer.start();
    while (!events.contains("notice 2") && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    worker.Wait();
    EXPECT_FALSE(offThread);
    ASSERT_GE(events.size(), 3);
    EXPECT_EQ(events.first(), "notice 1");
    EXPECT_EQ(events.last(), "notice 2");
    EXPECT_TRUE(events.contains("photo 4 of 4")) << events.join(", ").toStdString();
    EXPECT_TRUE(worker.Result().ok) << worker.Result().error.toStdString();
    EXPECT_EQ(worker.Result().outputPath, block.outputPath + "Worked.html");

    // A cancelled run stops before the photos and leaves no page.
    GenerationBlock cancelled;
    cancelled.outputPath = TestSupport::TempDir() + "Cancelled/";
    cancelled.cancelRequested = true;
    GenerationWorker second(*album, cancelled);
    ASSERT_TRUE(second.Start());
    second.Wait();
    EXPECT_FALSE(second.Result().ok);
    EXPECT_TRUE(second.Result().cancelled);
    EXPECT_FALSE(QFile::exists(cancelled.outputPath + "Cancelled.html"));
    EXPECT_TRUE(files(cancelled.outputPath + "photo").isEmpty());

    GenerationBlock unknown;
    unknown.kind = "hologram";
    EXPECT_FALSE(GenerationWorker(*album, unknown).Start());
}
