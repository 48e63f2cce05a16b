// A small album for the movie tests: a template movie with a configuration of
// four slides (the second a broken photo), three different effects, one second
// per slide and music, in a folder of its own.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace MovieFixture {

struct Album {
    QString folder;     // with a trailing "/"
    QString movie;      // folder + "album.js"
    QString page;       // folder + "album.html", a host page by the contract
    QStringList effects; // the transition of each slide, in album order
    int brokenSlide = 1;
};

// Writes the album into a fresh folder. `template` is a movie file of the build
// tree's Sources folder (relative to it).
Album MakeAlbum(const QString& movieInSources = QStringLiteral("Templates/Previews/Classic/classic.js"));

// Writes a web page for the movie by the movies/README.md contract, with the
// configuration inlined.
QString WritePage(const QString& moviePath, int width, int height, const QString& extraScript = QString());

// Checks the state of a movie that played the album long enough to come back
// to its first slide: slides in order without the broken one, each transition
// with its configured effect, the broken photo skipped, the album's music asked
// to play without error and, with `musicPlaying`, playing. Returns an empty
// text when everything holds, else what failed.
QString CheckPlayedAlbum(const QJsonObject& state, const Album& album, bool musicPlaying = true);

} // namespace MovieFixture
