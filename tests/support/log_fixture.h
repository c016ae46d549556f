// A logged fix for the sight-log and GPX tests: up to four sights (Sun and Moon with a
// limb, a star and a planet) whose numbers have no short decimal form.
#pragma once
#include <cmath>
#include <string>

#include "log/mSightLog.h"

namespace testsupport {

inline LoggedFix SampleFix(DateValue ut = 45269.123456789012, int sights = 4, double lat = -43.1 - 1e-13,
                           double lon = -179.99) {
    LoggedFix f;
    f.UT = ut;
    f.ZoneTime = ut + 3.0 / 24.0;
    f.Working = {f.ZoneTime, 3.0f, -43.0 - 1.0 / 7.0, 179.99999999999997, 359.9f, 12.3f, -1.7f, 1013.25f, 2.1f, -0.3f};
    f.DRLat = f.Working.Lat;
    f.DRLon = f.Working.Lon;
    f.FixLat = lat;
    f.FixLon = lon;
    f.EllipseA = 1.0 / 3.0;
    f.EllipseB = 0.1f;
    f.EllipseAlpha = 179.95;
    f.CourseFromDR = -50.8;
    f.DistanceFromDR = std::sqrt(2.0);
    f.Passes = 3;
    f.PassShift = {59.8123456789, 0.2051, 1e-7};
    f.Version = "0.1.0";
    f.Note = "Off Cape Agulhas, \"heavy\" swell; ±0.5'";
    const BodyCode bodies[4] = {0, 1017, -8, -4};
    const char* names[4] = {"Sun", "Mirfak", "Moon", "Jupiter"};
    for (int i = 0; i < sights; ++i) {
        LoggedSight s;
        s.Line = i + 1;
        s.Body = bodies[i];
        s.BodyName = names[i];
        s.TimeText = "06:0" + std::to_string(i) + ":37";
        s.AltitudeText = "1" + std::to_string(i) + "-54.0";
        s.LowerLimb = i < 2;
        s.UT = f.UT - i / 1440.0;
        s.Hs = 10.9 + i;
        s.Hc = 10.0 + i + 1.0 / 3.0;
        s.Zn = 359.99 - i * 90.0;
        s.Intercept = -1.234567890123 * i;
        s.Lat = f.DRLat - i / 7.0;
        s.Lon = f.DRLon - i / 9.0;
        s.Gha = 123.456789 * i;
        s.Dec = -23.4 + i / 3.0;
        s.Dip = 2.55 / 60.0;
        s.Refr = 4.9 / 60.0 + i;
        s.TP = -0.01 * i;
        s.SemiD = i % 2 ? 0.0 : 16.2 / 60.0;
        s.Parallax = i == 2 ? 0.9 : 0.0;
        s.Ho = s.Hs - s.Dip - s.Refr - s.TP + s.SemiD + s.Parallax;
        s.Residual = 0.1 / 3.0 * i;
        f.Sights.push_back(s);
    }
    return f;
}

}  // namespace testsupport
