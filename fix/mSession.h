// The twilight session: any number of reduced sights combined into one fix.
// Sights of one body a few minutes apart form a series, fitted as one line of
// position against the body's computed change of altitude; the lines are solved
// by weighted least squares; each line (and each shot of a series) is tested
// against the others for a blunder; the fix carries the geometric ellipse of a
// one-minute sight error and the 95% region from its own residuals.
// Plain inputs, no global state.
#pragma once
#include <string>
#include <vector>

#include "fix/mCalcPosition.h"

// One sight reduced from the assumed position of the fix (moved back along the
// course to the sight's instant): the plain input of the solution.
struct SessionShot {
    BodyCode Body = kNoBody;
    double Minutes = 0.0;    // the sight's instant, minutes from any fixed UT instant
    double Az = 0.0;         // azimuth, degrees [0, 360)
    double Intercept = 0.0;  // Ho - Hc, arc minutes (+ toward the body)
    bool Use = true;         // false: left out by the navigator
};

// Shots of one body each within this many minutes of the one before are a series.
inline constexpr double kSeriesGapMinutes = 5.0;
// The smallest standard error a sight is credited with when the others agree
// better (rounding to 0.1'): a residual is never judged against less.
inline constexpr double kSightSigmaFloorArcmin = 0.1;
// A residual of this size or less is ordinary sextant work, never a blunder.
inline constexpr double kBlunderFloorArcmin = 1.0;
// The family-wise false-alarm rate of the blunder tests of one session (Bonferroni).
inline constexpr double kBlunderAlpha = 0.05;
// The probability of the residual ellipse.
inline constexpr double kRegionProbability = 0.95;

// An error ellipse: semi-axes in nautical miles (arc minutes), the major axis's
// true direction in degrees [0, 180).
struct ErrorEllipse {
    double A = 0.0, B = 0.0, Azimuth = 0.0;
};

// A line of position: one series of one or more shots of one body.
struct SessionLine {
    BodyCode Body = kNoBody;
    std::vector<int> Shots;          // indices into the input, in time order
    std::vector<double> ShotOffset;  // each shot's intercept minus the series mean, arc minutes
    double Minutes = 0.0;            // mean instant
    double Az = 0.0;                 // mean azimuth, degrees
    double Intercept = 0.0;          // mean intercept, arc minutes
    double Scatter = 0.0;            // standard deviation of one shot about the mean (2 shots or more), arc minutes
    int OutlierShot = -1;            // position in Shots of the shot that stands out, -1 none
    double OutlierShotT = 0.0;       // its studentised offset
    double Weight = 0.0;             // the number of shots: the mean of m sights weighs m
    double Residual = 0.0;           // intercept minus the fix's, arc minutes
    double Redundancy = 0.0;         // share of the line's own error that shows in its residual, 0..1
    double T = 0.0;                  // studentised residual (0 when it cannot be tested)
    bool Outlier = false;            // the line does not fit the others
    std::vector<int> CannotTellFrom; // lines equally likely to be the blunder
};

// The fix with a line, or one shot of a series, left out.
struct FixWithout {
    int Line = -1;  // the line
    int Shot = -1;  // the input index of the shot left out; -1: the whole line
    bool Ok = false;
    double dN = 0.0, dE = 0.0;  // arc minutes from the assumed position
};

struct SessionSolution {
    std::string Refusal;  // "" with a fix
    double dN = 0.0, dE = 0.0;  // the fix, arc minutes north and east of the assumed position
    std::vector<SessionLine> Lines;
    int ShotsUsed = 0;
    int Dof = 0;              // shots used - 2
    double Sigma = 0.0;       // the observed standard error of one sight, arc minutes (0 when Dof is 0)
    ErrorEllipse Geometric;   // for a one-minute sight error (a series of m shots weighs m)
    bool HasRegion = false;   // Dof >= 1
    ErrorEllipse Region95;    // the 95% region from the residuals: Geometric x Sigma x sqrt(2 F_0.95(2, Dof))
    std::vector<FixWithout> Without;  // one per flagged line or shot
};

// Given: the reduced sights (any number, in any order).
// Returned: the solution about the assumed position, or the refusal
// (kInsufficientLines with fewer than two lines; lines that do not cross).
// Tests: a shot of a series of 3 or more whose offset from the other shots' mean,
// over their scatter (at least kSightSigmaFloorArcmin) times sqrt(1 + 1/(m-1)),
// exceeds Student's t quantile 1 - kBlunderAlpha/(2m) with m - 2 degrees of
// freedom, and is more than kBlunderFloorArcmin; a line whose residual over its
// standard error from all the other sights (externally studentised, floor as
// above) exceeds t at 1 - kBlunderAlpha/(2 lines) with the remaining degrees of
// freedom, and is itself beyond kBlunderFloorArcmin, with a redundancy of 0.05
// or more (a line the fix cannot do without cannot be tested). Two flagged lines
// whose normalised residuals agree within 10% cannot be told apart.
SessionSolution SolveSession(const std::vector<SessionShot>& shots);

// Given: the ellipse of a one-minute sight error; sigma, arc minutes; dof >= 1.
// Returned: the 95% region: both axes times sigma sqrt(2 F_0.95(2, dof)).
ErrorEllipse ScaledRegion(const ErrorEllipse& geometric, double sigma, int dof);
// Given: an ellipse and a point dN, dE (arc minutes from its centre).
// Returned: true when the point lies inside or on it.
bool EllipseHolds(const ErrorEllipse& e, double dN, double dE);

// Given: computerUT, the computer clock's reading as a UT date-time; clockErrorSeconds,
// how far the computer is fast (+) or slow (-).  Returned: the true UT of the mark.
DateValue MarkUT(DateValue computerUT, double clockErrorSeconds);
