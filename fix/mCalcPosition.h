// The fix from lines of position: up to four sextant sights, each reduced to an
// azimuth and an intercept from the dead-reckoning position at the sight's own
// instant, combined by one least-squares solution about the dead-reckoning
// position at the fix time, with the error ellipse of a one-minute intercept error.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "core/mBodyPosition.h"
#include "core/mSailing.h"
#include "core/mStar.h"
#include "core/mTime.h"
#include "core/mWorkingData.h"

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

// The name of a body code: the star's name, or "Sun" ... "Moon"; "" for none.
std::string BodyNameOfCode(BodyCode code);

// The four lines as entered; element i is "Line No." i + 1.
struct SightLines {
    std::array<BodyCode, 4> Body{{kNoBody, kNoBody, kNoBody, kNoBody}};
    std::array<std::string, 4> Time;      // UT time of day, "hh:mm:ss"
    std::array<std::string, 4> Altitude;  // sextant altitude, "dd-mm.m"
    std::array<bool, 4> LowerLimb{};      // the lower limb was brought to the horizon
};


// One sight reduced from a position: the navigator's workings, every number the
// details show. Angles in degrees unless said otherwise.
struct SightReduction {
    double GhaAries = 0.0;      // Greenwich hour angle of Aries, [0, 360)
    double Tau = 0.0;           // stars: sidereal hour angle 360 - alpha, [0, 360); else 0
    double Gha = 0.0;           // Greenwich hour angle of the body, [0, 360)
    double Lha = 0.0;           // local hour angle at the position, (-180, 180], west positive
    double Dec = 0.0;           // apparent declination
    double Distance = 0.0;      // AU (stars: the catalogue's parallax field)
    double Hs = 0.0;            // the sextant altitude reduced
    double IndexCorr = 0.0;     // i+s, arc minutes
    // CorrectSextantAltitude: H = Hs + i_s/60 - Dip; Ho = H - Refr - TP + SemiD + Parallax.
    double Dip = 0.0, H = 0.0, Refr = 0.0, TP = 0.0, Parallax = 0.0;
    double SemiD = 0.0;         // the Sun's and Moon's, negative for the upper limb; else 0
    double Ho = 0.0;            // observed altitude
    double Hc = 0.0, Az = 0.0;  // computed altitude, azimuth (Zn) [0, 360)
    double Intercept = 0.0;     // Ho - Hc, arc minutes (+ toward the body)
    double Preset = 0.0;        // the sextant altitude of a zero intercept (SextantAltitudeFor)
    // The sextant altitude that gives a zero intercept: the altitude to preset.
    double PresetHs() const;
};

// Course and distance from the dead-reckoning position to a fix (FixCourseDistance).
struct CourseDistance {
    double C = 0.0;     // true course, degrees [0, 360)
    double Dist = 0.0;  // nautical miles
};

