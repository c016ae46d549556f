// Annual events: the instants of the equinoxes and solstices and the principal phases
// of the Moon for one calendar year. All instants are UT date-time values.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "core/mTime.h"

// Phase numbers: 0 new moon, 1 first quarter, 2 full moon, 3 last quarter.
inline constexpr int kPhaseCount = 4;

// The year's phases by month: at(m, q) is the first occurrence of phase q (0..3) in month
// m (1..12) and at(m, q + 4) the second one in the same month; 0 means none. Row 0 is
// never used.
struct PhaseTable {
    std::array<std::array<DateValue, 8>, 13> t{};
    DateValue at(int month, int slot) const { return t.at(month).at(slot); }
};

// Given: year; n, lunation offset; phase, 0, 0.25, 0.5 or 0.75 (a phase within 0.01 of
// one of them counts as that phase; any other value gets no periodic correction).
// Returned: UT date-time value of the phase of lunation k = floor((year - 1900) * 12.3685)
// + n + phase (k = 0: the new moon of 1900 January 0): the mean phase with the periodic
// terms of the Sun's and the Moon's anomalies, the Moon's argument of latitude and node,
// the quarters' W term and the fourteen planetary arguments (Meeus, Astronomical
// Algorithms, 2nd ed., chapter 49; its lunation k is ours minus 1237), in TT, made UT
// with DeltaT. Against the Moon's and the Sun's apparent longitudes from the JPL
// ephemeris (DE431), 1900-2100: 0.31 minutes at most in TT, 0.08 RMS.
DateValue PhaseDate(int year, int n, double phase);

// Given: as PhaseDate, phase 0, 0.25, 0.5 or 0.75.
// Returned: UT date-time value of the instant at which the Moon's apparent ecliptic
// longitude less the Sun's is phase x 360 degrees (BodyPosition, the true ecliptic of
// date), found by the secant method from PhaseDate to 1e-8 day: within a second of the
// Swiss Ephemeris 1900-2100 at the same TT.
DateValue PhaseInstant(int year, int n, double phase);

// Given: year; yieldFn, called once per lunation before its four phases (the window
// passes a function that processes pending events; may be empty).
// Returned: the phase table of the calendar year (UT), from 14 lunations starting with
// offset 0 (PhaseInstant); occurrences falling in another calendar year are left out.
PhaseTable MoonPhaseTable(int year, const std::function<void()>& yieldFn = {});

// Given: table, month 1..12, phase 0..3.
// Returned: the cell text: "dd hh:mm" of the first occurrence, then " & " and the second
// one when the month has two; empty when none.
std::string PhaseCellText(const PhaseTable& table, int month, int phase);

// Given: year; spring, the March (true) or September (false) equinox.
// Returned: UT date-time value at which the Sun's apparent declination changes sign,
// searched day by day from 19 March (21 September) 0 h and interpolated linearly between
// the last two daily samples. Within 0.3 minutes of the apparent-declination crossing
// of the JPL ephemeris (DE431), 1900-2100. Throws ArithmeticFault when the sign does not change
// within the five days searched.
DateValue EquinoxDate(int year, bool spring);

// Given: year; summer, the June (true) or December (false) solstice.
// Returned: UT date-time value at which the Sun's apparent longitude is 90 (270)
// degrees, the solstice that almanacs publish, found by successive corrections at the
// Sun's mean rate from 21 June (21 December) 0 h. Within 0.3 minutes of the JPL
// ephemeris (DE431), 1900-2100. (The extremum of the declination, which the
// longitude's slow nutation and aberration terms shift, falls up to 11 minutes away.)
DateValue SolsticeDate(int year, bool summer);

// Calendar fields of an event instant as it is shown: rounded to the whole second, the
// minute then shown as it stands (11:57:39 reads 11:57).
CalendarDate EventParts(DateValue v);

// Everything the annual events window shows for a year.
struct AnnualEvents {
    int year = 0;
    PhaseTable phases;
    DateValue summerSolstice = 0.0;
    DateValue winterSolstice = 0.0;
    DateValue springEquinox = 0.0;
    DateValue autumnEquinox = 0.0;
};
AnnualEvents ComputeAnnualEvents(int year, const std::function<void()>& yieldFn = {});
