#include "core/mMagnitude.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mParallax.h"
#include "core/mPlanet.h"

namespace {

constexpr double kNoMagnitude = std::numeric_limits<double>::quiet_NaN();
// Mallama & Hilton (2018): Saturn's ring formula holds to this phase angle and tilt.
constexpr double kSaturnRingMaxPhaseDeg = 6.5;
constexpr double kSaturnRingMaxTiltDeg = 27.0;
// Mallama & Hilton (2018): Venus' second branch beyond this phase angle; Mars' and
// Jupiter's second polynomials beyond theirs.
constexpr double kVenusBranchDeg = 163.7;
constexpr double kMarsBranchDeg = 50.0;
constexpr double kJupiterBranchDeg = 12.0;
constexpr double kMoonMeanDistanceAu = 384400.0 / kKmPerAU;

double Poly(const double* c, int n, double x) {
    double s = 0.0;
    for (int k = n - 1; k >= 0; --k) s = s * x + c[k];
    return s;
}

}  // namespace

double MagnitudeFromGeometry(int body, double phaseDeg, double r, double delta, double ringEarthDeg,
                             double ringSunDeg) {
    const double a = phaseDeg;
    if (body == kBodyMoon) {
        const double i = std::fabs(a);
        return -12.73 + 0.026 * i + 4e-9 * std::pow(i, 4) + 5.0 * std::log10(delta / kMoonMeanDistanceAu);
    }
    const double distance = 5.0 * std::log10(r * delta);
    switch (body) {
        case kBodyMercury: {
            static constexpr double c[] = {-0.613, 6.3280e-02, -1.6336e-03, 3.3644e-05, -3.4265e-07, 1.6893e-09,
                                           -3.0334e-12};
            return distance + Poly(c, 7, a);
        }
        case kBodyVenus: {
            static constexpr double near[] = {-4.384, -1.044e-03, 3.687e-04, -2.814e-06, 8.938e-09};
            static constexpr double far[] = {236.05828, -2.81914, 8.39034e-03};
            return distance + (a < kVenusBranchDeg ? Poly(near, 5, a) : Poly(far, 3, a));
        }
        case kBodyMars: {
            static constexpr double near[] = {-1.601, 2.267e-02, -1.302e-04};
            static constexpr double far[] = {-0.367, -0.02573, 3.445e-04};
            return distance + (a <= kMarsBranchDeg ? Poly(near, 3, a) : Poly(far, 3, a));
        }
        case kBodyJupiter: {
            if (a <= kJupiterBranchDeg) return distance - 9.395 - 3.7e-04 * a + 6.16e-04 * a * a;
            static constexpr double c[] = {1.0, -1.507, -0.363, -0.062, 2.809, -1.876};
            return distance - 9.428 - 2.5 * std::log10(Poly(c, 6, a / 180.0));
        }
        case kBodySaturn: {
            // The rings' effective tilt: the mean of the tilts seen from the Earth and
            // from the Sun (near zero when the Earth looks at their dark face).
            const double beta = std::fabs(ringEarthDeg + ringSunDeg) / 2.0;
            if (a <= kSaturnRingMaxPhaseDeg && beta <= kSaturnRingMaxTiltDeg)
                return distance - 8.914 - 1.825 * SinD(beta) + 0.026 * a - 0.378 * SinD(beta) * std::exp(-2.25 * a);
            static constexpr double c[] = {-8.94, 2.446e-04, 2.672e-04, -1.505e-06, 4.767e-09};
            return distance + Poly(c, 5, a);
        }
        case kBodyUranus: return distance - 7.110 + 6.587e-03 * a + 1.045e-04 * a * a;
        case kBodyNeptune: return distance - 7.00 + 7.944e-03 * a + 9.617e-05 * a * a;
        default: return kNoMagnitude;
    }
}

double PlanetMagnitude(int body, double jd) {
    if (body == kBodyMoon) {
        const Coord3 sun = BodyPosition(jd, kBodySun);
        const Coord3 moon = BodyPosition(jd, kBodyMoon);
        const double cosPsi = SinD(sun.y) * SinD(moon.y) + CosD(sun.y) * CosD(moon.y) * CosD(sun.x - moon.x);
        const double psi = RadToDeg(std::acos(std::clamp(cosPsi, -1.0, 1.0)));  // elongation
        const double i = RadToDeg(std::atan2(sun.z * SinD(psi), moon.z - sun.z * CosD(psi)));
        return MagnitudeFromGeometry(body, i, 1.0, moon.z, 0.0, 0.0);
    }
    if (body < kBodyMercury || body > kBodyNeptune || body == kBodyEarth) return kNoMagnitude;
    const Coord3 e = SphToRect(HeliocentricPosition(kBodyEarth, jd), true);
    const Coord3 hp = HeliocentricPosition(body, jd);
    const Coord3 p = SphToRect(hp, true);
    const Coord3 g{p.x - e.x, p.y - e.y, p.z - e.z};
    const double r = hp.z;
    const double R = std::sqrt(e.x * e.x + e.y * e.y + e.z * e.z);
    const double delta = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z);
    const double phase = RadToDeg(std::acos(std::clamp((r * r + delta * delta - R * R) / (2.0 * r * delta), -1.0, 1.0)));
    double ringEarth = 0.0, ringSun = 0.0;
    if (body == kBodySaturn) {
        // Saturn's ring plane on the ecliptic and equinox of date (Meeus ch. 45): the
        // tilt B seen from the Earth (geocentric place) and B' from the Sun.
        const double T = (jd - 2451545.0) / 36525.0;
        const double incl = 28.075216 - 0.012998 * T + 0.000004 * T * T;
        const double node = 169.508470 + 1.394681 * T + 0.000412 * T * T;
        auto tilt = [&](double lon, double lat) {
            return RadToDeg(std::asin(SinD(incl) * CosD(lat) * SinD(lon - node) - CosD(incl) * SinD(lat)));
        };
        const Coord3 geo = RectToSph(g, true);
        ringEarth = tilt(geo.x, geo.y);
        ringSun = tilt(hp.x, hp.y);
    }
    return MagnitudeFromGeometry(body, phase, r, delta, ringEarth, ringSun);
}
