// The movie player control in the program's own process: real Qt WebEngine
// playing the real movies from the build tree.
#include "common/movieplayer/MoviePlayer.h"
#include "screensaver/ScrnSaverFlash.h"
#include "tests/TestSupport.h"
#include "tests/movies/MovieFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

void pump(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QJsonObject movieState(CMoviePlayer& player)
{
    QVariant value;
    if (!player.Evaluate(QStringLiteral("JSON.stringify(window.kelvanaState||null)"), &value))
        return {};
    return QJsonDocument::fromJson(value.toString().toUtf8()).object();
}

// Plays until `done` holds for the movie's state, at most `timeoutMs`.
template <typename Done>
QJsonObject playUntil(CMoviePlayer& player, Done done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QJsonObject state;
    while (timer.elapsed() < timeoutMs) {
        state = movieState(player);
        if (done(state))
            break;
        pump(100);
    }
    return state;
}

// Share of pixels that are not (nearly) black.
double litShare(const QImage& image)
{
    if (image.isNull())
        return 0;
    qint64 lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) + qGreen(p) + qBlue(p) > 60)
                ++lit;
        }
    }
    return double(lit) / (qint64(image.width()) * image.height());
}

} // namespace

TEST(MoviePlayer, PlaysAnAlbumInOrderWithItsEffectsMusicAndSkipsABrokenPhoto)
{
    const MovieFixture::Album album = MovieFixture::MakeAlbum();
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 640, 480), nullptr, 1234));
    player.LoadMovie(0, album.movie);
    EXPECT_EQ(player.GetMovie(), album.movie);
    ASSERT_TRUE(player.WaitForMovie(20000));
    // Three playable slides and the way back to the first: four transitions.
    const QJsonObject state = playUntil(
        player, [](const QJsonObject& s) { return s.value(QStringLiteral("transitions")).toArray().size() >= 4; }, 60000);
    EXPECT_EQ(MovieFixture::CheckPlayedAlbum(state, album).toStdString(), "")
        << QJsonDocument(state).toJson(QJsonDocument::Compact).toStdString();
    EXPECT_GT(state.value(QStringLiteral("framesDrawn")).toInt(), 20);
    // The configuration came from the file next to the movie, not the inline copy.
    const QString source = state.value(QStringLiteral("configSource")).toString();
    EXPECT_TRUE(source == "fetch" || source == "xhr") << source.toStdString();
}

TEST(MoviePlayer, LoadsUnloadsGoesToAFrameAndPaintsIt)
{
    const MovieFixture::Album album = MovieFixture::MakeAlbum();
    // Shown, as the player shows it, and hidden, as the template pane takes its
    // still picture.
    for (const bool visible : {true, false}) {
        SCOPED_TRACE(visible ? "shown" : "hidden");
        CMoviePlayer player;
        ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), visible, QRect(0, 0, 400, 300), nullptr, 1234));
        player.SetMovie(album.movie);
        ASSERT_TRUE(player.WaitForMovie(20000));
        // Once the broken photo is known, frame 125 (5 s) is in the middle of the
        // last photo's stay.
        playUntil(player, [](const QJsonObject& s) { return !s.value(QStringLiteral("skipped")).toArray().isEmpty(); }, 10000);
        player.GotoFrame(125);
        const int frame = player.GetFrameNum();
        EXPECT_GE(frame, 125);
        EXPECT_LT(frame, 125 + 25 * 3);
        const QImage picture = player.Paint();
        EXPECT_EQ(picture.size(), QSize(400, 300));
        EXPECT_GT(litShare(picture), 0.3) << "the frame painted black"; // a portrait photo, letterboxed

        player.SetMovie(QStringLiteral("0"));
        EXPECT_EQ(player.GetMovie(), "0");
        pump(300);
        QVariant value;
        ASSERT_TRUE(player.Evaluate(QStringLiteral("typeof window.kelvanaState"), &value));
        EXPECT_EQ(value.toString(), "undefined");
        EXPECT_EQ(player.GetFrameNum(), 0);
        EXPECT_LT(litShare(player.Paint()), 0.01);

        player.DestroyWindow();
        EXPECT_FALSE(player.IsCreated());
        EXPECT_EQ(player.GetFrameNum(), 0);
        EXPECT_TRUE(player.Paint().isNull());
    }
}

