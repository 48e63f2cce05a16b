// The movie player control's asynchronous calls.
#include "common/movieplayer/MoviePlayer.h"

#include "common/movieplayer/MovieScripts.h"

#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

// Asynchronous calls: each pending step has an id in m_pending and ends in
// finish(), which calls its completion once. Timers and script answers reach
// the player through m_filter, which lives as long as the player.

quint64 CMoviePlayer::addPending(Step done, int timeoutMs)
{
    if (m_closing) {
        done(false, QVariant());
        return 0;
    }
    const quint64 id = ++m_lastPending;
    m_pending.emplace(id, Pending{std::move(done), m_requestedPage, false});
    QTimer::singleShot(timeoutMs, context(), [this, id] { finish(id, false, QVariant()); });
    return id;
}

void CMoviePlayer::finish(quint64 id, bool ok, const QVariant& value)
{
    const auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    const Step done = std::move(it->second.done);
    const bool failed = it->second.failed;
    m_pending.erase(it);
    done(ok && !failed, failed ? QVariant() : value);
}

void CMoviePlayer::failLater(quint64 id)
{
    const auto it = m_pending.find(id);
    if (it == m_pending.end() || it->second.failed)
        return;
    it->second.failed = true;
    QTimer::singleShot(0, context(), [this, id] { finish(id, false, QVariant()); });
}

void CMoviePlayer::failAllLater()
{
    for (const auto& [id, pending] : m_pending)
        failLater(id);
}

void CMoviePlayer::failAsync(Step done)
{
    if (const quint64 id = addPending(std::move(done), 0))
        failLater(id);
}

void CMoviePlayer::runAsync(const QString& script, int timeoutMs, Step done)
{
    const quint64 id = addPending(std::move(done), timeoutMs);
    if (!id)
        return;
    if (!m_view)
        return failLater(id);
    const QPointer<QObject> alive(context());
    m_view->page()->runJavaScript(script, [this, alive, id](const QVariant& value) {
        if (alive)
            finish(id, true, value);
    });
}

void CMoviePlayer::pollAsync(const QString& condition, int timeoutMs, std::function<void(bool)> done)
{
    const quint64 id = addPending([done = std::move(done)](bool ok, const QVariant&) { done(ok); }, timeoutMs);
    if (id)
        pollStep(id, condition);
}

// Asks the page whether `condition` holds, once the load current at the call
// is shown, and again every MovieScripts::kPollMs until it does.
void CMoviePlayer::pollStep(quint64 id, const QString& condition)
{
    const auto it = m_pending.find(id);
    if (it == m_pending.end() || it->second.failed)
        return;
    if (!m_view)
        return failLater(id);
    const auto again = [this, id, condition] {
        QTimer::singleShot(MovieScripts::kPollMs, context(), [this, id, condition] { pollStep(id, condition); });
    };
    if (m_shownPage != it->second.page)
        return again();
    const QPointer<QObject> alive(context());
    m_view->page()->runJavaScript(QStringLiteral("!!(%1)").arg(condition), [this, alive, id, again](const QVariant& value) {
        if (!alive)
            return;
        if (value.toBool())
            finish(id, true, value);
        else if (m_pending.count(id))
            again();
    });
}

void CMoviePlayer::LoadMovieAsync(const QString& path, std::function<void(bool)> done, int timeoutMs)
{
    LoadMovie(0, path);
    if (!m_view || path.isEmpty() || path == QLatin1String("0"))
        return failAsync([done = std::move(done)](bool, const QVariant&) { done(false); });
    pollAsync(MovieScripts::readyCondition(), timeoutMs, std::move(done));
}

void CMoviePlayer::CallFunctionAsync(const QString& request, std::function<void(bool)> done, int timeoutMs)
{
    const QString script = MovieScripts::invokeScript(request);
    if (script.isEmpty())
        return failAsync([done = std::move(done)](bool, const QVariant&) { done(false); });
    pollAsync(QStringLiteral("true"), timeoutMs,
              [this, script, timeoutMs, done = std::move(done)](bool shown) {
                  if (!shown)
                      return done(false);
                  runAsync(script, timeoutMs, [done](bool ok, const QVariant& value) { done(ok && value.toBool()); });
              });
}

void CMoviePlayer::GotoFrameAsync(int frame, std::function<void(bool)> done)
{
    runAsync(MovieScripts::gotoFrameScript(frame), 5000, [this, done = std::move(done)](bool ok, const QVariant&) {
        if (!ok)
            return done(false);
        pollAsync(MovieScripts::settledCondition(), 5000, [this, done](bool settled) {
            if (!settled || !m_view || !m_view->isVisible())
                return done(settled);
            runAsync(MovieScripts::markShownScript(), 5000, [this, done](bool marked, const QVariant&) {
                if (!marked)
                    return done(false);
                pollAsync(QStringLiteral("window.__kelvanaShown"), 1000, done);
            });
        });
    });
}

void CMoviePlayer::FrameNumAsync(std::function<void(int)> done)
{
    runAsync(MovieScripts::frameNumScript(), 5000, [done = std::move(done)](bool ok, const QVariant& value) { done(ok ? value.toInt() : -1); });
}

void CMoviePlayer::EvaluateAsync(const QString& script, std::function<void(bool, QVariant)> done, int timeoutMs)
{
    runAsync(script, timeoutMs, [done = std::move(done)](bool ok, const QVariant& value) { done(ok, value); });
}
