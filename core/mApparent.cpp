#include "core/mApparent.h"

#include <cmath>
#include <iterator>

#include "core/mMath.h"

namespace {

double CenturiesJ2000(double jd) { return (jd - 2451545.0) / 36525.0; }

// Nutation in longitude and obliquity: the IAU 1980 theory in its 63-row
// abridgement (Astronomical Algorithms, Table 22.A). Multipliers of D, M, M', F,
// Omega; coefficient of sin for dpsi and its T part; of cos for deps and its T
// part; units 0.0001 arcsecond, T in Julian centuries.
struct NutationRow {
    int d, m, mp, f, om;
    double psi, psiT, eps, epsT;
};
static constexpr NutationRow kNutation[] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
    {2, 0, 0, 0, 0, 63, 0, 0, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},
    {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},
    {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {-2, 0, 2, 0, 0, 48, 0, 0, 0},
    {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},
    {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 2, 0, 0, 29, 0, 0, 0},
    {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 0, 2, 0, 26, 0, 0, 0},
    {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},
    {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},
    {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},
    {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},
    {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},
    {2, 0, 0, 2, 1, -7, 0, 3, 0},
    {2, 0, 1, 0, 0, 6, 0, 0, 0},
    {-2, 0, 2, 2, 2, 6, 0, -3, 0},
    {-2, 0, 1, 2, 1, 6, 0, -3, 0},
    {2, 0, -2, 0, 1, -6, 0, 3, 0},
    {2, 0, 0, 0, 1, -6, 0, 3, 0},
    {0, -1, 1, 0, 0, 5, 0, 0, 0},
    {-2, -1, 0, 2, 1, -5, 0, 3, 0},
    {-2, 0, 0, 0, 1, -5, 0, 3, 0},
    {0, 0, 2, 2, 1, -5, 0, 3, 0},
    {-2, 0, 2, 0, 1, 4, 0, 0, 0},
    {-2, 1, 0, 2, 1, 4, 0, 0, 0},
    {0, 0, 1, -2, 0, 4, 0, 0, 0},
    {-1, 0, 1, 0, 0, -4, 0, 0, 0},
    {-2, 1, 0, 0, 0, -4, 0, 0, 0},
    {1, 0, 0, 0, 0, -4, 0, 0, 0},
    {0, 0, 1, 2, 0, 3, 0, 0, 0},
    {0, 0, -2, 2, 2, -3, 0, 0, 0},
    {-1, -1, 1, 0, 0, -3, 0, 0, 0},
    {0, 1, 1, 0, 0, -3, 0, 0, 0},
    {0, -1, 1, 2, 2, -3, 0, 0, 0},
    {2, -1, -1, 2, 2, -3, 0, 0, 0},
    {0, 0, 3, 2, 2, -3, 0, 0, 0},
    {2, -1, 0, 2, 2, -3, 0, 0, 0},
};
static_assert(std::size(kNutation) == 63, "the abridged nutation table has 63 rows");

}  // namespace

namespace {

// Laskar's polynomial, degrees; powers by repeated multiplication.
double MeanObliquity(double jd) {
    const double u = (jd - 2451545.0) / 3652500.0;
    static constexpr double kCoeff[] = {84381.448, -4680.93, -1.55, 1999.25, -51.38, -249.67,
                                        -39.05,    7.12,     27.87, 5.79,    2.45};
    double eps = 0.0, p = 1.0;
    for (double c : kCoeff) {
        eps += c * p;
        p *= u;
    }
    return eps / 3600.0;
}

}  // namespace

double Obliquity(double jd, bool withNutation) {
    double eps = MeanObliquity(jd);
    if (withNutation) eps += Nutation(jd, 1);
    return eps;
}

NutationValues NutationBoth(double jd) {
    const double t = CenturiesJ2000(jd);
    const double t2 = t * t, t3 = t2 * t;
    const double D = DegToRad(297.85036 + 445267.11148 * t - 0.0019142 * t2 + t3 / 189474.0);
    const double M = DegToRad(357.52772 + 35999.05034 * t - 0.0001603 * t2 - t3 / 300000.0);
    const double Mp = DegToRad(134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250.0);
    const double F = DegToRad(93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270.0);
    const double Om = DegToRad(125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000.0);
    // One sine and cosine per row (the compiler pairs them into one sincos call).
    double psi = 0.0, eps = 0.0;
    for (const NutationRow& r : kNutation) {
        const double arg = r.d * D + r.m * M + r.mp * Mp + r.f * F + r.om * Om;
        psi += (r.psi + r.psiT * t) * std::sin(arg);
        eps += (r.eps + r.epsT * t) * std::cos(arg);
    }
    return {psi / 36000000.0, eps / 36000000.0};
}