// Loads that replace one another before they finish (the screen saver sets
// "0" and then its movie at once) leave the control waiting for the last one
// only: the movie is ready and takes calls.
TEST(MoviePlayer, WaitsForTheLastOfLoadsThatReplaceEachOther)
{
    const QString movie = TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js");
    const QString photo = TestSupport::WritePhoto(TestSupport::TempDir() + QStringLiteral("load-order.jpg"), 320, 240);
    const QList<QStringList> sequences{
        {"0", movie}, {movie, "0", movie}, {movie, movie}, {"0", movie, "0", movie},
    };
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("flashplayer"), true, QRect(0, 0, 320, 240), nullptr, 1));
    for (const QStringList& sequence : sequences) {
        SCOPED_TRACE(sequence.join(QStringLiteral(" then ")).toStdString());
        for (const QString& step : sequence)
            player.SetMovie(step);
        ASSERT_TRUE(player.WaitForMovie(20000));
        ASSERT_TRUE(player.CallFunction(
            CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), {photo, photo, QStringLiteral("fade")})));
        const QJsonObject state = playUntil(
            player, [](const QJsonObject& s) { return s.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("runs")).toInt() >= 1; },
            20000);
        EXPECT_GE(state.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("runs")).toInt(), 1);
    }
}

TEST(MoviePlayer, InvokeRequestsCarryAnyTextUnchanged)
{
    struct Case {
        QStringList arguments;
    };
    const Case cases[] = {
        {{QStringLiteral("/tmp/a&b<c>.jpg"), QStringLiteral("/home/ann/\"quoted\" 'one'.png"), QStringLiteral("iris")}},
        {{QString(), QStringLiteral("  spaced  "), QStringLiteral("相册 ü & <x/>")}},
        {{QStringLiteral("]]><invoke name=\"x\">"), QStringLiteral("&amp;"), QStringLiteral("fade")}},
    };
    for (const Case& c : cases) {
        const QString request = CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), c.arguments);
        EXPECT_TRUE(request.startsWith(QStringLiteral("<invoke name=\"toAs\" returntype=\"\"><arguments><string>")));
        QString name;
        QStringList arguments;
        ASSERT_TRUE(CMoviePlayer::ParseInvokeRequest(request, &name, &arguments)) << request.toStdString();
        EXPECT_EQ(name, "toAs");
        EXPECT_EQ(arguments, c.arguments);
    }
    QString name;
    QStringList arguments;
    EXPECT_FALSE(CMoviePlayer::ParseInvokeRequest(QStringLiteral("<invoke name=\"toAs\"><arguments><string>a&b</string>"),
                                                  &name, &arguments));
    EXPECT_FALSE(CMoviePlayer::ParseInvokeRequest(QStringLiteral("<other/>"), &name, &arguments));
    EXPECT_FALSE(CMoviePlayer::ParseInvokeRequest(QString(), &name, &arguments));
}

TEST(MoviePlayer, TransitionPreviewGetsPathsWithXmlCharactersAndPlaysTheEffect)
{
    const QString folder = TestSupport::MakeFolder(QStringLiteral("odd & <names>")) + QLatin1Char('/');
    const QString first = TestSupport::WritePhoto(folder + QStringLiteral("one & <two>.jpg"), 320, 240, QColor(200, 80, 40));
    const QString second = TestSupport::WritePhoto(folder + QStringLiteral("50% #3?.png"), 300, 300, QColor(40, 90, 200));
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 480, 360), nullptr, 1234));
    player.LoadMovie(0, TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"));
    ASSERT_TRUE(player.WaitForMovie(20000));
    for (const QString& effect : {QStringLiteral("clock"), QStringLiteral("no-such-effect")}) {
        ASSERT_TRUE(player.CallFunction(CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), {first, second, effect})));
        const QJsonObject state = playUntil(
            player, [](const QJsonObject& s) { return s.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("runs")).toInt() >= 2; },
            20000);
        const QJsonObject toAs = state.value(QStringLiteral("toAs")).toObject();
        EXPECT_EQ(toAs.value(QStringLiteral("first")).toString(), first);
        EXPECT_EQ(toAs.value(QStringLiteral("second")).toString(), second);
        EXPECT_EQ(toAs.value(QStringLiteral("requested")).toString(), effect);
        EXPECT_EQ(toAs.value(QStringLiteral("effect")).toString(), effect == "clock" ? "clock" : "fade");
        EXPECT_TRUE(toAs.value(QStringLiteral("firstLoaded")).toBool());
        EXPECT_TRUE(toAs.value(QStringLiteral("secondLoaded")).toBool());
        EXPECT_GE(toAs.value(QStringLiteral("runs")).toInt(), 2) << "the preview does not repeat";
    }
    EXPECT_FALSE(player.CallFunction(QStringLiteral("<invoke name=\"alert(1)\"><arguments/></invoke>")));
}

