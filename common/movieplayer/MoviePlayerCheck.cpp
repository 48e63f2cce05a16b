#include "common/movieplayer/MoviePlayerCheck.h"

#include "common/movieplayer/MoviePlayer.h"

namespace MoviePlayerCheck {

int Version() { return CMoviePlayer::Version(); }

bool Creatable()
{
    CMoviePlayer player;
    return player.Create(QStringLiteral("Flash Player"), false, QRect(0, 0, 1, 1), nullptr, 0);
}

} // namespace MoviePlayerCheck
