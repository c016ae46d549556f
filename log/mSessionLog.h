// A session's fix as a record of the sight log: every sight of the session, in
// its number as entered (the session window's row), with its reduction from the DR
// position at its instant (the corrections, Ho, Hc, Zn and the intercept) and its
// residual at the fix.
#pragma once
#include <string>
#include <vector>

#include "fix/mSessionFix.h"
#include "log/mSightLog.h"

// Given: the working data the session was calculated with; the fix (no refusal);
// the program's version.  Returned: the record, the ellipse the geometric one
// (a one-minute sight error) and the 95% region, when there is one, in the note.
LoggedFix MakeLoggedSession(const NavigationStateRecord& working, const SessionFix& fix, const std::string& version);
// Whether a logged fix needs the session window: more than four sights, or a sight
// numbered above 4 (the position window has four lines).
bool IsLoggedSession(const LoggedFix& fix);
// The sights of a logged fix as the session window takes them: number, body, UT,
// Hs and limb as recorded; Use where the sight took part in the fix (it has a residual).
std::vector<SessionSight> SessionSightsOf(const LoggedFix& fix);
