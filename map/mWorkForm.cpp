#include "map/mWorkForm.h"

#include <cmath>

#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mTime.h"

namespace {
constexpr double kSunRate = 15.0, kMoonRate = 14.0 + 19.0 / 60.0;  // the almanac's increments, degrees per hour
constexpr double kAriesRate = 360.98564736629 / 24.0;
constexpr int kMoonId = 9;
}  // namespace

WorkForm MakeWorkForm(const FixResult& fix) {
    WorkForm w;
    w.fix = fix;
    for (size_t i = 0; i < 4; ++i) {
        WorkFormLine& L = w.lines[i];
        const BodyCode code = fix.Lines.Body[i];
        if (!LineInUse(code) || !(fix.Weight[i] > 0.0)) continue;
        L.InUse = true;
        L.IsStar = IsStarCode(code);
        L.Name = BodyNameOfCode(code);
        L.Time = fix.LineTime[i];
        L.Pos = fix.LinePos[i];
        L.R = fix.Reduction[i];
        const long long secs = std::llround(L.Time * 86400.0);
        const long long hourSecs = secs - ((secs % 3600) + 3600) % 3600;
        L.hour = static_cast<double>(hourSecs) / 86400.0;
        L.minutes = static_cast<int>((secs - hourSecs) / 60);
        L.seconds = static_cast<int>((secs - hourSecs) % 60);
        const double dtHours = (L.Time - L.hour) * 24.0;
        const double jdH = JulianDay(L.hour, false, false);
        const double ariesHour = Norm360(SiderealTime(jdH, 0.0));
        if (L.IsStar) {
            L.ghaHour = ariesHour;
            L.increment = kAriesRate * dtHours;
            L.vCorr = Norm180(L.R.GhaAries - ariesHour - L.increment) * 60.0;
            L.decHour = L.R.Dec;
        } else {
            const int id = BodyIdOfCode(code);
            const Coord3 p = BodyPosition(jdH, id);
            L.ghaHour = Norm360(ariesHour - p.x);
            L.increment = (id == kMoonId ? kMoonRate : kSunRate) * dtHours;
            L.vCorr = Norm180(L.R.Gha - L.ghaHour - L.increment) * 60.0;
            L.decHour = p.y;
            L.dCorr = (L.R.Dec - p.y) * 60.0;
        }
    }
    return w;
}
