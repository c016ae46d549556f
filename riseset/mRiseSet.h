// Rise, set, upper and lower transit of the Sun, the Moon and the planets, and
// civil and nautical twilight, for one day at one observer position.
//
// Two methods for rise, set and twilight:
//  - approximate: a closed hour-angle formula around the transit, with the body's
//    place taken once at the start of the day;
//  - rigorous: 25 hourly altitudes from the given instant, with a parabola through
//    each three neighbouring hours; each crossing so found is then moved onto the
//    computed altitude's own crossing by the secant method (the Moon: within 0.01
//    minute of the crossing of its exact place, where the parabola alone was 15 s off).
// Both answer for the same 24 hours from `day` (the window passes the UT instant of
// local midnight). Transits always use the approximate formula.
//
// Times are date-time values (days since 1899-12-30) on the UT scale. Positions
// come from BodyPosition, or from a fit of it over the day searched (EphemerisFit,
// within 1e-5" of it) where several hours of one body are needed; horizontal
// coordinates from AltAzimuth; the height of
// eye, air temperature and pressure come in as a Horizon (mCorrection.h).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/mMath.h"
#include "core/mTime.h"
#include "reduction/mCorrection.h"

// Rise and set of one day, UT date-time values.
//   Rise: the upward crossing of the threshold altitude (for twilight: the
//         start of morning twilight); 0 when the day has none.
//   Set:  the downward crossing (for twilight: the end of evening twilight);
//         0 when the day has none.
// When the day has neither crossing, Set is -1 and Rise is a flag: +1 the body
// stays above the threshold all day, -1 it stays below (0 when the rigorous
// method finds the altitude at the twelfth hour exactly on the threshold).
struct RiseSetResult {
    DateValue Rise = 0.0;
    DateValue Set = 0.0;

    bool NoCrossing() const { return Set == -1.0; }
    bool AlwaysAbove() const { return NoCrossing() && Rise > 0.0; }
    bool AlwaysBelow() const { return NoCrossing() && Rise < 0.0; }
    bool HasRise() const { return !NoCrossing() && Rise != 0.0; }
    bool HasSet() const { return !NoCrossing() && Set != 0.0; }
};

// Upper and lower transit. UpperAltitude is the computed altitude of the centre
// plus dip plus mean refraction (what the navigator sees above the sea horizon);
// LowerAltitude is the computed altitude alone. Degrees; times UT.
struct TransitResult {
    DateValue UpperTime = 0.0;
    double UpperAltitude = 0.0;
    DateValue LowerTime = 0.0;
    double LowerAltitude = 0.0;
};

// The 25 hourly altitudes minus the threshold, degrees; index h is day + h hours.
using HourlyTable = std::array<double, 25>;

// Base thresholds of the centre of the body, degrees, before the horizon
// corrections. Sun: -50.3' (mean refraction 34' and semidiameter 16.3');
// Moon: +8' (horizontal parallax less refraction and semidiameter, on average);
// planets: -34' (refraction alone); twilight: the Sun's centre at -6 and -12 deg.
inline constexpr double kSunBaseThresholdDeg = -50.3 / 60.0;
inline constexpr double kMoonBaseThresholdDeg = 8.0 / 60.0;
inline constexpr double kPlanetBaseThresholdDeg = -34.0 / 60.0;
inline constexpr double kCivilTwilightDeg = -6.0;
inline constexpr double kNauticalTwilightDeg = -12.0;

// Given: body, a BodyId (0 Sun, 1-2, 4-8 planets, 9 Moon).
// Returned: the base threshold of the centre, degrees (table above).
double BaseThreshold(int body);

// Given: base, a base threshold in degrees; horizon, the height of eye and the air.
// Returned: the threshold of the geometric (computed) altitude of the centre,
// degrees: base - Dip(hEye) - RefractionTP(Refraction(base - Dip(hEye)), T, P).
// Cold or dense air refracts more, so the body shows earlier and the geometric
// threshold goes down.
double ThresholdAltitude(double base, const Horizon& horizon);

// Given: body, a BodyId; inTransitTimes selects the Moon's 48-minute offset
//        (TransitTimes) instead of its 52-minute one (approximate rise and set).
// Returned: k, the length in days of the body's mean day between transits.
double TransitRateFactor(int body, bool inTransitTimes);

