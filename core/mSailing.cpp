#include "core/mSailing.h"

#include <cmath>

#include "core/mMath.h"

namespace {
// Beyond this latitude the meridional parts run away: no rhumb line.
constexpr double kRhumbLatLimitDeg = 89.0;
// A difference of latitude below this is an east-west course: parallel sailing.
constexpr double kParallelDLatDeg = 1e-9;
}  // namespace

LatLon OverThePole(double lat, double lon) {
    lat = std::remainder(lat, 360.0);  // [-180, 180]
    if (lat > 90.0) return LatLon{180.0 - lat, Norm180(lon + 180.0)};
    if (lat < -90.0) return LatLon{-180.0 - lat, Norm180(lon + 180.0)};
    return LatLon{lat, Norm180(lon)};
}

LatLon RunAlongCourse(const LatLon& from, double course, double distanceNm) {
    const double lat = from.Lat;
    const double dLat = distanceNm * CosD(course) / 60.0;
    const double departure = distanceNm * SinD(course) / 60.0;  // degrees of a great circle
    const double lat2 = lat + dLat;
    double q = CosD(lat);  // departure / difference of longitude
    if (std::fabs(lat) < kRhumbLatLimitDeg && std::fabs(lat2) < kRhumbLatLimitDeg && std::fabs(dLat) > kParallelDLatDeg) {
        const double dPsi = std::log(TanD(45.0 + lat2 / 2.0) / TanD(45.0 + lat / 2.0));  // meridional parts, radians
        q = DegToRad(dLat) / dPsi;
    }
    return OverThePole(lat2, from.Lon + departure / q);
}