// A fix: everything it was computed from and everything shown about it. The
// details, the summaries, the plot and the sight log read this record and
// compute nothing again. Angles in degrees; the entries of a line not in use stay 0.
struct FixResult {
    NavigationStateRecord Working;        // the working data as used (LocalDate: the fix time)
    SightLines Lines;                     // the lines in use, as typed (others empty)
    // Each line reduced from the DR position at its own instant (the navigator's
    // workings): LinePos the DR there, Reduction every step, and Hs, Hc, Az,
    // Intercept copied from it as the solution used them.
    std::array<DateValue, 4> LineTime{};  // UT instant of each sight
    std::array<LatLon, 4> LinePos{};      // dead-reckoning position at the sight's instant
    std::array<SightReduction, 4> Reduction{};
    std::array<double, 4> Hs{};           // sextant altitudes
    std::array<double, 4> Hc{};           // computed altitudes from the DR
    std::array<double, 4> Az{};           // azimuths from the DR, [0, 360) from north through east
    std::array<double, 4> Intercept{};    // from the DR: observed - computed, arc minutes (+ toward the body)
    std::array<double, 4> Weight{};       // 1 for a line that took part, 0 otherwise
    // What is left of each line at the fix: the final pass's intercept less the
    // pass's shift along the line's azimuth, arc minutes (0 for two lines).
    std::array<double, 4> Residual{};
    DateValue FixTime = 0.0;              // local date and time of the fix
    double DRLat = 0.0, DRLon = 0.0;      // dead-reckoning position at the fix time
    double FixLat = 0.0, FixLon = 0.0;    // the fix
    float EllipseA = 0.0f;                // semi-major axis, arc minutes (nautical miles)
    float EllipseB = 0.0f;                // semi-minor axis, arc minutes
    float EllipseAlpha = 0.0f;            // direction of the semi-major axis, [0, 180) from north through east
    CourseDistance FromDR;                // course and distance from the DR to the fix
    // The iteration: pass k + 1 reduced the lines from the previous pass's fix
    // (the first from the DR); PassShift[k] is how far pass k + 1 moved the
    // position, nautical miles. APLat, APLon: the last pass's assumed position.
    int Passes = 0;                       // 1: the one-pass fix
    std::array<double, 5> PassShift{};
    double APLat = 0.0, APLon = 0.0;
    // Why there is no fix: "" for a fix. A refused calculation names the line or
    // the arithmetic failure here, and the window shows it.
    std::string Refusal;
    bool Refused() const { return !Refusal.empty(); }
    bool Iterated() const { return Passes > 1; }
};

// The fix is repeated from its own result until it moves less than this, or for
// at most kMaxFixPasses passes.
inline constexpr double kFixConvergedNm = 0.01;
inline constexpr int kMaxFixPasses = 5;

// Given: code, a body code in use; ut, UT date-time of the sight; hs, sextant
// altitude, degrees; lowerLimb; lat, lon, the position reduced from, degrees;
// working, the working data (hEye, i_s, Temp, Pressure are used).
// Returned: every step, Intercept = Ho - Hc (arc minutes) with Ho from
// CorrectSextantAltitude: refraction at the apparent altitude, parallax for the Sun,
// the Moon and the planets, semidiameter for the Sun and the Moon. The one
// reduction of the position window. Throws ArithmeticFault.
SightReduction ReduceSight(BodyCode code, DateValue ut, double hs, bool lowerLimb, double lat, double lon,
                           const NavigationStateRecord& working);

// What a sight's reduction takes from the instant alone: the body's apparent
// geocentric place and the sidereal time's frame. A fix repeated about itself
// reduces each sight from several positions and computes this once.
struct SightPlace {
    BodyCode Code = kNoBody;
    double Jd = 0.0;          // TT Julian date of the sight
    Coord3 Equ;               // apparent (alpha, delta) of date, degrees; distance, AU (stars: StarParallax)
    double U = 0.0;           // UT Julian date, Jd - DeltaT
    ApparentFrame FrameU;     // FrameAt(U): the sidereal time's nutation
};
// Given: code, a body code in use; ut, UT date-time of the sight.
// Returned: the place, bit for bit what ReduceSight computes at ut. Throws ArithmeticFault.
SightPlace PlaceOfSight(BodyCode code, DateValue ut);
// The same for a star with the frame of a nearby instant (StarFrameAt) shared by
// a session's sights: the apparent place moves less than 0.02" in an hour
// (aberration 0.015", nutation and precession less), far below a sextant's 6".
SightPlace PlaceOfStarSight(BodyCode code, DateValue ut, const StarFrame& frame);
// Given: place of the sight; the rest as ReduceSight.
// Returned: ReduceSight's result from that place: the hour angles, altitude,
// azimuth and corrections at (lat, lon). Throws ArithmeticFault.
SightReduction ReduceSightAt(const SightPlace& place, double hs, bool lowerLimb, double lat, double lon,
                             const NavigationStateRecord& working);

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
// Effect: fix.FixLat, FixLon, EllipseA, EllipseB, EllipseAlpha and Refusal.
// dN = (Sss Scp - Scs Ssp)/G, dE = (Scc Ssp - Scs Scp)/G with G = Scc Sss - Scs^2;
// the semi-axes are the inverse square roots of the eigenvalues of the normal
// matrix (the ellipse of a one-minute intercept error, no residual scaling); the
// major axis lies 90 degrees from theta = atan2(2 Scs, Scc - Sss)/2, the direction
// of best determination. Equal axes give the angle 0. A step whose arithmetic
// fails (G = 0 for parallel lines, a negative square root, overflow) leaves its
// target as it was (DR position, zero axes) and its description goes to Refusal.
// A solution more than 90 degrees of arc from the DR position, or with a
// semi-major axis above 90 degrees (lines that hardly cross), is no fix either:
// DR position, zero axes and the reason in Refusal. A fix is always in
// [-90, 90] latitude and (-180, 180] longitude (past a pole, down the far meridian).
void SolveFix(const NormalSums& sums, FixResult& fix);

