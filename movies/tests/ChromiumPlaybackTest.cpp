// The movies in a browser: headless Chromium loads a page from file:// (where
// the configuration can only come from the page's inline copy), runs it for a
// virtual time budget and prints the DOM, into which the movie mirrors its state.
#include "tests/TestSupport.h"
#include "tests/movies/MovieFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QString chromium()
{
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

// The page's DOM after `budgetMs` of virtual time.
QString dumpDom(const QString& page, int budgetMs)
{
    const QString browser = chromium();
    if (browser.isEmpty()) {
        ADD_FAILURE() << "headless Chromium (Debian package chromium) is not installed";
        return QString();
    }
    const QString profile = TestSupport::MakeFolder(QStringLiteral("chromium-profile"));
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(browser, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                            QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"),
                            QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
                            QStringLiteral("--disable-sync"), QStringLiteral("--autoplay-policy=no-user-gesture-required"),
                            QStringLiteral("--user-data-dir=") + profile,
                            QStringLiteral("--virtual-time-budget=%1").arg(budgetMs), QStringLiteral("--dump-dom"),
                            QUrl::fromLocalFile(page).toString()});
    if (!process.waitForFinished(150000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "Chromium did not finish";
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString unescapeHtml(QString text)
{
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

// The JSON text of the element with this id in a dumped DOM.
QJsonObject elementJson(const QString& dom, const QString& id)
{
    const QRegularExpression element(QStringLiteral("<output id=\"%1\"[^>]*>([^<]*)</output>").arg(id));
    const QRegularExpressionMatch match = element.match(dom);
    if (!match.hasMatch())
        return {};
    return QJsonDocument::fromJson(unescapeHtml(match.captured(1)).toUtf8()).object();
}

} // namespace

TEST(MovieInChromium, PlaysTheAlbumPageFromDisk)
{
    const MovieFixture::Album album = MovieFixture::MakeAlbum();
    const QJsonObject state = elementJson(dumpDom(album.page, 12000), QStringLiteral("kelvana-state"));
    ASSERT_FALSE(state.isEmpty()) << "no state in the page";
    // Under virtual time the media pipeline keeps real time, so whether the
    // music is already playing when the budget ends varies; the control's test
    // (real time) checks that it plays.
    EXPECT_EQ(MovieFixture::CheckPlayedAlbum(state, album, false).toStdString(), "")
        << QJsonDocument(state).toJson(QJsonDocument::Compact).toStdString();
    // Browsers refuse both requests for a file:// page: the inline copy served.
    EXPECT_EQ(state.value(QStringLiteral("configSource")).toString().toStdString(), "inline");
    EXPECT_TRUE(state.value(QStringLiteral("ready")).toBool());
    EXPECT_GT(state.value(QStringLiteral("framesDrawn")).toInt(), 10);
}

TEST(MovieInChromium, TransitionPreviewPlaysTheRequestedEffect)
{
    const QString folder = TestSupport::MakeFolder(QStringLiteral("pre view")) + QLatin1Char('/');
    QFile::copy(TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"), folder + QStringLiteral("slidePreview.js"));
    const QString first = TestSupport::WritePhoto(folder + QStringLiteral("a & <b> #1.jpg"), 320, 240, QColor(220, 90, 30));
    const QString second = TestSupport::WritePhoto(folder + QStringLiteral("c%20d?.png"), 240, 320, QColor(30, 90, 220));
    // An unknown effect first (it falls back to the cross-fade), then a real one.
    const QString script = QStringLiteral(
        "<output id=\"first-request\" hidden></output>\n<script>\n"
        "const a = %1, b = %2;\n"
        "toAs(a, b, 'no-such-effect');\n"
        "setTimeout(function () {\n"
        "  document.getElementById('first-request').textContent = JSON.stringify(kelvanaState.toAs);\n"
        "  toAs(a, b, 'checkerboard');\n"
        "}, 5000);\n</script>\n")
        .arg(QString::fromUtf8(QJsonDocument(QJsonArray{first}).toJson(QJsonDocument::Compact)).mid(1).chopped(1),
             QString::fromUtf8(QJsonDocument(QJsonArray{second}).toJson(QJsonDocument::Compact)).mid(1).chopped(1));
    const QString page = MovieFixture::WritePage(folder + QStringLiteral("slidePreview.js"), 480, 360, script);
    const QString dom = dumpDom(page, 11000);
    for (const auto& [id, requested, effect] :
         {std::tuple{"first-request", "no-such-effect", "fade"}, std::tuple{"kelvana-state", "checkerboard", "checkerboard"}}) {
        SCOPED_TRACE(id);
        QJsonObject toAs = elementJson(dom, QLatin1String(id));
        if (toAs.contains(QStringLiteral("toAs")))
            toAs = toAs.value(QStringLiteral("toAs")).toObject();
        ASSERT_FALSE(toAs.isEmpty());
        EXPECT_EQ(toAs.value(QStringLiteral("first")).toString(), first);
        EXPECT_EQ(toAs.value(QStringLiteral("second")).toString(), second);
        EXPECT_EQ(toAs.value(QStringLiteral("requested")).toString().toStdString(), requested);
        EXPECT_EQ(toAs.value(QStringLiteral("effect")).toString().toStdString(), effect);
        EXPECT_TRUE(toAs.value(QStringLiteral("firstLoaded")).toBool());
        EXPECT_TRUE(toAs.value(QStringLiteral("secondLoaded")).toBool());
        EXPECT_GE(toAs.value(QStringLiteral("runs")).toInt(), 2) << "the preview does not repeat";
    }
}
