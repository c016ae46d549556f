#include "almanac/mEphemerides.h"

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
    }
    return row;
}

std::array<EphemerisRow, kEphemerisHours> EphemerisPage(DateValue localDate) {
    std::array<EphemerisRow, kEphemerisHours> page;
    const double jd0 = EphemerisPageStart(localDate);
    for (int i = 0; i < kEphemerisHours; ++i) page[i] = EphemerisRowAt(jd0 + i / 24.0, i);
    return page;
}
