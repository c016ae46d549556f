#include "fix/mLastFix.h"

FixResult LastFix;
SightLines LastSightLines;
std::string LastFixFailure;
SightLines EnteredSights;
