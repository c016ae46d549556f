// Which star or planet was that: the bodies near an observed altitude and a
// compass bearing at the dead-reckoning position.
#pragma once
#include <string>
#include <vector>

#include "fix/mCalcPosition.h"

// The expected errors the nearness is measured in: an altitude guessed from an
// uncorrected sextant reading, a bearing from a hand compass.
inline constexpr double kIdentifyAltErrorDeg = 0.5;
inline constexpr double kIdentifyAzErrorDeg = 3.0;
// Bodies farther off than this in altitude or in azimuth are not listed.
inline constexpr double kIdentifyAltWindowDeg = 3.0;
inline constexpr double kIdentifyAzWindowDeg = 15.0;

struct IdentifyCandidate {
    BodyCode Code = kNoBody;
    std::string Name;          // the star's proper name (its full name when it has none), the planet's
    double Altitude = 0.0;     // computed altitude Hc, degrees
    double Azimuth = 0.0;      // degrees [0, 360)
    double Nearness = 0.0;     // sqrt((dh / kIdentifyAltErrorDeg)^2 + (dZ / kIdentifyAzErrorDeg)^2)
};

// Given: ut, UT date-time; lat, lon, the position, degrees; altitude, the observed
// altitude (Ho: the sextant's corrected for index, dip and refraction), degrees;
// azimuth, the true bearing, degrees.
// Returned: the navigational stars (and Polaris) and Venus, Mars, Jupiter and Saturn
// within the windows above, nearest first. Star places from StarPosition, planets'
// from BodyPosition, both seen through AltAzimuth.
std::vector<IdentifyCandidate> IdentifyBody(DateValue ut, double lat, double lon, double altitude, double azimuth);

// The same from a sextant reading: hs, degrees, corrected for the index correction
// (arc minutes), the dip of the height of eye (metres) and the refraction to an
// observed altitude good to a minute or two (no semidiameter or parallax: a
// stranger is a star or a planet).
std::vector<IdentifyCandidate> IdentifyFromSextant(DateValue ut, double lat, double lon, double hs, double indexArcmin,
                                                   double heightOfEye, double bearing);
