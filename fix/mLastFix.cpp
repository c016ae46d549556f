#include "fix/mLastFix.h"

FixResult LastFix;
SightLines EnteredSights;
