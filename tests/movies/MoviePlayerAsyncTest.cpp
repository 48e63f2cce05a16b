// The asynchronous calls of the movie player control, and the waiting calls'
// refusal to nest, with real Qt WebEngine playing the real movies of the build
// tree.
#include "common/movieplayer/MoviePlayer.h"
#include "tests/TestSupport.h"
#include "tests/movies/MovieFixture.h"

#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Runs the event loop until `done` holds, at most `timeoutMs`.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(20);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

QString previewMovie() { return TestSupport::AppDir() + QStringLiteral("/Sources/Effects/slidePreview.js"); }

// One completion's calls.
struct Calls {
    int count = 0;
    bool ok = false;
};

} // namespace

TEST(MoviePlayerAsync, LoadsATemplateMovieGoesToAFrameAndReadsIt)
{
    const MovieFixture::Album album = MovieFixture::MakeAlbum();
    for (const bool visible : {true, false}) {
        SCOPED_TRACE(visible ? "shown" : "hidden");
        CMoviePlayer player;
        ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), visible, QRect(0, 0, 400, 300), nullptr, 1234));
        Calls loaded;
        player.LoadMovieAsync(album.movie, [&](bool ready) { ++loaded.count, loaded.ok = ready; });
        EXPECT_EQ(loaded.count, 0) << "completed inside the call";
        ASSERT_TRUE(runUntil([&] { return loaded.count > 0; }, 30000));
        EXPECT_TRUE(loaded.ok);
        QVariant ready;
        ASSERT_TRUE(player.Evaluate(QStringLiteral("window.kelvanaState.ready"), &ready));
        EXPECT_TRUE(ready.toBool()) << "completed before the movie was ready";

        Calls drawn;
        int frame = -2;
        player.GotoFrameAsync(125, [&](bool ok) {
            ++drawn.count, drawn.ok = ok;
            player.FrameNumAsync([&](int number) { frame = number; });
        });
        ASSERT_TRUE(runUntil([&] { return frame != -2; }, 20000));
        EXPECT_EQ(drawn.count, 1);
        EXPECT_TRUE(drawn.ok);
        EXPECT_GE(frame, 125);
        EXPECT_LT(frame, 125 + 25 * 3);

        Calls evaluated;
        QVariant value;
        player.EvaluateAsync(QStringLiteral("6 * 7"), [&](bool ok, const QVariant& v) { ++evaluated.count, evaluated.ok = ok, value = v; });
        ASSERT_TRUE(runUntil([&] { return evaluated.count > 0; }, 10000));
        EXPECT_TRUE(evaluated.ok);
        EXPECT_EQ(value.toInt(), 42);
    }
}

TEST(MoviePlayerAsync, CallsOnlyPlainFunctionsThePageHas)
{
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("flashplayer"), false, QRect(0, 0, 320, 240), nullptr, 1));
    player.LoadMovie(0, previewMovie()); // the call waits for this load by itself
    const QString photo = TestSupport::WritePhoto(TestSupport::TempDir() + QStringLiteral("async-call.jpg"), 320, 240);
    struct Case {
        QString request;
        bool ok;
    };
    const Case cases[] = {
        {CMoviePlayer::InvokeRequest(QStringLiteral("toAs"), QString(), {photo, photo, QStringLiteral("fade")}), true},
        {CMoviePlayer::InvokeRequest(QStringLiteral("noSuchFunction"), QString(), {}), false},
        {QStringLiteral("<invoke name=\"alert(1)\"><arguments/></invoke>"), false},
        {QStringLiteral("not a request"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.toStdString());
        Calls called;
        player.CallFunctionAsync(c.request, [&](bool ok) { ++called.count, called.ok = ok; });
        EXPECT_EQ(called.count, 0) << "completed inside the call";
        ASSERT_TRUE(runUntil([&] { return called.count > 0; }, 30000));
        EXPECT_EQ(called.ok, c.ok);
    }
    QVariant requested;
    ASSERT_TRUE(player.Evaluate(QStringLiteral("window.kelvanaState.toAs.requested"), &requested));
    EXPECT_EQ(requested.toString(), "fade");
}

TEST(MoviePlayerAsync, ANewerLoadFailsTheOneItReplaces)
{
    const MovieFixture::Album album = MovieFixture::MakeAlbum();
    CMoviePlayer player;
    ASSERT_TRUE(player.Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 400, 300), nullptr, 1234));
    Calls first;
    Calls second;
    player.LoadMovieAsync(album.movie, [&](bool ready) { ++first.count, first.ok = ready; });
    player.LoadMovieAsync(previewMovie(), [&](bool ready) { ++second.count, second.ok = ready; });
    ASSERT_TRUE(runUntil([&] { return first.count > 0 && second.count > 0; }, 30000));
    runUntil([] { return false; }, 300); // a second call would come now
    EXPECT_EQ(first.count, 1);
    EXPECT_FALSE(first.ok);
    EXPECT_EQ(second.count, 1);
    EXPECT_TRUE(second.ok);
    QVariant effects;
    ASSERT_TRUE(player.Evaluate(QStringLiteral("typeof toAs"), &effects));
    EXPECT_EQ(effects.toString(), "function");
}

