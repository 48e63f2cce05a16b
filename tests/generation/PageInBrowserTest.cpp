#include "editor/generation/GenerationDriver.h"
#include "tests/generation/GenerationFixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// Headless Chromium as root: no sandbox, no GPU, no network chatter.
QString runChromium(const QStringList& extra, const QString& url)
{
    QTemporaryDir profile;
    QProcess chromium;
    chromium.start("chromium", QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                           "--no-first-run", "--disable-background-networking",
                                           "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                                           "--user-data-dir=" + profile.path()}
                                   + extra + QStringList{url});
    if (!chromium.waitForFinished(90000))
        chromium.kill();
    return QString::fromUtf8(chromium.readAllStandardOutput());
}

// A stand-in movie that does what every movie does with the page: reads the
// inline configuration, finds its slides and shows the first photo on the
// stage; it reports what it found as attributes of the stage.
const char* kProbeMovie = R"(
(function () {
  var stage = document.getElementById('stage');
  var text = document.getElementById('album-config').value;
  var doc = new DOMParser().parseFromString(text, 'application/xml');
  var slides = doc.getElementsByTagName('slide');
  stage.setAttribute('data-slides', String(slides.length));
  stage.setAttribute('data-parse-error', String(doc.getElementsByTagName('parsererror').length));
  stage.setAttribute('data-first', slides[0].getAttribute('d_URL'));
  stage.setAttribute('data-link', slides[0].getAttribute('url'));
  stage.setAttribute('data-music', doc.getElementsByTagName('music_property')[0].getAttribute('path'));
  var box = stage.getBoundingClientRect();
  stage.setAttribute('data-box', box.left + ',' + box.top + ',' + box.width + ',' + box.height);
  stage.setAttribute('data-centred', String(Math.abs(box.left * 2 + box.width - window.innerWidth) < 1 &&
                                            Math.abs(box.top * 2 + box.height - window.innerHeight) < 1));
  var img = new Image();
  img.onload = function () { stage.setAttribute('data-loaded', img.naturalWidth + 'x' + img.naturalHeight); };
  img.onerror = function () { stage.setAttribute('data-loaded', 'error'); };
  img.src = slides[0].getAttribute('d_URL');
  stage.appendChild(img);
})();
)";

} // namespace

TEST_F(GenerationFixture, WebPageCarriesTheConfigurationIntoTheBrowser)
{
    ASSERT_TRUE(QFileInfo(QStringLiteral("/usr/bin/chromium")).isExecutable()) << "chromium is needed";
    TestSupport::WriteAll(templateFolder(Plain) + "plain.js", kProbeMovie);
    addPhoto("a b&c.jpg");
    addPhoto("second.png");
    album->SetCaptionContent(0, CaptionBox{10, 10, 300, 60}, {"<b>\"quoted\" & 旅行</b>"}, 0xffffff, 20, "Sans");
    album->SetCaptionUrl(0, "http://x.example/?a=1&b=<2>");
    album->SetTemplateIndex(Plain);

    GenerationDriver driver(*album);
    const QString folder = TestSupport::TempDir() + "Out/My Trip #1/";
    ASSERT_TRUE(driver.GenerateFolderAlbum(folder, false)) << driver.LastError().toStdString();
    const QString page = QUrl::fromLocalFile(folder + "My Trip #1.html").toString();
    const QString dom = runChromium({"--window-size=1000,700", "--virtual-time-budget=3000", "--dump-dom"}, page);
    const QRegularExpression stage("<div id=\"stage\"([^>]*)>");
    const QRegularExpressionMatch match = stage.match(dom);
    ASSERT_TRUE(match.hasMatch()) << dom.toStdString();
    const QString attributes = match.captured(1);
    EXPECT_TRUE(attributes.contains("data-slides=\"2\"")) << attributes.toStdString();
    EXPECT_TRUE(attributes.contains("data-parse-error=\"0\""));
    EXPECT_TRUE(attributes.contains("data-first=\"photo/a b&amp;c.jpg\""));
    EXPECT_TRUE(attributes.contains("data-music=\"res/plain.mp3\""));
    EXPECT_TRUE(attributes.contains("data-link=\"http://x.example/?a=1&amp;b=&lt;2&gt;\""));
    EXPECT_TRUE(attributes.contains("data-loaded=\"480x360\"")); // the exported photo, from file://
    EXPECT_TRUE(attributes.contains("data-box=\"180,")) << attributes.toStdString(); // 640 x 480 in 1000 wide
    EXPECT_TRUE(attributes.contains(",640,480\""));
    EXPECT_TRUE(attributes.contains("data-centred=\"true\""));
    EXPECT_TRUE(dom.contains("<title>My Trip #1</title>"));
}