namespace {

// Serves one picture over HTTP on 127.0.0.1 and counts the requests.
class PictureServer : public QTcpServer {
public:
    explicit PictureServer(QByteArray body) : m_body(std::move(body))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++requests;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nAccess-Control-Allow-Origin: *\r\n"
                                  "Connection: close\r\nContent-Length: "
                                  + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    int requests = 0;

private:
    QByteArray m_body;
};

} // namespace

TEST(MoviePlayer, RemotePicturesLoadOnlyWithNetworkingAll)
{
    const QString local = TestSupport::WritePhoto(TestSupport::TempDir() + QStringLiteral("local.jpg"), 320, 240);
    PictureServer server(TestSupport::ReadAll(local));
    ASSERT_TRUE(server.isListening());
    const QString remote = QStringLiteral("http://127.0.0.1:%1/remote.jpg").arg(server.serverPort());
    for (const QString& networking : {QStringLiteral("none"), QStringLiteral("all")}) {
        CMoviePlayer player;
        ASSERT_TRUE(player.Create(QStringLiteral("flashplayer"), false, QRect(0, 0, 320, 240), nullptr, 1111));
        player.SetAllowNetworking(networking);
        player.LoadMovie(0, TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"));
        ASSERT_TRUE(player.WaitForMovie(20000));
        ASSERT_TRUE(player.CallFunction(CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), {local, remote, QStringLiteral("fade")})));
        const QJsonObject state = playUntil(
            player, [](const QJsonObject& s) { return s.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("runs")).toInt() >= 1; },
            20000);
        const QJsonObject toAs = state.value(QStringLiteral("toAs")).toObject();
        EXPECT_TRUE(toAs.value(QStringLiteral("firstLoaded")).toBool()) << networking.toStdString();
        EXPECT_EQ(toAs.value(QStringLiteral("secondLoaded")).toBool(), networking == "all") << networking.toStdString();
    }
    EXPECT_EQ(server.requests, 1); // the blocked request never left the process
}

namespace {

// A JPEG stored 400 x 300, red left and blue right, whose EXIF orientation (6)
// tells viewers to turn it a quarter clockwise: seen 300 x 400, red above blue.
QString writeTurnedPhoto(const QString& path)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 220));
    QPainter painter(&image);
    painter.fillRect(0, 0, 200, 300, QColor(220, 0, 0));
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    // APP1 "Exif": a big-endian TIFF header and one IFD entry, Orientation = 6.
    const QByteArray exif = QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 32);
    QByteArray segment("\xff\xe1", 2);
    segment.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xff)).append(exif);
    TestSupport::WriteAll(path, jpeg.left(2) + segment + jpeg.mid(2));
    return path;
}

} // namespace

