// The numbers of the star map: which stars and bodies stand above the horizon
// at the dead-reckoning position and the work instant, and where each is drawn
// on the altitude-azimuth chart (zenith at the centre, horizon on the rim, north
// up, east to the right). The window layer turns them into marks and list items.
#pragma once
#include <string>
#include <vector>

#include "fix/mCalcPosition.h"
#include "reduction/mCorrection.h"

// The star choice of the map: the navigational list, the second list, or the
// stars brighter than a magnitude limit.
enum class StarChoice { NavStars = 0, MaeStars = 1, Magnitude = 2 };

struct MapMark {
    bool IsStar = false;
    int Tag = 0;          // star: the table index s (1..287); body: the display index k (0 Sun .. 8 Moon)
    BodyCode Code = 0;    // the line value: the star's Number, or -k
    std::string Name;     // StarName(s), or the body's display name
    double Alt = 0.0;     // computed altitude, degrees (> 0)
    double Az = 0.0;      // azimuth, degrees from north through east
};

// The text of a body list item: StarName of a star by its Number, "Planet: " and
// the display name of the Sun, a planet or the Moon; "" for a code that names none.
std::string BodyListText(BodyCode code);

// Given: jd TT; lat, lon the position, degrees; choice and (for Magnitude) the
// limit, a star is shown when its Magnitude is strictly below it.
// Returned: the chosen stars with an altitude strictly above 0, in ascending table
// index.
std::vector<MapMark> StarMarks(double jd, double lat, double lon, StarChoice choice, double magnitudeLimit);
// Returned: the Sun, planets and Moon (display order) with an altitude above 0.
std::vector<MapMark> BodyMarks(double jd, double lat, double lon);

// Given: altitude and azimuth, degrees; w, h the chart's width and height.
// Returned: the point (x, y), each rounded to the nearest integer (halves to
// even), with R = min(w, h)/2 rounded: x = w/2 + (1 - alt/90) R sin az,
// y = h/2 - (1 - alt/90) R cos az.
struct ChartPoint {
    int x = 0;
    int y = 0;
};
ChartPoint ChartPosition(double alt, double az, double w, double h);

// What the information box of a star mark shows: the star's magnitude and
// parallax as catalogued, its sidereal hour angle 360 - alpha and declination,
// the altitude a sextant would read (computed altitude + dip + refraction) and
// the azimuth, for the position and instant given. Degrees.
struct StarInfo {
    double Magnitude = 0.0;
    double Parallax = 0.0;
    double Tau = 0.0;
    double Dec = 0.0;
    double Altitude = 0.0;
    double Azimuth = 0.0;
};
StarInfo ComputeStarInfo(double jd, int tableIndex, double lat, double lon, double hEye);

// The same for the Sun, a planet or the Moon (display index k): the Greenwich hour
// angle, the expected sextant altitude (SextantAltitudeFor: of the lower limb of the
// Sun and the Moon, of a planet's centre; zero index correction), distance (AU) and
// the apparent diameter (arc minutes).
struct BodyInfo {
    double Gha = 0.0;
    double Dec = 0.0;
    double Altitude = 0.0;
    double Azimuth = 0.0;
    double Distance = 0.0;
    double DiameterArcmin = 0.0;
};
// A k outside 0..8 is reported as an invalid planet index and gives zeros.
// horizon: the height of eye and the air of the expected sextant altitude.
BodyInfo ComputeBodyInfo(double jd, int k, double lat, double lon, const Horizon& horizon);
