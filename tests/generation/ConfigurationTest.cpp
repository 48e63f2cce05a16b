#include "common/FileUtils.h"
#include "common/XmlDocument.h"
#include "editor/generation/AlbumConfiguration.h"
#include "editor/generation/PhotoExport.h"
#include "tests/generation/GenerationFixture.h"

namespace {

class ConfigurationTest : public GenerationFixture {
protected:
    // Writes the configuration of template `index` into a fresh output and
    // returns the written document's text.
    QString write(int index, bool preview, bool autoStart = false)
    {
        const TemplateEntry& entry = TemplateCatalogue::instance().Entry(index);
        AlbumOutput output;
        output.templateFolder = templateFolder(index);
        output.movieName = FileUtils::LastComponent(entry.moviePath);
        output.configurationName = FileUtils::LastComponent(entry.configurationPath);
        const QString root = TestSupport::TempDir() + QString("out%1/").arg(++m_outputs);
        EXPECT_TRUE(output.MakeFolders(root));
        PhotoExporter exporter(*album, output);
        EXPECT_TRUE(AlbumConfiguration::Write(*album, entry, output, exporter, preview, autoStart));
        EXPECT_TRUE(exporter.Run());
        lastRoot = root;
        return QString::fromUtf8(TestSupport::ReadAll(root + output.configurationName));
    }

    // The slides of a written configuration, each as "name=value" pairs in order.
    static std::vector<QStringList> slides(const QString& text)
    {
        CXmlDocumentWrapper doc;
        EXPECT_TRUE(doc.LoadXML(text));
        std::vector<QStringList> out;
        const CXmlNodeWrapper album = doc.AsNode().Find("album");
        for (int i = 0; i < album.NumNodes(); ++i) {
            QStringList attributes;
            const CXmlNodeWrapper slide = album.GetNode(i);
            for (int a = 0; a < slide.NumAttributes(); ++a)
                attributes << slide.GetAttribName(a) + "=" + slide.GetAttribVal(a);
            out.push_back(attributes);
        }
        return out;
    }

    static QString musicPath(const QString& text)
    {
        CXmlDocumentWrapper doc;
        doc.LoadXML(text);
        return doc.AsNode().Find("preferences").Find("global").Find("music_property").GetValue("path");
    }

    QString lastRoot;

private:
    int m_outputs = 0;
};

} // namespace

TEST_F(ConfigurationTest, SlidesFollowTheAlbumWithTransitionsShiftedByOne)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    addPhoto("c.jpg");
    for (int i = 0; i < 3; ++i)
        album->SetEffect(i, i); // fade, wipeLeft, iris
    album->SetStayTime(6);
    album->SetCaptionUrl(1, "http://b.example/");

    const std::vector<QStringList> plain = slides(write(Plain, false));
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0], QStringList({"d_URL=photo/a.jpg", "transition=iris", "panzoom=1", "URLTarget=0",
                                     "phototime=6", "url=", "title=http_imgload"}));
    EXPECT_EQ(plain[1][1], "transition=fade");
    EXPECT_EQ(plain[1][5], "url=http://b.example/");
    EXPECT_EQ(plain[2][1], "transition=wipeLeft");

    // A template with thumbnails: every slide starts with its thumbnail.
    const std::vector<QStringList> strip = slides(write(Strip, false));
    ASSERT_EQ(strip.size(), 3u);
    EXPECT_EQ(strip[0].first(), "jpegURL=thumbs/thumb_a.jpg");
    EXPECT_EQ(strip[2].mid(0, 3), QStringList({"jpegURL=thumbs/thumb_c.jpg", "d_URL=photo/c.jpg", "transition=wipeLeft"}));
    EXPECT_TRUE(QFile::exists(lastRoot + "thumbs/thumb_c.jpg"));
}

TEST_F(ConfigurationTest, OnlyTheMusicTheStartAndTheSlidesChange)
{
    addPhoto("a.jpg");
    const QString text = write(Plain, false, true);
    // Everything before the album is the template's, but for the two values.
    QString expected = QString::fromUtf8(TemplateXml("plain"));
    expected = expected.left(expected.indexOf("\t<album>"));
    expected.replace("startAutoPlay=\"false\"", "startAutoPlay=\"true\"");
    EXPECT_EQ(text.left(text.indexOf("\t<album>")), expected);
    EXPECT_TRUE(write(Plain, false, false).contains("startAutoPlay=\"false\""));
}

TEST_F(ConfigurationTest, MusicInFinalAndPreview)
{
    addPhoto("a.jpg");
    const QString song = pictures + "song.mp3";
    TestSupport::WriteAll(song, "ID3 song");
    struct Case {
        QString music;
        bool preview;
        QString expected;
    } cases[] = {
        {"None", false, "res/"},
        {"none", true, ""},
        {"Default", false, "res/plain.mp3"},
        {"Default", true, "res/plain.mp3"},
        {song, false, "res/song.mp3"},
        {song, true, song},
        {pictures + "gone.mp3", false, "res/plain.mp3"}, // a file that has gone: the template's
        {"song.mp3", false, "res/plain.mp3"},            // not a full path
    };
    for (const Case& c : cases) {
        album->SetMusic(c.music);
        EXPECT_EQ(musicPath(write(Plain, c.preview)), c.expected) << c.music.toStdString() << " " << c.preview;
    }
}

TEST_F(ConfigurationTest, EmptyAlbumPreviewKeepsTheTemplateSlides)
{
    album->SetStayTime(7);
    const std::vector<QStringList> kept = slides(write(Plain, true));
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0], QStringList({"jpegURL=Thumbs/sample1.jpg", "d_URL=photo/sample1.jpg", "transition=fade",
                                    "panzoom=1", "URLTarget=0", "phototime=7", "url=", "title=http_imgload"}));
    EXPECT_EQ(kept[1], QStringList({"d_URL=photo/sample2.jpg", "transition=iris", "phototime=7"}));
}

TEST_F(ConfigurationTest, BrokenTemplateConfigurationsChangeNothing)
{
    addPhoto("a.jpg");
    const QString file = templateFolder(Plain) + "plain.xml";
    // Without music path or start flag: attributes are changed, never added.
    TestSupport::WriteAll(file, "<c><preferences><global><basic_property/><music_property loop=\"1\"/></global>"
                                "</preferences><album/></c>");
    album->SetMusic("None");
    const QString text = write(Plain, false, true);
    EXPECT_TRUE(text.contains("<basic_property />")) << text.toStdString();
    EXPECT_TRUE(text.contains("<music_property loop=\"1\" />"));
    EXPECT_EQ(slides(text).size(), 1u);

    // Not XML: no configuration can be written.
    TestSupport::WriteAll(file, "not xml");
    const TemplateEntry& entry = TemplateCatalogue::instance().Entry(Plain);
    AlbumOutput output;
    output.templateFolder = templateFolder(Plain);
    output.configurationName = "plain.xml";
    ASSERT_TRUE(output.MakeFolders(TestSupport::TempDir() + "broken/"));
    PhotoExporter exporter(*album, output);
    EXPECT_FALSE(AlbumConfiguration::Write(*album, entry, output, exporter, false, false));
    EXPECT_EQ(AlbumConfiguration::DefaultMusic(file), "");
    EXPECT_EQ(AlbumConfiguration::DefaultMusic(templateFolder(Strip) + "strip.xml"), "res/strip.mp3");
}
