// The player's movie player control, filling its window with the unpacked album.
#pragma once

#include "common/movieplayer/MoviePlayer.h"

class CShockwaveflash1 : public CMoviePlayer {};
