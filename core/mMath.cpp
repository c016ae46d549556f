#include "core/mMath.h"

#include <cmath>

#include "core/mFault.h"

namespace {
const double kPi = 4.0 * std::atan(1.0);
constexpr double kClampExcess = 1e-12;  // rounding allowed beyond +-1 in ArcSin/ArcCos

double ClampUnit(double x) {
    if (!(std::fabs(x) <= 1.0 + kClampExcess)) throw ArithmeticFault(kFaultInvalidCall);
    if (x > 1.0) return 1.0;
    if (x < -1.0) return -1.0;
    return x;
}
}  // namespace

double DegToRad(double x) { return x * std::atan(1.0) / 45.0; }
double RadToDeg(double x) { return x * 45.0 / std::atan(1.0); }
double SinD(double x) { return std::sin(DegToRad(x)); }
double CosD(double x) { return std::cos(DegToRad(x)); }
double TanD(double x) { return std::tan(DegToRad(x)); }

double Norm360(double x) {
    double r = x - std::floor(x / 360.0) * 360.0;
    if (r < 0.0) r += 360.0;
    if (r >= 360.0) r -= 360.0;  // x a hair below a multiple of 360
    return r;
}

double Norm180(double x) {
    if (x > -180.0 && x <= 180.0) return x;
    const double r = Norm360(x);
    return r > 180.0 ? r - 360.0 : r;
}

double Atan2(double y, double x) {
    if (x == 0.0) {
        if (y == 0.0) return 0.0;
        return y > 0.0 ? kPi / 2.0 : -kPi / 2.0;
    }
    double r = std::atan(y / x);
    if (x < 0.0) r += 3.14159265358979;
    return r;
}

double ArcSin(double x) {
    x = ClampUnit(x);
    if (x == 1.0) return kPi / 2.0;
    if (x == -1.0) return -kPi / 2.0;
    return std::atan(x / std::sqrt(1.0 - x * x));
}

double ArcCos(double x) {
    x = ClampUnit(x);
    if (x == 1.0) return 0.0;
    if (x == -1.0) return kPi;
    return std::atan(-x / std::sqrt(1.0 - x * x)) + kPi / 2.0;
}

Coord3 RectToSph(const Coord3& v, bool toDegrees) {
    const double rxy = std::sqrt(v.x * v.x + v.y * v.y);
    Coord3 s;
    s.x = Atan2(v.y, v.x);
    s.y = Atan2(v.z, rxy);
    s.z = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (toDegrees) {
        s.x = RadToDeg(s.x);
        s.y = RadToDeg(s.y);
    }
    return s;
}

Coord3 SphToRect(const Coord3& s, bool fromDegrees) {
    double l = s.x, b = s.y;
    if (fromDegrees) {
        l = DegToRad(l);
        b = DegToRad(b);
    }
    Coord3 v;
    v.x = s.z * std::cos(b) * std::cos(l);
    v.y = s.z * std::cos(b) * std::sin(l);
    v.z = s.z * std::sin(b);
    return v;
}

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
