// The last fix of the run and the lines that produced it, kept for the run and
// never saved.
#pragma once
#include <string>
#include "fix/mCalcPosition.h"

// Replaced together by each calculation that is not refused.
extern FixResult LastFix;
extern SightLines LastSightLines;
// Why the last calculate command gave no fix; "" when it gave one (or none was
// asked for). LastFix and LastSightLines then still hold the last good fix.
extern std::string LastFixFailure;
// The sights as the position window's lines hold them (body, time and altitude
// text, limb), kept while the window is closed, for the run.
extern SightLines EnteredSights;
