// A logged fix for the sight-log and GPX tests: up to four sights (Sun and Moon with a
// limb, a star and a planet) whose numbers have no short decimal form.
#pragma once
#include <cmath>
#include <string>

#include "log/mSightLog.h"

namespace testsupport {

inline LoggedFix SampleFix(DateValue ut = 45269.123456789012, int sights = 4, double lat = -43.1 - 1e-13,
                           double lon = -179.99, const std::string& note = "Off Cape Agulhas, \"heavy\" swell; ±0.5'") {
    const NavigationStateRecord w{ut + 3.0 / 24.0, 3.0f,  -43.0 - 1.0 / 7.0, 179.99999999999997, 359.9f,
                                  12.3f,           -1.7f, 1013.25f,          2.1f,               -0.3f};
    // Id, UT, zone time, working data, DR, fix, ellipse, course and distance from the DR,
    // passes and their shifts, version, note.
    LoggedFix f{0,    ut,       w.LocalDate,      w,  w.Lat,          w.Lon, lat, lon, 1.0 / 3.0, 0.1f, 179.95, -50.8,
                std::sqrt(2.0), 3, {59.8123456789, 0.2051, 1e-7}, "0.1.0", note, {}};
    const BodyCode bodies[4] = {0, 1017, -8, -4};
    const char* names[4] = {"Sun", "Mirfak", "Moon", "Jupiter"};
    for (int i = 0; i < sights; ++i) {
        const double hs = 10.9 + i, dip = 2.55 / 60.0, refr = 4.9 / 60.0 + i, tp = -0.01 * i,
                     semiD = i % 2 ? 0.0 : 16.2 / 60.0, px = i == 2 ? 0.9 : 0.0;
        // Line, body, times and altitude as typed, limb, UT, Hs; DR, GHA and dec; the corrections
        // and Ho; Hc, Zn, intercept, residual.
        f.Sights.push_back({i + 1, bodies[i], names[i], "06:0" + std::to_string(i) + ":37",
                            "1" + std::to_string(i) + "-54.0", i < 2, ut - i / 1440.0, hs, w.Lat - i / 7.0,
                            w.Lon - i / 9.0, 123.456789 * i, -23.4 + i / 3.0, dip, refr, tp, semiD, px,
                            hs - dip - refr - tp + semiD + px, 10.0 + i + 1.0 / 3.0, 359.99 - i * 90.0,
                            -1.234567890123 * i, 0.1 / 3.0 * i});
    }
    return f;
}

}  // namespace testsupport