TEST(MoviePlayer, ShowsPhotosTurnedAsTheirOrientationSays)
{
    // From disk (the page's own origin) and from a server.
    const QString photo = writeTurnedPhoto(TestSupport::TempDir() + QStringLiteral("turned.jpg"));
    PictureServer server(TestSupport::ReadAll(photo));
    ASSERT_TRUE(server.isListening());
    const QString remote = QStringLiteral("http://127.0.0.1:%1/turned.jpg").arg(server.serverPort());
    for (const QString& source : {photo, remote}) {
        SCOPED_TRACE(source.toStdString());
        CMoviePlayer player;
        ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 480, 360), nullptr, 1234));
        player.SetAllowNetworking(QStringLiteral("all"));
        player.LoadMovie(0, TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"));
        ASSERT_TRUE(player.WaitForMovie(20000));
        ASSERT_TRUE(player.CallFunction(CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), {source, source, QStringLiteral("fade")})));
        const QJsonObject state = playUntil(
            player, [](const QJsonObject& s) { return s.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("runs")).toInt() >= 1; },
            20000);
        ASSERT_TRUE(state.value(QStringLiteral("toAs")).toObject().value(QStringLiteral("firstLoaded")).toBool());
        const QImage picture = player.Paint();
        ASSERT_EQ(picture.size(), QSize(480, 360));
        // Upright it is 270 x 360 in the middle of the stage, black bars at the sides.
        const auto colourAt = [&picture](int x, int y) { return QColor(picture.pixel(x, y)); };
        EXPECT_GT(colourAt(240, 60).red(), 150) << "top";
        EXPECT_LT(colourAt(240, 60).blue(), 80) << "top";
        EXPECT_GT(colourAt(240, 300).blue(), 150) << "bottom";
        EXPECT_LT(colourAt(240, 300).red(), 80) << "bottom";
        for (const int x : {20, 460})
            EXPECT_LT(qGray(picture.pixel(x, 180)), 30) << "no bar at x " << x;
    }
}

TEST(ScrnSaverFlash, HandsTheControlsInputToTheSaver)
{
    CScrnSaverFlash control;
    QList<QEvent::Type> seen;
    control.inputHook = [&seen](QObject*, QEvent* event) {
        seen.append(event->type());
        return event->type() == QEvent::KeyPress; // keys are consumed
    };
    QWidget window;
    window.resize(320, 240);
    ASSERT_TRUE(control.Create(QString(), true, QRect(0, 0, 320, 240), &window, 1));
    window.show();
    control.SetMovie(TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"));
    ASSERT_TRUE(control.WaitForMovie(20000));
    QWidget* target = control.View()->focusProxy() ? control.View()->focusProxy() : control.View();
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(target, &key);
    EXPECT_TRUE(seen.contains(QEvent::MouseMove));
    EXPECT_TRUE(seen.contains(QEvent::KeyPress));
    EXPECT_TRUE(key.isAccepted());

    // The plain control does not report input.
    CShockwaveFlash plain;
    ASSERT_TRUE(plain.Create(QString(), true, QRect(0, 0, 100, 100), &window, 2));
    seen.clear();
    QApplication::sendEvent(plain.View(), &move);
    EXPECT_TRUE(seen.isEmpty());
}

namespace {

// A movie of the build tree with the given configuration text beside it (no
// configuration file when `config` is null).
QString movieWithConfiguration(const QString& name, const QByteArray& config)
{
    const QString folder = TestSupport::MakeFolder(name) + QLatin1Char('/');
    QFile::copy(TestSupport::AppDir() + QStringLiteral("/Sources/Templates/Previews/Classic/classic.js"), folder + name + QStringLiteral(".js"));
    QDir().mkpath(folder + QStringLiteral("photo"));
    QFile::copy(TestSupport::AppDir() + QStringLiteral("/Sources/Templates/Previews/Classic/photo/beach.jpg"), folder + QStringLiteral("photo/a.jpg"));
    if (!config.isNull())
        TestSupport::WriteAll(folder + name + QStringLiteral(".xml"), config);
    return folder + name + QStringLiteral(".js");
}

} // namespace

TEST(MoviePlayer, ToleratesWhatAConfigurationLeavesOut)
{
    struct Case {
        const char* name;
        QByteArray config; // null: no file at all
        int slides;
        bool playing;
        const char* source;
    };
    const Case cases[] = {
        {"missing", QByteArray(), 0, false, "none"},
        {"empty", QByteArray(""), 0, false, "none"},
        {"no-album", "<config><preferences><global><basic_property startAutoPlay=\"true\"/></global></preferences></config>", 0, false, "fetch"},
        // Not well-formed (a bare "&", an unclosed element): still read.
        {"broken", "<config><preferences><global><basic_property startAutoPlay=\"true\"/></global></preferences>"
                   "<album><slide d_URL=\"photo/a.jpg\" transition=\"fade\" url=\"a&b\"/><slide d_URL=\"photo/a.jpg\">"
                   "</album></config>", 2, true, "fetch"},
        // No preferences: no music, no automatic start, but the photo shows behind the play button.
        {"bare", "<x><album><slide d_URL=\"photo/a.jpg\" phototime=\"abc\" transition=\"\"/></album></x>", 1, false, "fetch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMoviePlayer player;
        ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 400, 300), nullptr, 1234));
        player.LoadMovie(0, movieWithConfiguration(QLatin1String(c.name), c.config));
        ASSERT_TRUE(player.WaitForMovie(20000));
        pump(500);
        const QJsonObject state = movieState(player);
        EXPECT_EQ(state.value(QStringLiteral("slideCount")).toInt(), c.slides);
        EXPECT_EQ(state.value(QStringLiteral("playing")).toBool(), c.playing);
        EXPECT_EQ(state.value(QStringLiteral("waitingForPlay")).toBool(), !c.playing && c.slides > 0);
        const QString source = state.value(QStringLiteral("configSource")).toString();
        EXPECT_TRUE(source == QLatin1String(c.source) || (QLatin1String(c.source) == QLatin1String("fetch") && source == "xhr"))
            << source.toStdString();
        EXPECT_EQ(state.value(QStringLiteral("skipped")).toArray().size(), 0);
        EXPECT_GT(state.value(QStringLiteral("framesDrawn")).toInt(), 0);
        if (c.slides > 0) {
            EXPECT_GT(litShare(player.Paint()), 0.3) << "the photo is not shown";
        }
    }
}

