// The printed work form of a fix: the numbers of a sight-reduction form for every
// line (the altitude's corrections, the hour angle from the whole hour with its
// increment and v correction, the declination with its d correction, Hc, Zn and the
// intercept), taken from the fix and the reduction the details show.
#pragma once
#include <array>
#include <string>

#include "fix/mCalcPosition.h"
#include "core/mWorkingData.h"
#include "map/mDetails.h"

struct WorkFormLine {
    DetailsLine d;            // every step of the reduction (InUse false: no line)
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
    NavigationStateRecord working;  // the conditions the lines were reduced with
};

// Given: fix and lines, a fix and the sights it came from; working, the working data
// it was computed with (TZ, course, speed, air, height of eye, index correction).
// Returned: the form; by construction GHA hour + increment + v = the line's GHA and
// Dec hour + d = its declination, so the form's sums reproduce the fix's numbers.
// Must be called with NavigationState holding working (the details' reduction reads it).
WorkForm MakeWorkForm(const FixResult& fix, const SightLines& lines, const NavigationStateRecord& working);
