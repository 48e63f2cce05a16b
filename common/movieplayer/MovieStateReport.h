// For tests and timing runs of the programs: when the environment variable
// KELVANA_MOVIE_STATE_FILE names a file, the movie's state (its kelvanaState,
// as JSON) is written there once the movie's first photo has fully come in,
// so that a test outside the process knows what the movie shows and when to
// look at the screen. Without the variable nothing happens.
#pragma once

class CMoviePlayer;

namespace MovieStateReport {

void WatchFromEnvironment(CMoviePlayer& player);

} // namespace MovieStateReport
