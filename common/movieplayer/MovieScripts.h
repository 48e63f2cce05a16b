// The scripts the movie player control runs in a movie's page (its page
// interface is in movies/README.md), shared by its waiting and asynchronous
// calls.
#pragma once

#include "common/movieplayer/MoviePlayer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace MovieScripts {

// Interval of the asynchronous calls' questions to the page.
inline constexpr int kPollMs = 20;

// The movie has read its configuration and settled its first picture.
inline QString readyCondition() { return QStringLiteral("window.kelvanaState && window.kelvanaState.ready"); }
// The pictures of the frame on screen are there.
inline QString settledCondition() { return QStringLiteral("!window.kelvanaState||window.kelvanaState.pending===0"); }
inline QString gotoFrameScript(int frame)
{
    return QStringLiteral("if(typeof gotoFrame==='function')gotoFrame(%1);").arg(frame);
}
// Two animation frames after this the page has put the frame on screen.
inline QString markShownScript()
{
    return QStringLiteral("window.__kelvanaShown=false;requestAnimationFrame(function(){"
                          "requestAnimationFrame(function(){window.__kelvanaShown=true;});});");
}
inline QString frameNumScript() { return QStringLiteral("typeof frameNum==='function'?frameNum():0"); }

// The script for an invoke request, true once the function ran; empty when the
// request is not one or names no plain function.
inline QString invokeScript(const QString& request)
{
    QString name;
    QStringList arguments;
    if (!CMoviePlayer::ParseInvokeRequest(request, &name, &arguments))
        return QString();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$"));
    if (!identifier.match(name).hasMatch())
        return QString();
    // The arguments travel as a JSON array, so no text can break out of the call.
    const QString args = QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact));
    return QStringLiteral("(function(){var f=window.%1;if(typeof f!=='function')return false;f.apply(window,%2);return true;})();")
        .arg(name, args);
}

} // namespace MovieScripts
