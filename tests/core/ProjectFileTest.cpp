#include "common/XmlDocument.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/ProjectFile.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        TestSupport::WriteAll(EffectCatalogue::FilePath(app),
                              "<E><Effect id=\"fade\" png=\"p.png\"/><Effect id=\"wipe\" png=\"p.png\"/>"
                              "<Effect id=\"iris\" png=\"p.png\"/></E>");
        ASSERT_EQ(effects.Load(app), 3);
        album = std::make_unique<AlbumModel>(thumbnails, effects);
        source = TestSupport::MakeFolder("pictures") + "/";
    }
    void TearDown() override { WorkingCopyMap::Instance().DiscardAll(); }

    QString photo(const QString& name, QColor tint = QColor(200, 120, 60))
    {
        return TestSupport::WritePhoto(source + name, 640, 480, tint);
    }

    // Three photos; the second edited (a working copy stands in for it) and
    // captioned with two lines, without a link.
    void makeThreePhotoAlbum()
    {
        album->AddPhoto(photo("a.jpg"));
        album->AddPhoto(photo("b.png", QColor(30, 160, 90)));
        album->AddPhoto(photo("c.jpg", QColor(40, 40, 200)));
        album->SetEffect(0, 2);
        album->SetEffect(1, 0);
        album->SetEffect(2, 1);
        const QString copy = WorkingCopyMap::Instance().MakeWorkingCopy(album->PathOf(1), true);
        ASSERT_FALSE(copy.isEmpty());
        album->SetThumbnail(1, thumbnails.FindOrAddPhoto(copy));
        album->SetCaptionContent(1, CaptionBox{100, 50, 300, 120}, {"Hello", "World"}, 0x0000ff, 24, "Sans");
        album->SetStayTime(4);
        album->SetMusic("None");
    }

    static QString today()
    {
        const QDate d = QDate::currentDate();
        return QString("year=\"%1\" month=\"%2\" day=\"%3\"").arg(d.year()).arg(d.month()).arg(d.day());
    }

    ThumbnailCache thumbnails;
    EffectCatalogue effects;
    std::unique_ptr<AlbumModel> album;
    QString source;
};

} // namespace

TEST_F(ProjectFileTest, ThreePhotoAlbumWritesFilesAndElementsInOrder)
{
    makeThreePhotoAlbum();
    const QString folder = TestSupport::TempDir() + "Albums/Trip";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));

    // The edited photo's copy under its source name; the album thumbnail.
    const QString copied = folder + "/photos/b.png";
    ASSERT_TRUE(QFile::exists(copied));
    EXPECT_EQ(TestSupport::ReadAll(copied), TestSupport::ReadAll(album->PathOf(1)));
    EXPECT_EQ(QDir(folder + "/photos").entryList(QDir::Files), QStringList{"b.png"});
    QImageReader thumb(folder + "/Trip_thumb.bmp");
    EXPECT_EQ(thumb.format(), "bmp");
    EXPECT_EQ(thumb.size(), QSize(192, 144));

    const QString expected = "<?xml version=\"1.0\"?>\n"
                             "<SaveDatas>\n"
                             "\t<template curID=\"0\" sound=\"None\" transtime=\"0\" staytime=\"4\" />\n"
                             "\t<photos>\n"
                             "\t\t<photo photoname=\"" + source + "a.jpg\" effect=\"2\" />\n"
                             "\t\t<photo photoname=\"photos/b.png\" effect=\"0\">\n"
                             "\t\t\t<text url=\"https://kelvana.example/\" x=\"100\" y=\"50\" right=\"300\" "
                             "bottom=\"120\" color=\"255\" size=\"24\" font=\"Sans\">Hello\nWorld</text>\n"
                             "\t\t</photo>\n"
                             "\t\t<photo photoname=\"" + source + "c.jpg\" effect=\"1\" />\n"
                             "\t</photos>\n"
                             "\t<project numphotos=\"3\" " + today() + " prj_thumb=\"Trip_thumb.bmp\" />\n"
                             "</SaveDatas>\n";
    EXPECT_EQ(QString::fromUtf8(TestSupport::ReadAll(folder + "/Trip.qem")), expected);

    // The photo keeps using its working copy in memory.
    EXPECT_TRUE(WorkingCopyMap::Instance().IsWorkingCopy(album->PathOf(1)));
}

