// Before and around the sights: the twilight sight plan (which bodies to shoot and
// what the sextant will read), local apparent noon for a moving ship with the
// latitude from the Sun's meridian altitude, and the latitude by Polaris. Every
// altitude and azimuth comes from ReduceSight, the reduction of the position window.
#pragma once
#include <string>
#include <vector>

#include "core/mTime.h"
#include "fix/mCalcPosition.h"
#include "reduction/mCorrection.h"

// ------------------------------------------------------------ dead reckoning
// Given: from (degrees), course (degrees true), speed (knots), hours (may be negative).
// Returned: the position run speed * hours nautical miles along the rhumb line of
// the course (RunAlongCourse of fix/mSailing.h, the fix's dead reckoning), brought
// back over a pole and into (-180, 180] longitude.
LatLon RunAlongCourse(const LatLon& from, double course, double speed, double hours);

// ------------------------------------------------------------ twilight plan
struct TwilightPlan {
    std::string Message;           // "" when both twilights were found; else why not
    DateValue Nautical = 0.0;      // UT: the Sun's centre at -12 degrees
    DateValue Civil = 0.0;         // UT: at -6 degrees
    DateValue Observe = 0.0;       // UT: the middle of the two, the recommended time
    LatLon Position;               // the DR at Observe
};
// Given: morning (true) or evening twilight; fromUt, the instant the search starts
// (the first twilight in the 24 hours after it); dr, the DR at drUt; course, speed;
// horizon, the height of eye and the air.
// Returned: the twilight times at the DR moved along the course to each (rigorous
// method of the rise and set window, three passes so the ship's run is allowed for).
TwilightPlan PlanTwilight(bool morning, DateValue fromUt, const LatLon& dr, DateValue drUt, double course,
                          double speed, const Horizon& horizon);

// ------------------------------------------------------------ bodies in view
inline constexpr double kPlanMinAltitudeDeg = 15.0;
inline constexpr double kPlanMaxAltitudeDeg = 75.0;
inline constexpr double kPlanGoodMinDeg = 30.0;  // preferred altitudes
inline constexpr double kPlanGoodMaxDeg = 70.0;

struct PlanBody {
    BodyCode Code = kNoBody;
    std::string Name;
    double Hc = 0.0, Zn = 0.0;  // degrees, the position window's reduction
    double Magnitude = 0.0;     // visual
    double PresetHs = 0.0;      // the sextant altitude (lower limb) that gives a zero intercept
};
// Given: jd TT; body a BodyId 2, 4, 5, 6 (Venus, Mars, Jupiter, Saturn) or 9 (the Moon).
// Returned: visual magnitude from the distances and the phase angle (Astronomical
// Almanac 1984 formulae as in Meeus, Astronomical Algorithms ch. 41; Saturn without
// its rings, up to 0.5 mag bright; the Moon -12.73 + 0.026 i + 4e-9 i^4).
double PlanetMagnitude(double jd, int body);
// Given: ut; the position (lat, lon); working, the eye, index correction and air
// of the reduction. Returned: every navigational star (Polaris
// included), Venus, Mars, Jupiter, Saturn and the Moon with Hc in [15, 75] degrees,
// ordered by azimuth. Throws ArithmeticFault from the reduction.
std::vector<PlanBody> BodiesInView(DateValue ut, double lat, double lon, const NavigationStateRecord& working);

// ------------------------------------------------------------ best sets
struct BodySet {
    std::vector<int> Index;   // into the candidates, by azimuth; empty when too few
    double Score = 0.0;       // lower is better
    std::string Explanation;  // "Zn spread 118°/122°/120°, all above 28°, mag -1.4 to 1.3"
};
// Given: candidates (BodiesInView); count 3 or 4.
// Returned: the set of `count` bodies with the least score = 0.5 x the sum over the
// azimuth gaps (by azimuth, round the horizon) of |gap - 360/count| degrees + 2 x
// the degrees by which each altitude leaves 30..70 + 5 per magnitude fainter than 1.
BodySet BestBodySet(const std::vector<PlanBody>& candidates, int count);
double BodySetScore(const std::vector<PlanBody>& bodies);

// The sights of a chosen set, 2 minutes apart centred on the whole minute of UT
// nearest the observing time (so every time is a whole minute), each
// with its preset sextant altitude from the DR run to its own instant.
struct PlannedSight {
    BodyCode Code = kNoBody;
    DateValue Ut = 0.0;
    double PresetHs = 0.0;
};
std::vector<PlannedSight> PlanSights(const std::vector<PlanBody>& candidates, const BodySet& set, DateValue observeUt,
                                     const LatLon& drAtObserve, double course, double speed,
                                     const NavigationStateRecord& working);

// ------------------------------------------------------------ noon
struct NoonTime {
    std::string Message;  // "" when found
    DateValue Ut = 0.0;   // UT of the Sun's upper meridian passage at the moving ship
    LatLon Position;      // the DR at that instant (its longitude is the longitude at noon)
    double Dec = 0.0;     // the Sun's apparent declination, degrees
};
// Given: zoneDay, the local zone date (its fraction is ignored); dr at drUt;
// course, speed. Returned: the instant the Sun's local hour angle at the ship is
// zero nearest the local mean noon of that date (on the zone day whenever the zone
// is within 11 hours of the longitude's time), by Newton steps on the hour angle (rate 360.9856 -
// 0.9856 deg/day + the ship's change of longitude) to 0.01 s.
NoonTime LocalApparentNoon(DateValue zoneDay, const LatLon& dr, DateValue drUt, double course,
                           double speed);

struct MeridianLatitude {
    std::string Message;  // "" when found
    double Lat = 0.0;     // degrees
    double Ho = 0.0;      // observed altitude (= Hc at the latitude found), degrees
    double Zenith = 0.0;  // 90 - Ho, degrees
    bool BodyNorth = false;  // the body bore north at the meridian
    SightReduction R;     // the corrections at the latitude found
};
// Given: noon (LocalApparentNoon); hs, the sextant altitude of the Sun, degrees;
// lowerLimb; the DR latitude noon.Position.Lat as the start; working (hEye, i_s, air).
// Returned: the latitude at which the position window's reduction of the sight on
// noon.Position.Lon at noon.Ut gives a zero intercept (Lat = Dec +- (90 - Ho)).
MeridianLatitude NoonLatitude(const NoonTime& noon, double hs, bool lowerLimb, const NavigationStateRecord& working);

// ------------------------------------------------------------ Polaris
inline constexpr int kPolarisNumber = 424;  // HR 424, Alpha Ursae Minoris
struct PolarisLatitude {
    std::string Message;     // "" when found; else why there is no latitude
    double Lat = 0.0;        // degrees
    double Ho = 0.0;         // observed altitude, degrees
    double Correction = 0.0; // Lat - Ho, arc minutes (the almanac's a0 + a1 + a2 - 60')
    SightReduction R;        // the reduction at the latitude found
};
// Given: ut of the sight; hs, sextant altitude, degrees; dr (its longitude is used,
// its latitude is the start and must be north); working (hEye, i_s, air).
// Returned: the latitude whose computed altitude of Polaris' apparent place (the
// position window's reduction) equals the observed one, by Newton steps to 1e-6'.
// Messages: a DR south of the equator, an altitude that puts Polaris below the
// horizon, Polaris missing from the catalogue.
PolarisLatitude LatitudeByPolaris(DateValue ut, double hs, const LatLon& dr, const NavigationStateRecord& working);
