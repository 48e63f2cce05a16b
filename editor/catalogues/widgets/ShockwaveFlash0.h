// The editor's movie player control: the transition preview of the effects
// explorer and the template preview of the theme pane.
#pragma once

#include "common/movieplayer/MoviePlayer.h"

class CShockwaveFlash0 : public CMoviePlayer {};