// Given: day, UT date-time; lon, degrees east; body, BodyId.
// Returned: hours, [0, 24): the sidereal hour angle still to run from the instant
// day to the next upper transit at that longitude (local sidereal time, so the
// longitude is counted here and nowhere else), from the body's place at day.
double TransitHour(DateValue day, double lon, int body);

// Given: day, UT date-time; lat, lon, degrees; body, BodyId; horizon (the dip of
// the upper altitude).
// Returned: upper and lower transit times (UT) and altitudes: the upper transit is
// the first after day; the lower one is found from twelve sidereal hours (times k)
// from it on the same base, so it can lie before it. Both lie in [day, day + k),
// after day + 1 only for the Moon on a day it does not transit. Each instant is
// MeridianPassage's, the one meridian passage of the program (the noon sight's
// too). Accuracy (against the Swiss Ephemeris 2000-2030, 65 S to 72 N): 1 s.
TransitResult TransitTimes(DateValue day, double lat, double lon, int body, const Horizon& horizon);

// The instant a body's local hour angle takes a value, for an observer who may be
// moving. Given: guess (UT), within a few hours of the instant; hourAngle, degrees
// (0 the upper meridian passage, 180 the lower); body, BodyId, whose apparent
// place at a TT Julian date comes from place (BodyPosition, or a fit of it);
// sidereal, the apparent sidereal time of Greenwich at a TT Julian date, degrees;
// lonAt, the observer's longitude east at a UT instant, degrees (a constant for a
// ship stopped). Returned: the UT instant nearest guess, by Newton steps on the
// hour angle to 0.01 s; NaN when the steps do not settle (an observer running
// west as fast as the body's hour angle).
DateValue MeridianPassage(DateValue guess, double hourAngle, int body,
                          const std::function<Coord3(double)>& place,
                          const std::function<double(double)>& sidereal,
                          const std::function<double(DateValue)>& lonAt);

// The approximate method. Given: day (UT), lat, lon (degrees), body, h0 (the
// threshold of the geometric altitude of the centre, degrees).
// Returned: rise and set around the transit after day, each moved by whole mean
// days into [day, day + 1) (0 when the day has none: a day without moonrise), or
// the markers. Accuracy (same reference): Sun 5 min, planets 14 min, Moon 2 h at
// 70 N but 15 min between 34 S and 22 N (RMS 18 min overall).
RiseSetResult HourAngleRiseSet(DateValue day, double lat, double lon, int body, double h0);

// The rigorous method, first half. Given: day (UT, the start of the 24 hours
// searched), lat, lon, body, h0. Returned: y[h] = computed altitude at day + h
// hours minus h0, degrees, h = 0..24.
HourlyTable HourlyAltitudes(DateValue day, double lat, double lon, int body, double h0);

// The rigorous method, second half. Given: day (UT) and the 25 values of
// HourlyAltitudes. Returned: the crossings of zero found by a parabola through
// each three neighbouring hours (centres 1..23); a crossing found by two
// overlapping windows is averaged; when there is none, the markers from the sign
// of y[12]. A window whose three values lie on a straight line gives the root
// of that line. Two crossings the same way more than an hour apart (a second
// moonrise near the pole) are not averaged: the first one is kept.
RiseSetResult QuadraticCrossings(DateValue day, const HourlyTable& y);

// Given: day (UT), lat, lon (degrees), body (BodyId), approximate (true: the
// approximate method, false: the rigorous one), horizon (the threshold's dip and air).
// Returned: the rise and set of the centre through the threshold of the body.
RiseSetResult RiseSetTimes(DateValue day, double lat, double lon, int body, bool approximate,
                           const Horizon& horizon);

// Given: day (UT), lat, lon (degrees), civil (true: the Sun's centre at -6 deg,
// false: nautical, -12 deg), approximate (the method), horizon.
// Returned: Rise = start of morning twilight, Set = end of evening twilight.
RiseSetResult TwilightTimes(DateValue day, double lat, double lon, bool civil, bool approximate,
                            const Horizon& horizon);

// Given: t, a date-time value. Returned: its time of day in the pattern
// "hh:mm:ss", rounded to the nearest second (23:59:59.6 shows 00:00:00).
std::string TimeOfDayText(DateValue t);
