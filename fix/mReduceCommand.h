// veltrano --reduce SIGHTS.csv: the session's fix without a window.
//
//   veltrano --reduce SIGHTS.csv --dr LAT LON [--dr-time UT] [--course DEG] [--speed KN]
//            [--eye M] [--ic ARCMIN] [--temp C] [--pressure MB] [--no-iterate]
//
// LAT LON in the program's text forms ("41-20.5N" "070-05.2W") or signed decimal
// degrees; --dr-time the UT instant of the DR position and of the fix, ISO 8601
// (default: the last sight's); air, eye and index as the working data's defaults
// when not given. The file: a header row naming the columns, one sight a row:
//   ut    ISO 8601 UT ("2026-03-20T18:42:07", "Z" or "+00:00" allowed)
//   body  "Sun", "Moon", a planet, a star's proper name ("Vega"), full name or number
//   hs    sextant altitude, "dd-mm.m" or decimal degrees
//   limb  optional: "lower" (default) or "upper", for the Sun and the Moon
//   kind  optional: empty (or "altitude") for an altitude sight; "lunar" for a lunar distance:
//         ut the watch time read as UT, body the Sun, Venus, Mars, Jupiter, Saturn or a star,
//         moon_limb near/far, limb near/far for the Sun (empty otherwise), distance the
//         sextant distance ("ddd-mm.m" or decimal degrees; --ic applies), hs_moon and hs the
//         sextant altitudes of the Moon's lower limb and of the body, empty to compute both
//         from the DR (run along course and speed to the watch time)
//   use   optional: "0", "no" or "false" leaves the sight out of the fix
// Output: JSON on out (see RunReduce). Exit 0 with a fix, 1 when it is refused, 2 for
// bad usage with the message (naming the line and the column) on err.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "fix/mSessionFix.h"
#include "lunar/mLunar.h"

// One row of the sights file, as read.
struct SightRow {
    int Line = 0;  // 1-based line of the file
    std::string Kind, Ut, Body, Hs, Limb, Use;
    std::string MoonLimb, Distance, HsMoon;  // lunar rows
};

// What the rows of a file make: the altitude sights (other kinds add their own lists).
struct ReduceInput {
    std::vector<SessionSight> Sights;
    std::vector<std::string> BodyName;  // as written in the file
    std::vector<LunarObservation> Lunars;
    std::vector<std::string> LunarBodyName;
};

// A row handler: fills input from the row, or returns the reason naming the column.
using SightRowParser = bool (*)(const SightRow& row, ReduceInput& input, std::string& why);
struct SightRowKind {
    const char* Kind;  // the kind column's value ("" for an altitude sight)
    SightRowParser Parse;
};
// The kinds the command reads.
const std::vector<SightRowKind>& SightRowKinds();

// Given: text, ISO 8601 UT "YYYY-MM-DDThh:mm[:ss[.sss]]" (or a space for T; "Z" or "+00:00").
// Returned: false when it is not one; else the date-time value.
bool ParseIsoUT(const std::string& text, DateValue& ut);
// Given: a body as the file names it.  Returned: its BodyCode, kNoBody when none.
BodyCode BodyCodeOfName(const std::string& name);

// Given: file, a sights file as above.  Returned: false with why naming the file,
// the line and the column of the first fault; else true with the rows appended to input.
bool ReadSightsFile(const std::string& file, ReduceInput& input, std::string& why);
// The same from the file's contents; file names it in why.
bool ReadSightsText(const std::string& contents, const std::string& file, ReduceInput& input, std::string& why);

// Given: args, the arguments after "--reduce"; the data files already loaded.
// Effect: prints the fix as JSON on out: {"fix": {"lat", "lon"} (degrees, north and
// east positive), "ellipse95" (the 95% region from the residuals, null with fewer than
// three sights) and "ellipse_geometric" (a one-minute sight error), each {"a_nm",
// "b_nm", "azimuth_deg"}, "sigma_arcmin" (null likewise), "passes", "lines": one per
// sight {"ut", "body", "use", "ho_deg", "hc_deg", "zn_deg", "intercept_arcmin" (from
// the DR), "residual_arcmin", "series", "outlier"}, "series": one per line of position,
// "blunders": the fix without each flagged line or shot}; or {"refusal": reason}; with lunar
// rows, "lunars": one per row {"ut_watch", "body", "cleared_distance" (degrees, geocentric
// centres), "ut" found (ISO 8601), "watch_error_s" (watch minus UT),
// "seconds_per_tenth_arcmin", "longitude" (degrees east; null when no altitude allows it),
// "longitude_note"} or {"ut_watch", "body", "refusal"}. A file of lunars alone gives no fix.
// Returned: 0, 1 or 2 as above (1 also when every lunar of a file without sights is refused).
int RunReduce(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