TEST_F(ProjectFileTest, ReopenAndSaveGivesEveryPhotoAText)
{
    makeThreePhotoAlbum();
    const QString folder = TestSupport::TempDir() + "Trip";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));

    album->Clear();
    album->SetStayTime(2);
    album->SetMusic("Default");
    album->SetModified(false);
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/Trip.qem"));
    ASSERT_EQ(album->Count(), 3);
    EXPECT_EQ(album->PathOf(1), folder + "/photos/b.png");
    EXPECT_EQ(album->Photo(1)->label, "b.png");
    EXPECT_EQ(album->Settings().stayTime, 4);
    EXPECT_EQ(album->Settings().music, "None");
    EXPECT_FALSE(album->Project().modified);
    const std::vector<int> effectsRead{album->Item(0).effect, album->Item(1).effect, album->Item(2).effect};
    EXPECT_EQ(effectsRead, (std::vector<int>{2, 0, 1}));
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(album->Item(i).caption, nullptr) << i;
        EXPECT_EQ(thumbnails.EntryOfId(album->Photo(i)->thumbnail)->references, 1) << i; // the album's own, no more
    }
    const Caption& uncaptioned = *album->Item(0).caption;
    EXPECT_EQ(uncaptioned.state, Caption::NoText);
    EXPECT_EQ(uncaptioned.lines, QStringList{""});
    const Caption& captioned = *album->Item(1).caption;
    EXPECT_EQ(captioned.state, Caption::HasText);
    EXPECT_EQ(captioned.lines, QStringList({"Hello", "World"}));
    EXPECT_EQ(captioned.box, (CaptionBox{100, 50, 300, 120}));
    EXPECT_EQ(captioned.colour, 0x0000ffu);
    EXPECT_EQ(captioned.size, 24);
    EXPECT_EQ(captioned.font, "Sans");
    EXPECT_EQ(captioned.url, "https://kelvana.example/");

    // A Save of the named album: every photo now has a text; the photo read
    // from photos/ is no working copy and is written with its full path.
    ASSERT_TRUE(ProjectFile::Save(*album, folder, true));
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.Load(folder + "/Trip.qem"));
    const CXmlNodeWrapper photos = doc.AsNode().Find("photos");
    ASSERT_EQ(photos.NumNodes(), 3);
    for (int i = 0; i < 3; ++i) {
        const CXmlNodeWrapper text = photos.GetNode(i).Find("text");
        ASSERT_TRUE(text.IsValid()) << i;
        EXPECT_EQ(text.GetValue("url"), "https://kelvana.example/");
    }
    EXPECT_EQ(photos.GetNode(0).Find("text").GetText(), "");
    EXPECT_EQ(photos.GetNode(0).Find("text").GetValue("x"), "0");
    EXPECT_EQ(photos.GetNode(1).GetValue("photoname"), folder + "/photos/b.png");
}

