#include "map/mWorkForm.h"

#include <cmath>

#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mTime.h"

namespace {
constexpr double kSunRate = 15.0, kMoonRate = 14.0 + 19.0 / 60.0;  // the almanac's increments, degrees per hour
constexpr double kAriesRate = 360.98564736629 / 24.0;
constexpr int kMoonId = 9;
double Wrap180(double x) { return x - 360.0 * std::floor((x + 180.0) / 360.0); }
}  // namespace

WorkForm MakeWorkForm(const FixResult& fix, const SightLines& lines, const NavigationStateRecord& working) {
    WorkForm w;
    w.fix = fix;
    w.working = working;
    for (int i = 0; i < 4; ++i) {
        WorkFormLine& L = w.lines[static_cast<size_t>(i)];
        L.d = ComputeDetailsLine(fix, lines, i);
        if (!L.d.InUse) continue;
        const long long secs = std::llround(L.d.Time * 86400.0);
        const long long hourSecs = secs - ((secs % 3600) + 3600) % 3600;
        L.hour = static_cast<double>(hourSecs) / 86400.0;
        L.minutes = static_cast<int>((secs - hourSecs) / 60);
        L.seconds = static_cast<int>((secs - hourSecs) % 60);
        const double dtHours = (L.d.Time - L.hour) * 24.0;
        const double jdH = JulianDay(L.hour, false, false);
        const double ariesHour = Norm360(SiderealTime(jdH, 0.0));
        if (L.d.IsStar) {
            L.ghaHour = ariesHour;
            L.increment = kAriesRate * dtHours;
            L.vCorr = Wrap180(L.d.GhaAries - ariesHour - L.increment) * 60.0;
            L.decHour = L.d.Dec;
        } else {
            const int id = BodyIdOfCode(lines.Body[static_cast<size_t>(i)]);
            const Coord3 p = BodyPosition(jdH, id);
            L.ghaHour = Norm360(ariesHour - p.x);
            L.increment = (id == kMoonId ? kMoonRate : kSunRate) * dtHours;
            L.vCorr = Wrap180(L.d.Gha - L.ghaHour - L.increment) * 60.0;
            L.decHour = p.y;
            L.dCorr = (L.d.Dec - p.y) * 60.0;
        }
    }
    return w;
}
