// The calculation details of a fix: the header and summary texts and the cells
// of the table of every reduction step, all read from the fix record (nothing is
// computed again from today's working data). The details window shows them.
#pragma once
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "fix/mCalcPosition.h"
#include "fix/mSessionFix.h"

// "Date: ... Local Time: ... Time zone: ..." / "Position: <DR>, Course = ..." /
// "Temp = ...": the working data of the fix; "Last fix not available" when FixTime is 0.
QString DetailsHeaderText(const FixResult& fix);
// "Last fix on ... local time." / "Position: ...   C = ... - ...'" / "Ellipse of
// error: a = ...', b = ...', Alpha = ... deg" and the intercept warning, or "Last
// fix not available" when FixTime is 0. With a failure (the reason the last
// calculation gave no fix) first "The last calculation failed: <failure>", and
// the fix is "Last good fix on ...".
QString DetailsFixText(const FixResult& fix, const std::string& failure = std::string());
// "Warning: intercept over 30' in Line No. 2 (+45.3'), ...: check the sight and
// the DR position." for the lines of LargeInterceptLines; "" when there are none.
QString InterceptWarningText(const FixResult& fix);
// The run from the DR to the fix: "C = 332.6° - 05.2 nm", or "Fix at the DR
// (00.0 nm)" when the distance rounds to zero (no course to speak of).
QString CourseDistanceText(const FixResult& fix);
// "" for a one-pass fix; else "\nIterated in n passes, shifts: 59.812' 0.205' 0.000'"
// (how far each pass moved the position, nautical miles).
QString PassesText(const FixResult& fix);
// One column of the table: the body's name and the cells by row key ("Time",
// "Date", "GHA ARIES" and "TAU" for stars, "GHA", "LAT", "LON", "LHA", "DEC", "OC",
// "i_s", "Dip", "H", "Refr", "TP", "SemiD", "px", "Ho", "Hc", "dN", "Az", "Res").
// The corrections carry the sign with which they are applied, so that from "OC"
// they add up to "Ho"; "dN" is the intercept from the DR, Ho - Hc; "Res" what is
// left of the line at the fix.
struct DetailsColumn {
    QString Header;
    std::vector<std::pair<QString, QString>> Cells;
};
// The columns of the lines that took part, in line order; none when FixTime is 0.
std::vector<DetailsColumn> DetailsColumns(const FixResult& fix);

// A session's fix: "Session fix of <date> at hh:mm:ss UT" / "Position: <DR>,
// Course = ..." / "Temp = ...", the conditions it was calculated with.
QString DetailsHeaderText(const SessionFix& fix);
// One column per sight, in the order entered, headed "<number>. <body>": the
// cells of a four-line fix's columns, the reduction from the DR, "Res" the sight's residual at the fix ("not used" for a sight left
// out), "Line" the line (series) it belongs to, and "Flag" "does not fit" for a
// sight that stands out or whose line does not fit the others.
std::vector<DetailsColumn> DetailsColumns(const SessionFix& fix);
