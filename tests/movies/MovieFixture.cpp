#include "tests/movies/MovieFixture.h"

#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace MovieFixture {

namespace {

QString sourcesDir() { return TestSupport::AppDir() + QStringLiteral("/Sources/"); }

void copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s", qPrintable(from));
}

QString escaped(QString text)
{
    text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return text;
}

} // namespace

Album MakeAlbum(const QString& movieInSources)
{
    Album album;
    album.folder = TestSupport::MakeFolder(QStringLiteral("album")) + QLatin1Char('/');
    QDir().mkpath(album.folder + QStringLiteral("photo"));
    QDir().mkpath(album.folder + QStringLiteral("res"));
    const QString samples = sourcesDir() + QStringLiteral("Templates/Previews/Classic/");
    copy(sourcesDir() + movieInSources, album.folder + QStringLiteral("album.js"));
    copy(samples + QStringLiteral("photo/beach.jpg"), album.folder + QStringLiteral("photo/one.jpg"));
    copy(samples + QStringLiteral("photo/city.jpg"), album.folder + QStringLiteral("photo/three.jpg"));
    copy(samples + QStringLiteral("photo/forest.jpg"), album.folder + QStringLiteral("photo/four.jpg"));
    copy(samples + QStringLiteral("res/classic.mp3"), album.folder + QStringLiteral("res/music.mp3"));
    TestSupport::WriteAll(album.folder + QStringLiteral("photo/broken.jpg"), QByteArray("this is not a picture"));
    album.effects = {QStringLiteral("iris"), QStringLiteral("clock"), QStringLiteral("pushLeft"), QStringLiteral("dissolve")};
    const QStringList photos = {QStringLiteral("photo/one.jpg"), QStringLiteral("photo/broken.jpg"),
                                QStringLiteral("photo/three.jpg"), QStringLiteral("photo/four.jpg")};
    QString slides;
    for (int i = 0; i < photos.size(); ++i)
        slides += QStringLiteral("<slide d_URL=\"%1\" transition=\"%2\" panzoom=\"1\" URLTarget=\"0\" phototime=\"1\" "
                                 "url=\"\" title=\"http_imgload\"/>\n")
                      .arg(photos[i], album.effects[i]);
    const QString config = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config><preferences><global>\n"
                                          "<basic_property movieWidth=\"640\" movieHeight=\"480\" startAutoPlay=\"true\"/>\n"
                                          "<music_property path=\"res/music.mp3\"/>\n</global></preferences>\n<album>\n%1"
                                          "</album></config>\n")
                               .arg(slides);
    TestSupport::WriteAll(album.folder + QStringLiteral("album.xml"), config.toUtf8());
    album.movie = album.folder + QStringLiteral("album.js");
    album.page = WritePage(album.movie, 640, 480);
    return album;
}

QString WritePage(const QString& moviePath, int width, int height, const QString& extraScript)
{
    const QFileInfo movie(moviePath);
    const QString name = movie.completeBaseName();
    const QByteArray config = TestSupport::ReadAll(movie.absolutePath() + QLatin1Char('/') + name + QStringLiteral(".xml"));
    const QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"UTF-8\">\n<title>%1</title>\n"
                       "<style>html,body{margin:0;height:100%;background:#000}#stage{position:absolute;left:50%;top:50%;"
                       "width:%2px;height:%3px;margin:-%4px 0 0 -%5px}</style>\n</head>\n<body>\n<div id=\"stage\"></div>\n"
                       "<textarea id=\"album-config\" hidden>%6</textarea>\n<script src=\"%1.js\"></script>\n%7"
                       "<a href=\"https://kelvana.example/\" style=\"display:none;visibility:hidden;\">Kelvana</a>\n"
                       "</body>\n</html>\n")
            .arg(name)
            .arg(width)
            .arg(height)
            .arg(height / 2)
            .arg(width / 2)
            .arg(escaped(QString::fromUtf8(config)), extraScript);
    const QString path = movie.absolutePath() + QLatin1Char('/') + name + QStringLiteral(".html");
    TestSupport::WriteAll(path, page.toUtf8());
    return path;
}

QString CheckPlayedAlbum(const QJsonObject& state, const Album& album, bool musicPlaying)
{
    QStringList problems;
    // Playable slides in album order, the broken one left out, then the loop.
    QList<int> expected;
    for (int i = 0; i < album.effects.size(); ++i) {
        if (i != album.brokenSlide)
            expected.append(i);
    }
    const QJsonArray shown = state.value(QStringLiteral("shownSlides")).toArray();
    const QJsonArray transitions = state.value(QStringLiteral("transitions")).toArray();
    if (shown.size() < expected.size() + 1)
        problems << QStringLiteral("only %1 slides came on").arg(shown.size());
    for (int k = 0; k < shown.size(); ++k) {
        const int want = expected[k % expected.size()];
        if (shown[k].toInt() != want)
            problems << QStringLiteral("slide %1 came on as number %2, expected %3").arg(shown[k].toInt()).arg(k).arg(want);
    }
    for (const QJsonValue& value : transitions) {
        const QJsonObject t = value.toObject();
        const int to = t.value(QStringLiteral("to")).toInt();
        const QString effect = t.value(QStringLiteral("effect")).toString();
        if (to < 0 || to >= album.effects.size() || effect != album.effects[to])
            problems << QStringLiteral("transition into %1 used %2").arg(to).arg(effect);
    }
    if (state.value(QStringLiteral("skipped")).toArray() != QJsonArray{album.brokenSlide})
        problems << QStringLiteral("skipped photos are not [%1]").arg(album.brokenSlide);
    const QJsonObject music = state.value(QStringLiteral("music")).toObject();
    if (!music.value(QStringLiteral("url")).toString().endsWith(QStringLiteral("/res/music.mp3")))
        problems << QStringLiteral("music is %1").arg(music.value(QStringLiteral("url")).toString());
    if (!music.value(QStringLiteral("requested")).toBool() || !music.value(QStringLiteral("error")).isNull())
        problems << QStringLiteral("music was not asked to play, or failed");
    if (musicPlaying && !state.value(QStringLiteral("musicStarted")).toBool())
        problems << QStringLiteral("music did not start");
    if (state.value(QStringLiteral("slideCount")).toInt() != album.effects.size())
        problems << QStringLiteral("slide count %1").arg(state.value(QStringLiteral("slideCount")).toInt());
    return problems.join(QStringLiteral("; "));
}

} // namespace MovieFixture
