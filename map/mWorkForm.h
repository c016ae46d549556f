// The printed work form of a fix: the numbers of a sight-reduction form for every
// line (the altitude's corrections, the hour angle from the whole hour with its
// increment and v correction, the declination with its d correction, Hc, Zn and the
// intercept), read from the fix's own record: each line as reduced from the
// dead-reckoning position at its instant.
#pragma once
#include <array>
#include <string>

#include "fix/mCalcPosition.h"

struct WorkFormLine {
    bool InUse = false;
    bool IsStar = false;
    std::string Name;         // "Vega", "Sun"
    DateValue Time = 0.0;     // UT of the sight
    LatLon Pos;               // the DR at the sight's instant, the line's reference
    SightReduction R;         // every step, from the record
    DateValue hour = 0.0;     // the whole hour of UT before the sight
    int minutes = 0, seconds = 0;  // past that hour (seconds rounded)
    double ghaHour = 0.0;     // GHA of the body (of Aries for a star) at the hour, degrees
    double increment = 0.0;   // the almanac's increment for the minutes and seconds, degrees
    double vCorr = 0.0;       // the rest of the change of GHA (v correction), arc minutes
    double decHour = 0.0;     // declination at the hour, degrees
    double dCorr = 0.0;       // the change of declination since the hour, arc minutes (signed)
};

struct WorkForm {
    FixResult fix;
    std::array<WorkFormLine, 4> lines{};
};

// Given: fix, a fix record. Returned: the form; by construction GHA hour + increment
// + v = the line's GHA and Dec hour + d = its declination, so the form's sums give the
// record's numbers. The places at the whole hour come from BodyPosition and
// SiderealTime (TT from the hour's UT).
WorkForm MakeWorkForm(const FixResult& fix);
