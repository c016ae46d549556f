// What the session window and the details window say about a session's fix: the
// summary (the fix, both ellipses, the sight that stands out and the fix without
// it) and the names and numbers it uses, all read from the fix record.
#pragma once
#include <QString>

#include "fix/mSessionFix.h"

// The body's name as the session's lists show it: the star's proper name, or
// "Sun" ... "Moon"; the number itself for a code of no body.
QString SessionBodyName(BodyCode code);
// "+1.3'": arc minutes to a tenth with their sign.
QString ArcminText(double arcmin);
// "45-12.0N 030-21.0W" as the program writes positions.
QString PositionText(double lat, double lon);
// "a = 0.52' b = 0.31' Alpha = 047.0 deg".
QString EllipseText(const ErrorEllipse& e);
// The summary of a fix (no refusal): "Fix: ... (n sights in m lines, k passes)", the
// geometric ellipse, the 95% region from the residuals or why there is none, each
// sight or line that does not fit with the fix without it, the pairs that cannot
// be told apart, or "No sight stands out.". Sights go by their numbers (SightNumber).
QString SessionSummaryText(const SessionFix& f);
