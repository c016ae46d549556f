// The fix from lines of position: up to four sextant sights, each reduced to an
// azimuth and an intercept from the dead-reckoning position at the sight's own
// instant, combined by one least-squares solution about the dead-reckoning
// position at the fix time, with the error ellipse of a one-minute intercept error.
#pragma once
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/mBodyPosition.h"
#include "core/mSailing.h"
#include "core/mTime.h"

// The body of a line (the item value of a line's body list):
//   <= kNoBody : line not in use;
//   > 0        : a star, by its catalogue number;
//   0 and below: the Sun, a planet or the Moon as minus its display index k
//                ("Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus",
//                "Neptune", "Moon": 0 = Sun, -8 = Moon).
using BodyCode = int;
inline constexpr BodyCode kNoBody = -9999;

inline bool LineInUse(BodyCode code) { return code > kNoBody; }
inline bool IsStarCode(BodyCode code) { return code > 0; }
// The Sun and the Moon are observed by a limb; planets and stars by their centre.
inline bool HasLimb(BodyCode code) { return code == 0 || code == -8; }
// The BodyPosition number of a Sun/planet/Moon code -k (k = 0..8): k for k <= 2,
// k + 1 beyond (the Earth, 3, has no display entry). Any other code gives -1,
// which BodyPosition reports as an invalid planet index.
inline int BodyIdOfCode(BodyCode code) { return code <= 0 && code >= -8 ? BodyIdOfListIndex(-code) : -1; }

// The four lines as entered; element i is "Line No." i + 1.
struct SightLines {
    std::array<BodyCode, 4> Body{{kNoBody, kNoBody, kNoBody, kNoBody}};
    std::array<std::string, 4> Time;      // UT time of day, "hh:mm:ss"
    std::array<std::string, 4> Altitude;  // sextant altitude, "dd-mm.m"
    std::array<bool, 4> LowerLimb{};      // the lower limb was brought to the horizon
};


// The product of CalcPosition. Angles in degrees; entries of a line not in use stay 0.
struct FixResult {
    std::array<DateValue, 4> LineTime{};  // UT instant of each sight
    std::array<LatLon, 4> LinePos{};      // dead-reckoning position at the sight's instant
    std::array<double, 4> Hs{};           // sextant altitudes
    std::array<double, 4> Hc{};           // computed altitudes
    std::array<double, 4> Az{};           // azimuths, [0, 360) from north through east
    std::array<double, 4> Intercept{};    // observed - computed, arc minutes (+ toward the body)
    std::array<double, 4> Weight{};       // 1 for a line that took part, 0 otherwise
    DateValue FixTime = 0.0;              // local date and time of the fix
    double DRLat = 0.0, DRLon = 0.0;      // dead-reckoning position at the fix time
    double FixLat = 0.0, FixLon = 0.0;    // the fix
    float EllipseA = 0.0f;                // semi-major axis, arc minutes (nautical miles)
    float EllipseB = 0.0f;                // semi-minor axis, arc minutes
    float EllipseAlpha = 0.0f;            // direction of the semi-major axis, [0, 180) from north through east
    std::string Message;                  // "" when the solution ran without an arithmetic failure
    // The iteration: the lines above are those of the last pass, reduced from APLat,
    // APLon (the DR position for the first pass, the previous pass's fix after it);
    // PassShift[k] is how far pass k moved the position, nautical miles.
    double APLat = 0.0, APLon = 0.0;
    int Passes = 0;
    std::array<double, 4> DRIntercept{};  // the first pass's intercepts: from the DR position
    std::array<double, 5> PassShift{};
};

// The fix is repeated from its own result until it moves less than this, or for
// at most kMaxFixPasses passes.
inline constexpr double kFixConvergedNm = 0.01;
inline constexpr int kMaxFixPasses = 5;

// One sight reduced from a position: every correction the details show.
struct SightReduction {
    double Hc = 0.0, Az = 0.0;  // computed altitude, azimuth [0, 360), degrees
    double Dec = 0.0;           // apparent declination, degrees
    double Distance = 0.0;      // AU (stars: the catalogue's parallax field)
    double Dip = 0.0, Refr = 0.0, TP = 0.0, Parallax = 0.0;  // degrees (CorrectSextantAltitude)
    double SemiD = 0.0;         // degrees: the Sun's and Moon's, negative for the upper limb; else 0
    double Hs = 0.0;            // the sextant altitude reduced, degrees
    double Intercept = 0.0;     // Ho - Hc, arc minutes (+ toward the body)
    double Preset = 0.0;        // the sextant altitude of a zero intercept (SextantAltitudeFor), degrees
    // The sextant altitude that gives a zero intercept: the altitude to preset.
    double PresetHs() const;
};

// Given: code, a body code in use; ut, UT date-time of the sight; hs, sextant
// altitude, degrees; lowerLimb; lat, lon, the position reduced from, degrees;
// NavigationState hEye, i_s, Temp, Pressure.
// Returned: Intercept = Ho - Hc (arc minutes) with Ho from CorrectSextantAltitude:
// refraction at the apparent altitude, parallax for the Sun, the Moon and the planets,
// semidiameter for the Sun and the Moon. The one reduction of the position window.
// Throws ArithmeticFault.
SightReduction ReduceSight(BodyCode code, DateValue ut, double hs, bool lowerLimb, double lat, double lon);

// A line that cannot be reduced: its text does not convert, or its reduction
// meets an arithmetic fault. The text names the line ("Line No. 2: ...").
class SightLineError : public std::runtime_error {
public:
    explicit SightLineError(const std::string& what) : std::runtime_error(what) {}
};

