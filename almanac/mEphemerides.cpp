#include "almanac/mEphemerides.h"

#include <cmath>

#include "core/mBodyPosition.h"
#include "core/mMath.h"

double EphemerisPageStart(DateValue localDate) {
    return JulianDay(DateWholeDays(localDate), false, false);
}

EphemerisRow EphemerisRowAt(double jd, int hour) {
    EphemerisRow row;
    row.hour = hour;
    row.jd = jd;
    row.aries = SiderealTime(jd, 0.0);
    for (int c = 0; c < kEphemerisBodyCount; ++c) {
        const Coord3 p = BodyPosition(jd, kEphemerisColumns[c].bodyId);
        row.gha[c] = Norm360(row.aries - p.x);
        row.dec[c] = p.y;
        if (kEphemerisColumns[c].bodyId == kBodySun) row.sunSD = 959.63 / p.z / 60.0;
        if (kEphemerisColumns[c].bodyId == kBodyMoon) {
            constexpr double kEarthRadiusAu = 6378.14 / 149597870.7;
            row.moonHP = RadToDeg(std::asin(kEarthRadiusAu / p.z)) * 60.0;
            row.moonSD = 0.2724 * row.moonHP;
            const double next = jd + 1.0 / 24.0;
            const Coord3 q = BodyPosition(next, kBodyMoon);
            const double step = Norm360(Norm360(SiderealTime(next, 0.0) - q.x) - row.gha[c]);
            row.moonV = (step - (14.0 + 19.0 / 60.0)) * 60.0;
            row.moonD = (q.y - p.y) * 60.0;
        }
    }
    return row;
}

std::array<EphemerisRow, kEphemerisHours> EphemerisPage(DateValue localDate) {
    std::array<EphemerisRow, kEphemerisHours> page;
    const double jd0 = EphemerisPageStart(localDate);
    for (int i = 0; i < kEphemerisHours; ++i) page[i] = EphemerisRowAt(jd0 + i / 24.0, i);
    return page;
}
