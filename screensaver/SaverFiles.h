// What the saver plays: for its own file D/B.scr (any extension, or none) the
// movie D/B.js and the album configuration D/B.xml, so a copy renamed to
// Trip.scr plays Trip.js. The configuration gives the movie's size through
// the attributes movieWidth and movieHeight of
// <root>/preferences/global/basic_property.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

struct SaverFiles {
    QString movie;         // D/B.js
    QString configuration; // D/B.xml

    static SaverFiles ForProgram(const QString& programPath);

    // The movie size from the configuration; an empty size when the file is
    // missing or unreadable or does not give both attributes.
    static QSize ReadMovieSize(const QString& configurationPath);

    // The whole client area, or a movie of a positive size centred in it
    // (also when that puts it partly outside).
    static QRect MovieRect(QSize client, QSize movie);
};