double Nutation(double jd, int which) {
    const NutationValues n = NutationBoth(jd);
    return which == 0 ? n.dpsi : n.deps;
}

ApparentFrame FrameAt(double jd) {
    ApparentFrame f;
    f.jd = jd;
    const NutationValues n = NutationBoth(jd);
    f.dpsi = n.dpsi;
    f.deps = n.deps;
    f.eps0 = MeanObliquity(jd);
    f.eps = f.eps0 + n.deps;
    return f;
}

void FK5Correction(double jd, Coord3& place) {
    const double t = CenturiesJ2000(jd);
    const double lp = DegToRad(place.x - 1.397 * t - 0.00031 * t * t);
    const double dl = -0.09033 + 0.03916 * (std::cos(lp) + std::sin(lp)) * TanD(place.y);
    const double db = 0.03916 * (std::cos(lp) - std::sin(lp));
    place.x += dl / 3600.0;
    place.y += db / 3600.0;
}

AngleTrig TrigOf(double degrees) { return {degrees, SinD(degrees), CosD(degrees)}; }

void EclToEqu(Coord3& place, double eps) { EclToEqu(place, TrigOf(eps)); }

void EclToEqu(Coord3& place, const AngleTrig& eps) {
    const double l = place.x, b = place.y;
    const double y = SinD(l) * eps.cos - TanD(b) * eps.sin;
    const double a = RadToDeg(Atan2(y, CosD(l)));
    const double w = SinD(b) * eps.cos + CosD(b) * eps.sin * SinD(l);
    place.x = a;
    place.y = RadToDeg(Atan2(w, std::sqrt(1.0 - w * w)));
}

void EquToEcl(Coord3& place, double eps) { EquToEcl(place, TrigOf(eps)); }

void EquToEcl(Coord3& place, const AngleTrig& eps) {
    const double a = place.x, d = place.y;
    const double y = SinD(a) * eps.cos + TanD(d) * eps.sin;
    const double l = RadToDeg(Atan2(y, CosD(a)));
    const double w = SinD(d) * eps.cos - CosD(d) * eps.sin * SinD(a);
    place.x = l;
    place.y = RadToDeg(Atan2(w, std::sqrt(1.0 - w * w)));
}

void AnnualPrecession(double jdFrom, double jdTo, Coord3& place) {
    const double t = CenturiesJ2000(jdFrom);
    const double m = 0.01281233333333 + 0.00000775 * t;
    const double n = 0.005567527777778 - 0.000002361111111 * t;
    const double years = (jdTo - jdFrom) / 365.25;
    const double a = place.x, d = place.y;
    place.x = a + (m + n * SinD(a) * TanD(d)) * years;
    place.y = d + n * CosD(a) * years;
}

PrecessionAngles PrecessionFromJ2000(double jd) {
    const double t = CenturiesJ2000(jd);
    const double t2 = t * t, t3 = t2 * t;
    // IAU 1976 precession angles from J2000.0, arcseconds.
    PrecessionAngles p;
    p.zeta = (2306.2181 * t + 0.30188 * t2 + 0.017998 * t3) / 3600.0;
    p.z = (2306.2181 * t + 1.09468 * t2 + 0.018203 * t3) / 3600.0;
    p.theta = TrigOf((2004.3109 * t - 0.42665 * t2 - 0.041833 * t3) / 3600.0);
    return p;
}

void PrecessFromJ2000(double jd, Coord3& place) { PrecessFromJ2000(PrecessionFromJ2000(jd), place); }

void PrecessFromJ2000(const PrecessionAngles& p, Coord3& place) {
    const double a0 = place.x + p.zeta, d0 = place.y;
    const double A = CosD(d0) * SinD(a0);
    const double B = p.theta.cos * CosD(d0) * CosD(a0) - p.theta.sin * SinD(d0);
    const double C = p.theta.sin * CosD(d0) * CosD(a0) + p.theta.cos * SinD(d0);
    place.x = RadToDeg(Atan2(A, B)) + p.z;
    place.y = RadToDeg(Atan2(C, std::sqrt(A * A + B * B)));
}

AngleTrig AberrationLongitude(double jd) {
    const double t = CenturiesJ2000(jd);
    return TrigOf(Norm360(100.4688 + 36000.7704 * t));
}

void AnnualAberration(double jd, Coord3& place) { AnnualAberration(AberrationLongitude(jd), place); }

void AnnualAberration(const AngleTrig& L, Coord3& place) {
    const double dist = place.z;
    Coord3 unit = place;
    unit.z = 1.0;
    Coord3 v = SphToRect(unit, true);
    v.x -= 0.0000994 * L.sin;
    v.y += 0.0000912 * L.cos;
    v.z += 0.0000395 * L.cos;
    const Coord3 s = RectToSph(v, true);
    place.x = s.x;
    place.y = s.y;
    place.z = dist;
}