TEST(MoviePlayer, PlayButtonStartsTheShowAndClicksOpenOnlyWebAndMailLinks)
{
    const QByteArray config =
        "<config><preferences><global><basic_property startAutoPlay=\"false\"/></global></preferences><album>"
        "<slide d_URL=\"photo/a.jpg\" phototime=\"60\" url=\"javascript:alert(1)\"/>"
        "</album></config>";
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 800, 600), nullptr, 1234));
    const QString movie = movieWithConfiguration(QStringLiteral("links"), config);
    player.LoadMovie(0, movie);
    ASSERT_TRUE(player.WaitForMovie(20000));
    pump(300);
    EXPECT_TRUE(movieState(player).value(QStringLiteral("waitingForPlay")).toBool());
    EXPECT_EQ(player.GetFrameNum(), 0); // the show does not run before the button
    const QString click = QStringLiteral(
        "window.opened = window.opened || []; window.open = function (u) { window.opened.push(u); return null; };"
        "var c = document.querySelector('canvas'), r = c.getBoundingClientRect();"
        "c.dispatchEvent(new MouseEvent('click', {clientX: r.left + r.width / 2, clientY: r.top + r.height / 2, bubbles: true}));");
    player.Evaluate(click); // presses the play button
    const QJsonObject state = playUntil(player, [](const QJsonObject& s) { return s.value(QStringLiteral("currentSlide")).toInt() == 0; }, 10000);
    EXPECT_TRUE(state.value(QStringLiteral("playing")).toBool());
    EXPECT_FALSE(state.value(QStringLiteral("waitingForPlay")).toBool());
    player.Evaluate(click); // the slide's address is not a web or mail address
    QVariant opened;
    player.Evaluate(QStringLiteral("JSON.stringify(window.opened)"), &opened);
    EXPECT_EQ(opened.toString(), "[]");

    // The same album with a web address opens it.
    TestSupport::WriteAll(QFileInfo(movie).absolutePath() + QStringLiteral("/links.xml"),
                          QByteArray(config).replace("javascript:alert(1)", "https://kelvana.example/a?b=1&amp;c=2"));
    player.LoadMovie(0, movie);
    ASSERT_TRUE(player.WaitForMovie(20000));
    player.Evaluate(QStringLiteral("kelvanaPlay();"));
    playUntil(player, [](const QJsonObject& s) { return s.value(QStringLiteral("currentSlide")).toInt() == 0; }, 10000);
    player.Evaluate(click);
    player.Evaluate(QStringLiteral("JSON.stringify(window.opened)"), &opened);
    EXPECT_EQ(opened.toString(), "[\"https://kelvana.example/a?b=1&c=2\"]");
}
