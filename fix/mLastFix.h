// The last fix of the run, kept for the run and never saved: the record of the
// fix (with the working data and the lines that produced it), written by the
// position window when a calculation gives a fix; a refused one leaves it.
#pragma once
#include "fix/mCalcPosition.h"
#include "fix/mSessionFix.h"

extern FixResult LastFix;
// The last session's fix, written by the session window; LastFixIsSession says
// which of the two was calculated last (what the details window shows).
extern SessionFix LastSession;
extern bool LastFixIsSession;
// The sights as the position window's lines hold them (body, time and altitude
// text, limb), kept while the window is closed, for the run.
extern SightLines EnteredSights;
