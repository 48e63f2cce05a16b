// The start-up check of the movie player component (Qt WebEngine): it must be
// creatable and report a Chromium major version of at least kMinimumVersion.
#pragma once

namespace MoviePlayerCheck {

inline constexpr int kMinimumVersion = 90;

// The Chromium major version of the web engine; 0 when it cannot be read.
int Version();

// Creates (and destroys) a web view; false when that fails. Needs an
// application object.
bool Creatable();

} // namespace MoviePlayerCheck
