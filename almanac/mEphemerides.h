// The hourly almanac page: for each whole hour of UT of one civil date, the Greenwich
// hour angle of Aries and the Greenwich hour angle and declination of Venus, Mars,
// Jupiter, Saturn, the Sun and the Moon. Numbers only; the window formats them.
#pragma once
#include <array>
#include <vector>

#include "core/mEphemerisFit.h"
#include "core/mTime.h"

// Bodies of the page, in the order of its columns after UT and ARIES.
inline constexpr int kEphemerisBodyCount = 6;
struct EphemerisColumn {
    int bodyId;          // BodyId of the body position service
    const char* header;  // column caption
};
inline constexpr std::array<EphemerisColumn, kEphemerisBodyCount> kEphemerisColumns{{
    {2, "VENUS"}, {4, "MARS"}, {5, "JUPITER"}, {6, "SATURN"}, {0, "SUN"}, {9, "MOON"}}};
inline constexpr int kEphemerisHours = 24;

struct EphemerisRow {
    int hour = 0;         // UT hour, 0..23
    double jd = 0.0;      // TT Julian date of the row
    double aries = 0.0;   // Greenwich hour angle of Aries (apparent sidereal time), degrees [0, 360)
    std::array<double, kEphemerisBodyCount> gha{};  // Greenwich hour angles, degrees [0, 360)
    std::array<double, kEphemerisBodyCount> dec{};  // apparent declinations, degrees
    // As the printed page has them, arc minutes: the Moon's v (its GHA one hour later minus
    // this one, less 14 deg 19.0') and d (its declination one hour later minus this one,
    // signed), its horizontal parallax; the semidiameters of the Sun (959.63"/r) and the
    // Moon (0.2724 HP).
    double moonV = 0.0, moonD = 0.0, moonHP = 0.0, sunSD = 0.0, moonSD = 0.0;
};

// Given: localDate, the working date-time (zone time).
// Returned: TT Julian date of 0 h UT of localDate's calendar date. The date part is taken
// as a UT date and the zone is not applied: a page opened just after local midnight in a
// zone east of Greenwich still starts at 0 h UT of that same date.
double EphemerisPageStart(DateValue localDate);

// Given: jd, TT Julian date; hour, the label of the row.
// Returned: the row: Aries = SiderealTime(jd, 0); each body's GHA = Norm360(Aries - RA)
// and declination from BodyPosition(jd); the Moon's v and d from its place at jd + 1 h.
// Accuracy is that of BodyPosition and
// SiderealTime (a few arcseconds for the Moon, about 1" for the Sun and planets).
EphemerisRow EphemerisRowAt(double jd, int hour);

// The same with the bodies' places from fit (which covers jd, else BodyPosition):
// within 1e-5" of EphemerisRowAt(jd, hour); Aries with the nutation from the fit
// (EphemerisFit::SiderealTime).
EphemerisRow EphemerisRowAt(const EphemerisFit& fit, double jd, int hour);

// The BodyIds of the page's columns, in column order.
std::vector<int> EphemerisBodies();
// Given: jd0, the page start (EphemerisPageStart).  Returned: the fit of the page's
// bodies over its UT day [jd0, jd0 + 1].
EphemerisFit EphemerisPageFit(double jd0);

// The whole page of localDate: 24 rows, hours 0..23, row i at EphemerisPageStart + i/24,
// from one fit per body over the day (EphemerisPageFit). Its text (tenths of an arc
// minute) is that of the rows computed one by one with EphemerisRowAt(jd, hour).
std::array<EphemerisRow, kEphemerisHours> EphemerisPage(DateValue localDate);

// The pages of count consecutive dates from firstDate's, sharing the planetary
// series between the days (DailyEphemeris); page k is EphemerisPage(firstDate + k)
// to the same accuracy.
std::vector<std::array<EphemerisRow, kEphemerisHours>> EphemerisPages(DateValue firstDate, int count);
