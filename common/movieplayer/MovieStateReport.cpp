#include "common/movieplayer/MovieStateReport.h"

#include "common/movieplayer/MoviePlayer.h"

#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The state once a slide has been on for 40 frames (its transition is over)
// with every picture it needs; an empty text before.
const char* const kSettledState =
    "(function(){var s=window.kelvanaState;"
    "if(!s||!s.ready||s.currentSlide<0||s.pending||!s.transitions.length)return '';"
    "var t=s.transitions[s.transitions.length-1];"
    "return s.frame-t.frame>=40?JSON.stringify(s):'';})()";

} // namespace

void MovieStateReport::WatchFromEnvironment(CMoviePlayer& player)
{
    const QString path = qEnvironmentVariable("KELVANA_MOVIE_STATE_FILE");
    QWebEngineView* view = player.View();
    if (path.isEmpty() || !view)
        return;
    auto* timer = new QTimer(view);
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, view, [timer, view, path] {
        QPointer<QTimer> alive(timer);
        view->page()->runJavaScript(QString::fromLatin1(kSettledState), [alive, path](const QVariant& value) {
            const QString state = value.toString();
            if (!alive || !alive->isActive() || state.isEmpty())
                return;
            alive->stop();
            alive->deleteLater();
            QSaveFile file(path); // appears whole, never half written
            if (file.open(QIODevice::WriteOnly)) {
                file.write(state.toUtf8());
                file.commit();
            }
        });
    });
    timer->start();
}
