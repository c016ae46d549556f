// A session's fix as a record of the sight log: every sight of the session, in
// the order entered (Line 1, 2, ...), with its reduction from the last pass's
// position (the corrections, Ho, Hc, Zn), its intercept from the DR and its residual.
#pragma once
#include <string>

#include "fix/mSessionFix.h"
#include "log/mSightLog.h"

// Given: the working data the session was calculated with; the fix (no refusal);
// the program's version.  Returned: the record, the ellipse the geometric one
// (a one-minute sight error) and the 95% region, when there is one, in the note.
LoggedFix MakeLoggedSession(const NavigationStateRecord& working, const SessionFix& fix, const std::string& version);
