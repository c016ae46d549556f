#include "fix/mIdentify.h"

#include <algorithm>
#include <cmath>

#include "core/mBodyPosition.h"
#include "core/mPlanet.h"
#include "core/mStar.h"
#include "core/mTime.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"

namespace {

constexpr int kPlanetCodes[] = {-2, -3, -4, -5};  // Venus, Mars, Jupiter, Saturn

void Consider(std::vector<IdentifyCandidate>& out, BodyCode code, const std::string& name, const Coord3& hz,
              double altitude, double azimuth) {
    const double dh = hz.y - altitude;
    const double dz = std::remainder(hz.x - azimuth, 360.0);
    if (std::fabs(dh) > kIdentifyAltWindowDeg || std::fabs(dz) > kIdentifyAzWindowDeg) return;
    IdentifyCandidate c;
    c.Code = code;
    c.Name = name;
    c.Altitude = hz.y;
    c.Azimuth = hz.x;
    c.Nearness = std::hypot(dh / kIdentifyAltErrorDeg, dz / kIdentifyAzErrorDeg);
    out.push_back(c);
}

}  // namespace

std::vector<IdentifyCandidate> IdentifyBody(DateValue ut, double lat, double lon, double altitude, double azimuth) {
    std::vector<IdentifyCandidate> out;
    const double jd = JulianDay(ut, false, false);
    const StarFrame frame = StarFrameAt(jd);
    for (int i = 1; i <= kStarCount; ++i) {
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        if (s.NavNumber < 1 || s.Number < 1) continue;
        const Coord3 hz = AltAzimuth(jd, StarPlaceAt(frame, s), lat, lon);
        Consider(out, s.Number, s.Name.empty() ? StarName(i) : s.Name, hz, altitude, azimuth);
    }
    for (int code : kPlanetCodes) {
        const Coord3 hz = AltAzimuth(jd, BodyPosition(jd, BodyIdOfCode(code)), lat, lon);
        Consider(out, code, BodyNames()[static_cast<size_t>(-code)], hz, altitude, azimuth);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const IdentifyCandidate& a, const IdentifyCandidate& b) { return a.Nearness < b.Nearness; });
    return out;
}

std::vector<IdentifyCandidate> IdentifyFromSextant(DateValue ut, double lat, double lon, double hs, double indexArcmin,
                                                   double heightOfEye, double bearing) {
    const double h = hs + indexArcmin / 60.0 - Dip(heightOfEye);
    return IdentifyBody(ut, lat, lon, h - Refraction(h), bearing);  // mean refraction: a minute or two at most
}
