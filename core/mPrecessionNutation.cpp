#include "core/mPrecessionNutation.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kArcsecToRad = kPi / 648000.0;
constexpr double kTurnArcsec = 1296000.0;

// IAU 2000B luni-solar nutation (McCarthy & Luzum 2003, Cel. Mech. Dyn. Astron. 85,
// 37; the MHB_2000_SHORT series, data/nutation_2000B.csv): multipliers of l, l', F,
// D, Omega; longitude sin, t sin, cos; obliquity cos, t cos, sin; 0.1 microarcsecond.
struct Row {
    signed char l, lp, f, d, om;
    double ps, pst, pc, ec, ect, es;
};
static constexpr Row kRows[] = {
#include "core/nutation_2000B.inc"
};
static_assert(std::size(kRows) == 77, "IAU 2000B has 77 luni-solar terms");

// Fixed offsets in lieu of the planetary terms (Luzum 2001), milliarcseconds.
constexpr double kDpsiPlanetaryMas = -0.135;
constexpr double kDepsPlanetaryMas = 0.388;

double Centuries(double jd) { return (jd - 2451545.0) / 36525.0; }

double Arc(double arcsec) { return std::fmod(arcsec, kTurnArcsec) * kArcsecToRad; }

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 c;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return c;
}

// Rotations of the axes (the frame) by angle a, radians: R1 about x, R3 about z.
Matrix3 R1(double a) {
    Matrix3 r;
    const double s = std::sin(a), c = std::cos(a);
    r.m[1][1] = c, r.m[1][2] = s, r.m[2][1] = -s, r.m[2][2] = c;
    return r;
}
Matrix3 R3(double a) {
    Matrix3 r;
    const double s = std::sin(a), c = std::cos(a);
    r.m[0][0] = c, r.m[0][1] = s, r.m[1][0] = -s, r.m[1][1] = c;
    return r;
}

// IAU 2006 mean obliquity, arc seconds.
double MeanObliquity2006(double t) {
    return 84381.406 + (-46.836769 + (-0.0001831 + (0.00200340 + (-0.000000576 - 0.0000000434 * t) * t) * t) * t) * t;
}

// Complementary terms of the equation of the equinoxes (IERS Conventions 2010,
// Table 5.2e, the terms above 0.5 microarcsecond), arc seconds.
double EquinoxComplement(double t) {
    const double om = Arc(450160.398036 - 6962890.5431 * t);
    const double f = Arc(335779.526232 + 1739527262.8478 * t);
    const double d = Arc(1072260.70369 + 1602961601.2090 * t);
    const double lp = Arc(1287104.79305 + 129596581.0481 * t);
    const double s = 2640.96e-6 * std::sin(om) + 63.52e-6 * std::sin(2 * om) + 11.75e-6 * std::sin(2 * f - 2 * d + 3 * om) +
                     11.21e-6 * std::sin(2 * f - 2 * d + om) - 4.55e-6 * std::sin(2 * f - 2 * d + 2 * om) +
                     2.02e-6 * std::sin(2 * f + 3 * om) + 1.98e-6 * std::sin(2 * f + om) - 1.72e-6 * std::sin(3 * om) -
                     1.41e-6 * std::sin(lp + om) - 1.26e-6 * std::sin(lp - om);
    return s - 0.87e-6 * t * std::sin(om);
}

}  // namespace

Vector3 Apply(const Matrix3& r, const Vector3& v) {
    return {r.m[0][0] * v.x + r.m[0][1] * v.y + r.m[0][2] * v.z, r.m[1][0] * v.x + r.m[1][1] * v.y + r.m[1][2] * v.z,
            r.m[2][0] * v.x + r.m[2][1] * v.y + r.m[2][2] * v.z};
}

Vector3 ApplyTransposed(const Matrix3& r, const Vector3& v) {
    return {r.m[0][0] * v.x + r.m[1][0] * v.y + r.m[2][0] * v.z, r.m[0][1] * v.x + r.m[1][1] * v.y + r.m[2][1] * v.z,
            r.m[0][2] * v.x + r.m[1][2] * v.y + r.m[2][2] * v.z};
}

Nutation2000 Nutation2000B(double jd) {
    const double t = Centuries(jd);
    // Delaunay arguments (Simon et al. 1994), as the abridged model takes them.
    const double el = Arc(485868.249036 + 1717915923.2178 * t);
    const double elp = Arc(1287104.79305 + 129596581.0481 * t);
    const double f = Arc(335779.526232 + 1739527262.8478 * t);
    const double d = Arc(1072260.70369 + 1602961601.2090 * t);
    const double om = Arc(450160.398036 - 6962890.5431 * t);
    double dp = 0.0, de = 0.0;
    for (std::size_t i = std::size(kRows); i-- > 0;) {  // smallest terms first
        const Row& r = kRows[i];
        const double arg = r.l * el + r.lp * elp + r.f * f + r.d * d + r.om * om;
        const double s = std::sin(arg), c = std::cos(arg);
        dp += (r.ps + r.pst * t) * s + r.pc * c;
        de += (r.ec + r.ect * t) * c + r.es * s;
    }
    const double toDeg = 1.0 / 3.6e10;  // 0.1 microarcsecond to degrees
    return {dp * toDeg + kDpsiPlanetaryMas / 3.6e6, de * toDeg + kDepsPlanetaryMas / 3.6e6};
}

PoleFrame PoleFrameAt(double jd) {
    PoleFrame p;
    p.jd = jd;
    const double t = Centuries(jd);
    // Fukushima-Williams angles of IAU 2006 with the frame bias, arc seconds.
    const double gamb =
        -0.052928 + (10.556378 + (0.4932044 + (-0.00031238 + (-0.000002788 + 0.0000000260 * t) * t) * t) * t) * t;
    const double phib =
        84381.412819 + (-46.811016 + (0.0511268 + (0.00053289 + (-0.000000440 - 0.0000000176 * t) * t) * t) * t) * t;
    const double psib =
        -0.041775 + (5038.481484 + (1.5584175 + (-0.00018522 + (-0.000026452 - 0.0000000148 * t) * t) * t) * t) * t;
    const double epsa = MeanObliquity2006(t);
    p.epsA = epsa / 3600.0;
    p.nut = Nutation2000B(jd);
    const double psi = psib * kArcsecToRad + p.nut.dpsi * kPi / 180.0;
    const double eps = epsa * kArcsecToRad + p.nut.deps * kPi / 180.0;
    p.npb = Multiply(R1(-eps), Multiply(R3(-psi), Multiply(R1(phib * kArcsecToRad), R3(gamb * kArcsecToRad))));
    p.eqEquinoxes = p.nut.dpsi * std::cos(epsa * kArcsecToRad) + EquinoxComplement(t) / 3600.0;
    return p;
}

double SiderealTime2006(double u, const PoleFrame& frameU) {
    const double du = u - 2451545.0;
    const double t = du / 36525.0;
    // Earth rotation angle, turns; the whole days of du dropped first.
    double era = 0.7790572732640 + 0.00273781191135448 * du + std::fmod(du, 1.0);
    era -= std::floor(era);
    const double poly =
        0.014506 + (4612.156534 + (1.3915817 + (-0.00000044 + (-0.000029956 - 0.0000000368 * t) * t) * t) * t) * t;
    double deg = era * 360.0 + poly / 3600.0 + frameU.eqEquinoxes;
    deg = std::fmod(deg, 360.0);
    return deg < 0.0 ? deg + 360.0 : deg;
}
