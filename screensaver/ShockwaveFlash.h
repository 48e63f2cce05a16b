// The screen saver's movie player control (the preview control).
#pragma once

#include "common/MoviePlayer.h"

class CShockwaveFlash : public CMoviePlayer {};
