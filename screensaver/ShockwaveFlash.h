// The screen saver's movie player control (the preview control).
#pragma once

#include "common/movieplayer/MoviePlayer.h"

class CShockwaveFlash : public CMoviePlayer {};