// Given: lines, the sights; working, the working data (LocalDate, TZ, Lat, Lon,
// Course, Speed, hEye, i_s, Temp, Pressure).
// Returned: the fix about the dead-reckoning position (Lat, Lon) at LocalDate,
// with the working data and the lines in the record. Each sight is reduced from
// the dead-reckoning position at its own instant: back from (Lat, Lon) by Speed *
// (UT of the fix - UT of the sight) nautical miles along the rhumb line of Course
// (RunAlongCourse). Intercept = Ho - Hc with Ho from CorrectSextantAltitude:
// refraction at the apparent altitude, parallax for the Sun, the Moon and the
// planets, semidiameter for the Sun and the Moon only. A sight's date is the UT
// date of the fix, or the next or previous one when that is within 12 hours.
// Refused (Refusal, naming the line) when a line's text does not convert, its
// altitude is 00-00.0 (never typed) or its reduction faults; refused with the
// reason when the lines do not fix a point.
// maxPasses > 1: the fix is computed again about its own result (the sights'
// positions moved back along the course from it) until a pass moves it less
// than kFixConvergedNm, at most maxPasses (clamped to kMaxFixPasses) passes; one
// pass leaves the curvature of the lines (about d^2 tan(h) / 2 R: 0.3' for a DR
// 20' off at 60 degrees, several minutes at 60' off). Whatever the passes, the
// lines of the record are those from the DR, and Residual what the last pass left.
FixResult CalcPosition(const SightLines& lines, const NavigationStateRecord& working, int maxPasses = 1);

// The calculate-position command without its window. Refused, naming the line:
// a line without a body whose time or altitude is not the load-time 00:00:00 /
// 00-00.0 (or empty), a line with a body and the altitude 00-00.0. Then lines
// in use are counted; with fewer than two the command is refused
// ("Insufficient number of lines."); otherwise the fix of the lines in use
// (iterate: of up to kMaxFixPasses passes; false, the one-pass method).
// Returned: the fix, or a record whose Refusal says why there is none; the
// window shows "Can not calculate position:" + CR LF + Refusal (CalcErrorText).
FixResult CalculatePositionCommand(const SightLines& lines, const NavigationStateRecord& working,
                                   bool iterate = true);
// The text of the message box of a refused fix: "Can not calculate position:"
// + CR LF + the refusal.
std::string CalcErrorText(const FixResult& fix);

// An intercept beyond this (arc minutes either way) means a dead reckoning that
// far out, or a wrong sight: the fix stands but is flagged.
inline constexpr double kLargeInterceptArcmin = 30.0;
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
// 270 west (north-west is 315, never negative). CalcPosition keeps it in FromDR.
CourseDistance FixCourseDistance(const FixResult& fix);
