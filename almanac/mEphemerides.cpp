#include "almanac/mEphemerides.h"

#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"

namespace {

template <class PositionOf>
EphemerisRow MakeRow(double jd, int hour, double aries, PositionOf position) {
    EphemerisRow row;
    row.hour = hour;
    row.jd = jd;
    row.aries = aries;
    for (int c = 0; c < kEphemerisBodyCount; ++c) {
        const Coord3 p = position(kEphemerisColumns[c].bodyId);
        row.gha[c] = Norm360(row.aries - p.x);
        row.dec[c] = p.y;
    }
    return row;
}

}  // namespace

double EphemerisPageStart(DateValue localDate) {
    return JulianDay(DateWholeDays(localDate), false, false);
}

EphemerisRow EphemerisRowAt(double jd, int hour) {
    const EphemerisInstant at(jd);  // the Earth and the nutation once for the six bodies
    return MakeRow(jd, hour, SiderealTime(jd, 0.0), [&](int body) { return BodyPosition(at, body); });
}

EphemerisRow EphemerisRowAt(const EphemerisFit& fit, double jd, int hour) {
    return MakeRow(jd, hour, fit.SiderealTime(jd, 0.0), [&](int body) { return fit.Position(jd, body); });
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
