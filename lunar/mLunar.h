// Lunar distances: the angle between the Moon's limb and the Sun, a planet or a star,
// measured with the sextant, cleared to the geocentric distance of the centres, and the
// Universal Time at which the ephemeris gives that distance; the watch error and the
// longitude follow. Plain C++: every input an argument.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/mTime.h"
#include "reduction/mCorrection.h"

// The other body of a lunar: the body codes of the position window's lists (0 the Sun,
// -2 Venus, -3 Mars, -4 Jupiter, -5 Saturn, or a positive star number).
using LunarBody = int;
// The Moon's code in those lists.
inline constexpr LunarBody kLunarMoon = -8;

// What the navigator measured. Angles in degrees; the watch time read as UT.
struct LunarObservation {
    LunarBody body = 0;
    bool moonFarLimb = false;     // the Moon's far limb was brought to the body (near otherwise)
    bool bodyFarLimb = false;     // the Sun's far limb (near otherwise); ignored for a point
    double distance = 0.0;        // sextant distance, degrees, before the index correction
    DateValue watch = 0.0;        // the watch time of the distance, taken as UT
    std::optional<double> hsMoon; // sextant altitude of the Moon's lower limb; empty: from the DR
    std::optional<double> hsBody; // of the Sun's lower limb, or a planet's or star's centre
};

// Where and in what air: the DR (degrees, north and east positive), the index
// correction (arc minutes, added to every sextant reading), the height of eye and air.
struct LunarConditions {
    double lat = 0.0;
    double lon = 0.0;
    double indexArcmin = 0.0;
    Horizon horizon;
};

// One cleared lunar, with every step shown. Angles in degrees unless named otherwise.
struct LunarResult {
    std::string refusal;           // why it could not be cleared; "" when it was
    // The altitudes used: apparent (refracted, as the eye sees them) and true
    // (topocentric, airless) altitudes of the two centres; observed or from the DR.
    bool altitudesComputed = false;
    double moonApparentAlt = 0.0, bodyApparentAlt = 0.0;
    double moonTrueAlt = 0.0, bodyTrueAlt = 0.0;
    // The distance, step by step.
    double distanceIndexed = 0.0;      // sextant distance + index correction
    double moonSemidiameter = 0.0;     // the Moon's topocentric (augmented) semidiameter
    double moonSdAlongLine = 0.0;      // its refracted disc's radius toward the body
    double bodySdAlongLine = 0.0;      // the Sun's, toward the Moon (0 for a point)
    double apparentCentres = 0.0;      // apparent distance of the centres
    double trueTopocentric = 0.0;      // refraction removed
    double cleared = 0.0;              // parallax removed: geocentric distance of the centres
    // The time.
    DateValue ut = 0.0;                // UT at which the ephemeris gives the cleared distance
    double watchErrorSeconds = 0.0;    // watch minus UT
    double rateArcminPerHour = 0.0;    // the geocentric distance's change at ut
    double secondsPerTenthArcmin = 0.0;// sensitivity: seconds of time per 0.1' of distance
    int passes = 0;                    // clearings (repeated while computed altitudes change)
    // The longitude from the same sight's observed altitude, where one allows it.
    std::optional<double> longitude;   // degrees east, (-180, 180]
    std::string longitudeNote;         // which altitude gave it, or why none did
};

// Given: obs, what was measured; cond, the DR, the index correction and the air.
// Returned: the cleared distance, the UT, the watch error and, from an observed altitude
// of the body (else of the Moon) not within 15 degrees of the meridian, the longitude.
// Refraction (with the flattening of both discs along the line joining them) and the
// parallax of both bodies (WGS84 observer at sea level) are removed rigorously, in
// vectors; altitudes left empty are computed from the DR at the UT found, the clearing
// being repeated until that UT changes by less than 0.1 s. Accuracy against a rigorous
// topocentric simulation (Swiss Ephemeris, 1900-2023): cleared distance within 0.02' for
// distances 15-120 degrees and altitudes above 10 degrees when the sight was made in the
// almanac's air (0.22' in the library's air: the two refraction laws differ at low
// altitude); UT within 2 s (3 s with altitudes from the DR) where the distance changes by
// 20' an hour or
// more (the sensitivity is given with every result). A distance changing by less than 5'
// an hour (near its least or greatest) is refused: it gives no time worth having.
LunarResult ClearLunar(const LunarObservation& obs, const LunarConditions& cond);

// Given: jdTT, TT Julian date; body, as above.
// Returned: the geocentric distance of the centres of the Moon and body (the angle
// between their apparent geocentric places), degrees; NaN for a body it does not know.
double GeocentricLunarDistance(double jdTT, LunarBody body);

// A body for a lunar on the working day.
struct LunarCandidate {
    LunarBody body = 0;
    std::string name;
    double distance = 0.0;           // geocentric, degrees, at the working instant
    double rateArcminPerHour = 0.0;  // its change, + when the Moon draws away
    double moonAlt = 0.0, bodyAlt = 0.0;  // topocentric airless altitudes at the DR
    bool suitable = false;           // 15-120 degrees apart and both above 10 degrees
    std::vector<double> everyThreeHours;  // geocentric distances at 0, 3, ..., 21 h UT
};

// Given: ut, the working instant (UT); lat, lon, the DR.
// Returned: the Sun, Venus, Mars, Jupiter, Saturn and the 57 navigational stars with
// their distances from the Moon (at ut and every three hours of ut's UT day), the
// suitable ones first, by distance from 60 degrees.
std::vector<LunarCandidate> PlanLunars(DateValue ut, double lat, double lon);
