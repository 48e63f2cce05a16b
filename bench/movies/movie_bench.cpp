// movie_bench MOVIE.js TRANSITIONS WIDTH HEIGHT
// Plays the movie in the movie player control, shown at WIDTH x HEIGHT, until
// it has begun TRANSITIONS + 1 transitions (so the last one has finished), and
// prints the movie's state as JSON on standard output.
#include "common/movieplayer/MoviePlayer.h"
#include "common/Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: movie_bench MOVIE.js TRANSITIONS WIDTH HEIGHT\n");
        return 2;
    }
    Platform::PrepareWebEngine();
    QApplication app(argc, argv);
    const QString movie = QString::fromLocal8Bit(argv[1]);
    const int transitions = QString::fromLatin1(argv[2]).toInt();
    const QRect rect(0, 0, QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt());
    CMoviePlayer player;
    if (!player.Create(QStringLiteral("Flash Player"), true, rect, nullptr, 1)) {
        std::fprintf(stderr, "the movie player control cannot be created\n");
        return 1;
    }
    player.LoadMovie(0, movie);
    if (!player.WaitForMovie(30000)) {
        std::fprintf(stderr, "the movie did not start\n");
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    QJsonObject state;
    // Only the count is asked for while the movie plays, so that the host's
    // own work does not disturb the frames being measured.
    while (timer.elapsed() < 600000) {
        QVariant count;
        player.Evaluate(QStringLiteral("window.kelvanaState.transitions.length"), &count);
        if (count.toInt() > transitions)
            break;
        QEventLoop wait;
        QTimer::singleShot(1000, &wait, &QEventLoop::quit);
        wait.exec();
    }
    QVariant value;
    player.Evaluate(QStringLiteral("JSON.stringify(window.kelvanaState)"), &value);
    state = QJsonDocument::fromJson(value.toString().toUtf8()).object();
    std::printf("%s\n", QJsonDocument(state).toJson(QJsonDocument::Compact).constData());
    return 0;
}