// Each asynchronous call, started and left pending when the control goes.
TEST(MoviePlayerAsync, DestroyingThePlayerFailsPendingCallsAndNeverCallsThemLater)
{
    using Start = std::function<void(CMoviePlayer&, std::function<void(bool)>)>;
    const QString movie = previewMovie();
    const std::pair<const char*, Start> starts[] = {
        {"load", [&](CMoviePlayer& p, std::function<void(bool)> done) { p.LoadMovieAsync(movie, done); }},
        {"call", [&](CMoviePlayer& p, std::function<void(bool)> done) {
             p.CallFunctionAsync(CMoviePlayer::InvokeRequest(QStringLiteral("kelvanaPlay"), QString(), {}), done);
         }},
        {"goto", [](CMoviePlayer& p, std::function<void(bool)> done) { p.GotoFrameAsync(10, done); }},
        {"frame", [](CMoviePlayer& p, std::function<void(bool)> done) { p.FrameNumAsync([done](int f) { done(f >= 0); }); }},
        {"evaluate", [](CMoviePlayer& p, std::function<void(bool)> done) {
             p.EvaluateAsync(QStringLiteral("1"), [done](bool ok, const QVariant&) { done(ok); });
         }},
    };
    // The control destroyed with the player, and the window destroyed first.
    for (const bool windowFirst : {false, true}) {
        for (const auto& [name, start] : starts) {
            SCOPED_TRACE(std::string(name) + (windowFirst ? ", window first" : ""));
            auto player = std::make_unique<CMoviePlayer>();
            ASSERT_TRUE(player->Create(QStringLiteral("Flash Player"), true, QRect(0, 0, 320, 240), nullptr, 1));
            player->LoadMovie(0, movie);
            auto destroyed = std::make_shared<bool>(false);
            auto calls = std::make_shared<Calls>();
            auto lateCalls = std::make_shared<int>(0);
            start(*player, [destroyed, calls, lateCalls](bool ok) {
                if (*destroyed)
                    ++*lateCalls;
                ++calls->count;
                calls->ok = ok;
            });
            if (windowFirst)
                player->DestroyWindow();
            player.reset();
            *destroyed = true;
            runUntil([] { return false; }, 500);
            EXPECT_EQ(*lateCalls, 0);
            EXPECT_EQ(calls->count, 1);
            EXPECT_FALSE(calls->ok);
        }
    }
}

// A waiting call runs a local event loop; completions and slots that run in it
// must not start a second one.
TEST(MoviePlayerAsync, AWaitingCallInsideAnotherRefusesToNest)
{
    CMoviePlayer player;
    CMoviePlayer other;
    ASSERT_TRUE(player.Create(QStringLiteral("flashplayer"), true, QRect(0, 0, 320, 240), nullptr, 1));
    ASSERT_TRUE(other.Create(QStringLiteral("flashplayer"), false, QRect(0, 0, 320, 240), nullptr, 2));
    other.LoadMovie(0, previewMovie());
    ASSERT_TRUE(other.WaitForMovie(20000));

    struct Nested {
        bool ran = false;
        bool evaluated = true;
        int frame = 0;
        bool waited = true;
        bool went = true;
        bool called = true;
    };
    Nested inCompletion;
    Nested inSlot;
    const auto nest = [&](Nested& n) {
        n.ran = true;
        n.evaluated = other.Evaluate(QStringLiteral("1"));
        n.frame = other.GetFrameNum();
        n.waited = other.WaitForMovie(1000);
        n.went = player.GotoFrame(1);
        n.called = other.CallFunction(CMoviePlayer::InvokeRequest(QStringLiteral("kelvanaPlay"), QString(), {}));
    };
    // Both answer while WaitForMovie below waits for the movie to load.
    player.LoadMovie(0, previewMovie());
    other.EvaluateAsync(QStringLiteral("1"), [&](bool, const QVariant&) { nest(inCompletion); });
    QTimer::singleShot(0, [&] { nest(inSlot); });
    ASSERT_TRUE(player.WaitForMovie(20000));
    for (const Nested* n : {&inCompletion, &inSlot}) {
        SCOPED_TRACE(n == &inSlot ? "slot" : "completion");
        ASSERT_TRUE(n->ran);
        EXPECT_FALSE(n->evaluated);
        EXPECT_EQ(n->frame, -1);
        EXPECT_FALSE(n->waited);
        EXPECT_FALSE(n->went);
        EXPECT_FALSE(n->called);
    }
    // Outside any other waiting call they work again.
    EXPECT_TRUE(other.Evaluate(QStringLiteral("1")));
    EXPECT_TRUE(other.WaitForMovie(1000));
}
