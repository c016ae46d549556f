// The session's fix from the sextant readings: every sight reduced from the
// dead-reckoning position run back along the course to its instant, solved by
// SolveSession, and repeated about the fix until it stands still.
#pragma once
#include <vector>

#include "fix/mSession.h"

// One sight as taken.
struct SessionSight {
    BodyCode Body = kNoBody;
    DateValue UT = 0.0;     // UT date-time of the sight
    double Hs = 0.0;        // sextant altitude, degrees
    bool LowerLimb = true;  // the Sun's and the Moon's lower limb (the upper one otherwise)
    bool Use = true;        // false: kept in the list, left out of the fix
    int Number = 0;         // the sight's number as the navigator entered it (its row), 1-based;
                            // 0: its place in the list
};
// The number a session's sight i goes by: its Number, or i + 1.
inline int SightNumber(const SessionSight& s, size_t i) { return s.Number > 0 ? s.Number : static_cast<int>(i) + 1; }

// What the reduction and the run between the sights depend on.
struct SessionConditions {
    DateValue FixUT = 0.0;           // UT date-time of the fix
    double DRLat = 0.0, DRLon = 0.0; // dead-reckoning position at FixUT, degrees (north, east positive)
    double Course = 0.0;             // degrees true
    double Speed = 0.0;              // knots
    double Temp = 10.0;              // air temperature, degrees Celsius
    double Pressure = 1010.0;        // air pressure, millibars
    double HeightOfEye = 0.0;        // metres
    double IndexArcmin = 0.0;        // index correction i_s, arc minutes
};

inline constexpr double kSessionConvergedNm = 0.0005;
inline constexpr int kMaxSessionPasses = 8;

struct SessionFix {
    SessionConditions Conditions;
    std::vector<SessionSight> Sights;
    std::vector<SightReduction> Reduced;  // each sight reduced from the last pass's assumed position
    std::vector<LatLon> LinePos;          // that position moved back to the sight's instant
    // The first pass: each sight reduced from the dead-reckoning position run back
    // to its instant (the navigator's workings; Intercept is the intercept from the DR).
    std::vector<SightReduction> ReducedDR;
    std::vector<LatLon> LinePosDR;
    std::vector<double> ShotResidual;     // each used sight's intercept minus the fix's, arc minutes
    std::vector<int> ShotLine;            // the line (series) of each used sight, -1 for a sight left out
    std::vector<bool> ShotOutlier;        // the sight stands out in its series or its line does not fit
    SessionSolution Solution;             // about APLat, APLon
    double APLat = 0.0, APLon = 0.0;      // the last pass's assumed position
    int Passes = 0;
    std::string Refusal;                  // "" with a fix: a sight that does not reduce, or Solution.Refusal
    double FixLat = 0.0, FixLon = 0.0;    // degrees
    std::vector<LatLon> WithoutPos;       // the fix of each Solution.Without entry (DR position when it failed)
};

// Given: the sights; the conditions (nothing else is read).
// Returned: the fix, or the refusal naming the sight ("Sight 3: ...") or the reason.
// A sight's intercept is Ho - Hc with Ho from CorrectSextantAltitude (ReduceSight).
// Passes until the fix moves less than kSessionConvergedNm, at most maxPasses.
SessionFix CalcSession(const std::vector<SessionSight>& sights, const SessionConditions& c,
                       int maxPasses = kMaxSessionPasses);
// Degrees of a point dN, dE arc minutes from (lat, lon), folded into the usual ranges.
LatLon OffsetPosition(double lat, double lon, double dN, double dE);
