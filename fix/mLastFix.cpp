#include "fix/mLastFix.h"

FixResult LastFix;
SessionFix LastSession;
bool LastFixIsSession = false;
SightLines EnteredSights;