// A caption reopens with exactly the lines it was saved with: empty and blank
// lines, carriage returns, markup characters.
TEST_F(ProjectFileTest, CaptionsReopenExactlyAsSaved)
{
    const QList<QStringList> captions{
        {"", ""}, {"  "}, {"\t"}, {"", "x", ""}, {" lead", "trail "}, {"a\r", "b"}, {"\r"},
        {"x & <y> \"z\" ]]>"}, {"第一行", "二"},
    };
    const QString picture = photo("p.jpg");
    for (int i = 0; i < captions.size(); ++i) {
        ASSERT_EQ(album->AddPhoto(picture), i);
        album->SetCaptionContent(i, CaptionBox{1, 2, 3, 4}, captions[i], 0, 12, "Sans");
    }
    const QString folder = TestSupport::TempDir() + "Captions";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    album->Clear();
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/Captions.qem"));
    ASSERT_EQ(album->Count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        EXPECT_EQ(album->Item(i).caption->lines, captions[i]) << i;
}

// A small file nesting elements 100,000 deep in a caption fails to open like
// any unreadable project instead of exhausting the stack.
TEST_F(ProjectFileTest, DeeplyNestedProjectFailsToOpen)
{
    const QString folder = TestSupport::MakeFolder("Deep");
    const int depth = 100000;
    const QByteArray file = "<SaveDatas><photos><photo photoname=\"" + photo("p.jpg").toUtf8() + "\"><text>"
                            + QByteArray("<b>").repeated(depth) + "x" + QByteArray("</b>").repeated(depth)
                            + "</text></photo></photos></SaveDatas>";
    TestSupport::WriteAll(folder + "/Deep.qem", file);
    EXPECT_FALSE(ProjectFile::Open(*album, folder + "/Deep.qem"));
    EXPECT_EQ(album->Count(), 0);
}

TEST_F(ProjectFileTest, PhotoNamesFollowTheSixCharacterRule)
{
    const QString folder = TestSupport::MakeFolder("P");
    TestSupport::WritePhoto(folder + "/photos/x.jpg", 64, 48);
    TestSupport::WritePhoto(folder + "/Photos/x.jpg", 64, 48);
    TestSupport::WriteAll(folder + "/photos/notes.jpg", "not a picture");
    const QString absolute = photo("abs.jpg");
    QDir().mkpath(folder + "/photos/dir.jpg");
    struct Case {
        QString photoname;
        QString expectedPath; // empty: skipped
        QString reason;       // what the reader says of a skipped photo
    } cases[] = {
        {"photos/x.jpg", folder + "/photos/x.jpg", ""},
        {"photos\\x.jpg", folder + "/photos/x.jpg", ""},
        {"Photos\\x.jpg", "", "neither a full path nor in the project's photos folder"}, // not the relative prefix
        {"Photos/x.jpg", "", "neither a full path nor in the project's photos folder"},   // must start with "photos"
        {"photos/gone.jpg", "", "the file does not exist"},
        {"photos/notes.jpg", "", "cannot be read as a picture"},
        {"photos/dir.jpg", "", "not a file"},
        {absolute, absolute, ""},
        {source + "gone.jpg", "", "the file does not exist"},
        {"", "", "no file is named"},
    };
    QByteArray xml = "<?xml version=\"1.0\"?><SaveDatas><photos>";
    for (const Case& c : cases)
        xml += "<photo photoname=\"" + c.photoname.toUtf8() + "\" effect=\"1\"/>";
    xml += "</photos></SaveDatas>";
    TestSupport::WriteAll(folder + "/P.qem", xml);

    std::vector<SkippedPhoto> skipped;
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/P.qem", &skipped));
    QStringList expected;
    std::vector<const Case*> left;
    for (const Case& c : cases) {
        if (!c.expectedPath.isEmpty())
            expected << c.expectedPath;
        else
            left.push_back(&c);
    }
    QStringList read;
    for (int i = 0; i < album->Count(); ++i)
        read << album->PathOf(i);
    EXPECT_EQ(read, expected);
    // Every photo left out is reported with its name, place and reason.
    ASSERT_EQ(skipped.size(), left.size());
    for (size_t i = 0; i < skipped.size(); ++i) {
        EXPECT_EQ(skipped[i].photoName, left[i]->photoname);
        EXPECT_EQ(skipped[i].position, int(left[i] - cases));
        EXPECT_TRUE(skipped[i].reason.contains(left[i]->reason)) << skipped[i].reason.toStdString();
    }
    // No template element: the stay time stays, the music text becomes empty.
    EXPECT_EQ(album->Settings().stayTime, 2);
    EXPECT_EQ(album->Settings().music, "");
}

TEST_F(ProjectFileTest, EmptyAlbumSavesWithoutThumbnail)
{
    album->AddPhoto(photo("a.jpg"));
    const QString folder = TestSupport::TempDir() + "Empty";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    ASSERT_TRUE(QFile::exists(folder + "/Empty_thumb.bmp"));

    album->RemovePhoto(0);
    ASSERT_TRUE(ProjectFile::Save(*album, folder, true));
    EXPECT_FALSE(QFile::exists(folder + "/Empty_thumb.bmp"));
    EXPECT_TRUE(QFileInfo(folder + "/photos").isDir());
    ProjectHeader header;
    ASSERT_TRUE(ProjectFile::ReadHeader(folder, header));
    EXPECT_EQ(header.photoCount, 0);
    EXPECT_EQ(header.thumbnail, "");
    EXPECT_EQ(header.year, QDate::currentDate().year());
    const QByteArray text = TestSupport::ReadAll(folder + "/Empty.qem");
    EXPECT_TRUE(text.contains("<photos />")) << text.constData();
}

TEST_F(ProjectFileTest, EditedPhotosWithTheSameSourceNameKeepTheirOwnCopies)
{
    // Two different photos called a.jpg, both edited, and a third photo that
    // is the project's own photos/a.jpg from an earlier save.
    const QString folder = TestSupport::MakeFolder("Same");
    const QString own = TestSupport::WritePhoto(folder + "/photos/a.jpg", 64, 48, Qt::yellow);
    const QByteArray ownBytes = TestSupport::ReadAll(own);
    album->AddPhoto(own);
    album->AddPhoto(TestSupport::WritePhoto(source + "one/a.jpg", 640, 480, Qt::red));
    album->AddPhoto(TestSupport::WritePhoto(source + "two/a.jpg", 640, 480, Qt::blue));
    for (int i = 1; i < 3; ++i) {
        const QString copy = WorkingCopyMap::Instance().MakeWorkingCopy(album->PathOf(i), true);
        album->SetThumbnail(i, thumbnails.FindOrAddPhoto(copy));
    }
    ASSERT_TRUE(ProjectFile::Save(*album, folder, true));
    EXPECT_EQ(TestSupport::ReadAll(own), ownBytes);
    EXPECT_EQ(TestSupport::ReadAll(folder + "/photos/a1.jpg"), TestSupport::ReadAll(album->PathOf(1)));
    EXPECT_EQ(TestSupport::ReadAll(folder + "/photos/a2.jpg"), TestSupport::ReadAll(album->PathOf(2)));

    album->Clear();
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/Same.qem"));
    ASSERT_EQ(album->Count(), 3);
    EXPECT_EQ(album->PathOf(0), own);
    EXPECT_EQ(album->PathOf(1), folder + "/photos/a1.jpg");
    EXPECT_EQ(album->PathOf(2), folder + "/photos/a2.jpg");
}

TEST_F(ProjectFileTest, BadProjectFilesFailOrReadSoundly)
{
    const QString folder = TestSupport::MakeFolder("Bad");
    album->AddPhoto(photo("keep.jpg"));
    for (const QByteArray& content : {QByteArray(), QByteArray("not xml at all"),
                                      QByteArray("<SaveDatas><photos>"), QByteArray("\xff\xfe\x00<")}) {
        TestSupport::WriteAll(folder + "/Bad.qem", content);
        EXPECT_FALSE(ProjectFile::Open(*album, folder + "/Bad.qem")) << content.constData();
        EXPECT_EQ(album->Count(), 1); // left as it was
    }
    EXPECT_FALSE(ProjectFile::Open(*album, folder + "/Missing.qem"));
    album->Clear();

    // Absurd numbers: stay times outside 1..9, effects outside the catalogue,
    // caption values beyond the int range.
    const QString p = photo("p.jpg");
    TestSupport::WriteAll(folder + "/Bad.qem",
                          "<SaveDatas><template staytime=\"99999999999\" sound=\"Default\"/><photos>"
                          "<photo photoname=\"" + p.toUtf8() + "\" effect=\"-7\"/>"
                          "<photo photoname=\"" + p.toUtf8() + "\" effect=\"99999999999999\">"
                          "<text x=\"-99999999999\" y=\"abc\" right=\"12x\" bottom=\"+5\" size=\"-3\" "
                          "color=\"4294967295\">a\n\nb\n</text></photo></photos></SaveDatas>");
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/Bad.qem"));
    EXPECT_EQ(album->Settings().stayTime, 9);
    ASSERT_EQ(album->Count(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(effects.IsValidIndex(album->Item(i).effect)) << album->Item(i).effect;
    const Caption& caption = *album->Item(1).caption;
    EXPECT_EQ(caption.box, (CaptionBox{INT32_MIN, 0, 12, 5}));
    EXPECT_EQ(caption.lines, QStringList({"a", "", "b", ""}));
    EXPECT_EQ(caption.size, -3);

    TestSupport::WriteAll(folder + "/Bad.qem", "<SaveDatas><template staytime=\"-4\"/></SaveDatas>");
    album->Clear();
    ASSERT_TRUE(ProjectFile::Open(*album, folder + "/Bad.qem"));
    EXPECT_EQ(album->Settings().stayTime, 9); // not applied
    EXPECT_EQ(album->Count(), 0);
}

TEST_F(ProjectFileTest, AFailedSaveLeavesThePreviousProject)
{
    album->AddPhoto(photo("a.jpg"));
    album->AddPhoto(photo("b.jpg"));
    const QString folder = TestSupport::TempDir() + "Full";
    ASSERT_TRUE(ProjectFile::Save(*album, folder, false));
    const QByteArray before = TestSupport::ReadAll(folder + "/Full.qem");

    // A folder that cannot be made: the path runs through a file.
    TestSupport::WriteAll(TestSupport::TempDir() + "file", "x");
    EXPECT_FALSE(ProjectFile::Save(*album, TestSupport::TempDir() + "file/Album", false));

    // A disk that is full: no file of this process may grow beyond 100 bytes.
    album->SetCaptionContent(0, CaptionBox{1, 2, 3, 4}, {QString(500, 'x')}, 0, 10, "Sans");
    const QString copy = WorkingCopyMap::Instance().MakeWorkingCopy(album->PathOf(1), true);
    album->SetThumbnail(1, thumbnails.FindOrAddPhoto(copy));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_FALSE(ProjectFile::Save(*album, folder, true)); // the edited photo's copy fails
    album->SetThumbnail(1, thumbnails.FindOrAddPhoto(source + "b.jpg"));
    EXPECT_FALSE(ProjectFile::Save(*album, folder, true)); // the project file itself fails
    limit.rlim_cur = RLIM_INFINITY;
    setrlimit(RLIMIT_FSIZE, &limit);

    EXPECT_EQ(TestSupport::ReadAll(folder + "/Full.qem"), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"Full.qem", "Full_thumb.bmp"})); // no leftovers
    EXPECT_EQ(QDir(folder + "/photos").entryList(QDir::Files | QDir::Hidden), QStringList{});
}