// Given: text, a sextant altitude "dd-mm.m": two degree digits, one separator,
// minutes with "." or "," as the decimal separator.
// Returned: false when it does not convert, the minutes are 60 or more or the
// altitude is above 90 degrees; else true with degrees = dd + mm.m / 60.
bool ParseSightAltitude(const std::string& text, double& degrees);

// The normal equations of the least-squares fix: for a line of azimuth a and
// intercept p (arc minutes) with weight w, c = cos a and s = sin a.
struct NormalSums {
    double Scc = 0.0, Scs = 0.0, Sss = 0.0, Scp = 0.0, Ssp = 0.0;
    void Add(double azimuthDeg, double intercept, double weight);
};

// Given: sums of the lines; fix.DRLat / fix.DRLon set.
// Effect: fix.FixLat, FixLon, EllipseA, EllipseB, EllipseAlpha and Message.
// dN = (Sss Scp - Scs Ssp)/G, dE = (Scc Ssp - Scs Scp)/G with G = Scc Sss - Scs^2;
// the semi-axes are the inverse square roots of the eigenvalues of the normal
// matrix (the ellipse of a one-minute intercept error, no residual scaling); the
// major axis lies 90 degrees from theta = atan2(2 Scs, Scc - Sss)/2, the direction
// of best determination. Equal axes give the angle 0. A step whose arithmetic
// fails (G = 0 for parallel lines, a negative square root, overflow) leaves its
// target as it was (DR position, zero axes) and its description goes to Message.
// A solution more than 90 degrees of arc from the DR position, or with a
// semi-major axis above 90 degrees (lines that hardly cross), is no fix either:
// DR position, zero axes and the reason in Message. A fix is always in
// [-90, 90] latitude and (-180, 180] longitude (past a pole, down the far meridian).
void SolveFix(const NormalSums& sums, FixResult& fix);

// Given: lines, the sights; the working data of NavigationState (LocalDate, TZ,
// Lat, Lon, Course, Speed, hEye, i_s; Temp and Pressure through RefractionTP).
// Returned: the fix about the dead-reckoning position (Lat, Lon) at LocalDate.
// Each sight is reduced from the dead-reckoning position at its own instant: back
// from (Lat, Lon) by Speed * (UT of the fix - UT of the sight) nautical miles along
// the rhumb line of Course (RunAlongCourse). Intercept = Ho - Hc with Ho from
// CorrectSextantAltitude: refraction at the apparent altitude, parallax for the Sun,
// the Moon and the planets, semidiameter for the Sun and the Moon only.
// A sight's date is the UT date of the fix. Throws SightLineError (naming the
// line) when a line's text does not convert, its altitude is 00-00.0 (never
// typed) or its reduction faults.
// maxPasses > 1: the fix is computed again about its own result (the sights'
// positions moved back along the course from it) until a pass moves it less
// than kFixConvergedNm, at most maxPasses (clamped to kMaxFixPasses) passes; one
// pass leaves the curvature of the lines (about d^2 tan(h) / 2 R: 0.3' for a DR
// 20' off at 60 degrees, several minutes at 60' off).
FixResult CalcPosition(const SightLines& lines, int maxPasses = 1);

// The calculate-position command without its window. Refused, naming the line:
// a line without a body whose time or altitude is not the load-time 00:00:00 /
// 00-00.0 (or empty), a line with a body and the altitude 00-00.0. Then lines
// in use are counted; with fewer than two the command is refused
// ("Insufficient number of lines."); a SightLineError or a fix with a Message
// refuses it too. Otherwise LastFix = CalcPosition(lines), LastSightLines = the
// lines in use and LastFixFailure is cleared. Returned: the text of the message
// box to show (title "Calculation error"), "" for none: "Can not calculate
// position:" + CR LF + the reason. A refused command leaves LastFix and
// LastSightLines untouched (the last good fix) and puts the reason in
// LastFixFailure. iterate: the fix of up to kMaxFixPasses passes; false, the
// one-pass method.
std::string CalculatePositionCommand(const SightLines& lines, bool iterate = true);

// An intercept beyond this (arc minutes either way) means a dead reckoning that
// far out, or a wrong sight: the fix stands but is flagged.
inline constexpr double kLargeInterceptArcmin = 30.0;
// The intercept of line i from the DR position: the first pass's (Intercept for a
// result not made by CalcPosition, Passes 0).
double InterceptFromDR(const FixResult& fix, int i);
// The lines (0..3) of the fix that took part with an intercept from the DR beyond it.
std::vector<int> LargeInterceptLines(const FixResult& fix);

inline constexpr const char* kCalcErrorTitle = "Calculation error";
inline constexpr const char* kCalcErrorHead = "Can not calculate position:";
inline constexpr const char* kInsufficientLines = "Insufficient number of lines.";

// Course and distance from the dead-reckoning position to the fix, as the fix
// summaries show them. dLat = FixLat - DRLat, dEast = (FixLon - DRLon) cos(mean
// latitude) (the departure, in degrees of a great circle), distance =
// 60 sqrt(dLat^2 + dEast^2) nautical miles, course =
// the true course of that line, degrees [0, 360): 0 north, 90 east, 180 south,
// 270 west (north-west is 315, never negative).
struct CourseDistance {
    double C = 0.0;
    double Dist = 0.0;
};
CourseDistance FixCourseDistance(const FixResult& fix);
