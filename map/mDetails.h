// The numbers of the calculation details: every step of the reduction of one
// line of the last fix, computed again from the stored sight the same way the fix
// did. The details window only formats them.
#pragma once
#include <string>

#include "fix/mCalcPosition.h"

struct DetailsLine {
    bool InUse = false;
    bool IsStar = false;
    std::string Name;        // column header: StarName(StarIndex(number)) or the body's display name
    DateValue Time = 0.0;    // UT of the sight (LineTime)
    double GhaAries = 0.0;   // stars: Greenwich hour angle of Aries [0, 360), degrees
    double Tau = 0.0;        // stars: sidereal hour angle 360 - alpha, [0, 360)
    double Gha = 0.0;        // Greenwich hour angle of the body [0, 360)
    double Lon = 0.0;        // longitude the line was reduced from
    double Lha = 0.0;        // local hour angle in (-180, 180]: negative east, positive west
    double Dec = 0.0;        // apparent declination
    double Hs = 0.0;         // sextant altitude
    double IndexCorr = 0.0;  // i+s, arc minutes
    double Dip = 0.0;        // degrees
    double H = 0.0;          // Hs - dip + i_s/60
    double Refr = 0.0;       // mean refraction at H, degrees
    double Parallax = 0.0;   // degrees, at the centre's altitude (0 for the stars)
    double TP = 0.0;         // the temperature and pressure part of the refraction, degrees
    double SemiD = 0.0;      // degrees: the Sun's and the Moon's (augmented), negative for the upper limb; else 0
    double Ho = 0.0;         // Intercept/60 + Hc
    double Hc = 0.0;
    double Intercept = 0.0;  // arc minutes
    double Az = 0.0;         // [0, 360)
};

// Given: fix and lines, the last fix and its lines; i, 0..3; the present
// NavigationState (hEye, i_s, Temp, Pressure).
// Returned: the numbers of line i; InUse false (and nothing else) for a line whose
// Body is kNoBody.
DetailsLine ComputeDetailsLine(const FixResult& fix, const SightLines& lines, int i);
