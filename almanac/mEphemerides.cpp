#include "almanac/mEphemerides.h"

#include <cmath>

#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mParallax.h"

namespace {

// A row from positionAt(jd, body) and ariesAt(jd): the places and sidereal times
// either computed one by one or taken from a fit.
template <class PositionAt, class AriesAt>
EphemerisRow MakeRow(double jd, int hour, PositionAt positionAt, AriesAt ariesAt) {
    EphemerisRow row;
    row.hour = hour;
    row.jd = jd;
    row.aries = ariesAt(jd);
    for (int c = 0; c < kEphemerisBodyCount; ++c) {
        const Coord3 p = positionAt(jd, kEphemerisColumns[c].bodyId);
        row.gha[c] = Norm360(row.aries - p.x);
        row.dec[c] = p.y;
        if (kEphemerisColumns[c].bodyId == kBodySun) row.sunSD = 959.63 / p.z / 60.0;
        if (kEphemerisColumns[c].bodyId == kBodyMoon) {
            row.moonHP = HorizontalParallax(p.z) * 60.0;
            row.moonSD = 0.2724 * row.moonHP;
            const double next = jd + 1.0 / 24.0;
            const Coord3 q = positionAt(next, kBodyMoon);
            const double step = Norm360(Norm360(ariesAt(next) - q.x) - row.gha[c]);
            row.moonV = (step - (14.0 + 19.0 / 60.0)) * 60.0;
            row.moonD = (q.y - p.y) * 60.0;
        }
    }
    return row;
}

}  // namespace

double EphemerisPageStart(DateValue localDate) {
    return JulianDay(DateWholeDays(localDate), false, false);
}

EphemerisRow EphemerisRowAt(double jd, int hour) {
    const EphemerisInstant at(jd);  // the Earth and the nutation once for the six bodies
    return MakeRow(
        jd, hour, [&](double t, int body) { return t == jd ? BodyPosition(at, body) : BodyPosition(t, body); },
        [](double t) { return SiderealTime(t, 0.0); });
}

EphemerisRow EphemerisRowAt(const EphemerisFit& fit, double jd, int hour) {
    return MakeRow(
        jd, hour, [&](double t, int body) { return fit.Position(t, body); },
        [&](double t) { return fit.SiderealTime(t, 0.0); });
}

std::vector<int> EphemerisBodies() {
    std::vector<int> bodies;
    for (const EphemerisColumn& c : kEphemerisColumns) bodies.push_back(c.bodyId);
    return bodies;
}

EphemerisFit EphemerisPageFit(double jd0) { return EphemerisFit(jd0, jd0 + 1.0, EphemerisBodies()); }

std::array<EphemerisRow, kEphemerisHours> EphemerisPage(DateValue localDate) {
    std::array<EphemerisRow, kEphemerisHours> page;
    const double jd0 = EphemerisPageStart(localDate);
    const EphemerisFit fit = EphemerisPageFit(jd0);
    for (int i = 0; i < kEphemerisHours; ++i) page[i] = EphemerisRowAt(fit, jd0 + i / 24.0, i);
    return page;
}

std::vector<std::array<EphemerisRow, kEphemerisHours>> EphemerisPages(DateValue firstDate, int count) {
    std::vector<std::array<EphemerisRow, kEphemerisHours>> pages;
    if (count <= 0) return pages;
    pages.resize(static_cast<std::size_t>(count));
    const DateValue first = DateWholeDays(firstDate);
    const double anchor = EphemerisPageStart(first);
    DailyEphemeris days(anchor, EphemerisBodies());
    for (int k = 0; k < count; ++k) {
        const double jd0 = EphemerisPageStart(first + k);
        // The day of this page; Delta T moves its start by milliseconds from anchor + k.
        const EphemerisFit& fit = days.Day(k);
        for (int i = 0; i < kEphemerisHours; ++i)
            pages[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] = EphemerisRowAt(fit, jd0 + i / 24.0, i);
    }
    return pages;
}
