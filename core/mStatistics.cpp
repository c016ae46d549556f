#include "core/mStatistics.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTiny = 1e-300;
constexpr double kEps = 1e-15;
constexpr int kMaxTerms = 300;
constexpr double kPi = 3.14159265358979323846;

// The continued fraction of I_x(a, b) (Numerical Recipes betacf), converging for x < (a + 1)/(a + b + 2).
double BetaFraction(double a, double b, double x) {
    const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
    double c = 1.0, d = 1.0 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) < kEps) break;
    }
    return h;
}

}  // namespace

double RegularizedIncompleteBeta(double a, double b, double x) {
    if (!(a > 0.0) || !(b > 0.0) || !(x >= 0.0 && x <= 1.0)) return kNaN;
    if (x == 0.0 || x == 1.0) return x;
    const double lnFront = std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    const double front = std::exp(lnFront);
    if (x < (a + 1.0) / (a + b + 2.0)) return front * BetaFraction(a, b, x) / a;
    return 1.0 - front * BetaFraction(b, a, 1.0 - x) / b;
}

double StudentTCdf(double t, double nu) {
    if (!(nu > 0.0) || std::isnan(t)) return kNaN;
    if (std::isinf(t)) return t > 0.0 ? 1.0 : 0.0;
    const double tail = 0.5 * RegularizedIncompleteBeta(0.5 * nu, 0.5, nu / (nu + t * t));
    return t >= 0.0 ? 1.0 - tail : tail;
}

double StudentTQuantile(double p, double nu) {
    if (!(p > 0.0 && p < 1.0) || !(nu > 0.0)) return kNaN;
    if (p == 0.5) return 0.0;
    const bool upper = p > 0.5;
    const double q = upper ? p : 1.0 - p;  // the upper quantile of q, mirrored for p < 1/2
    // Bracket, then Newton steps on the cdf with the density, bisecting whenever a
    // step would leave the bracket.
    double lo = 0.0, hi = 1.0;
    while (StudentTCdf(hi, nu) < q && hi < 1e12) {
        lo = hi;
        hi *= 2.0;
    }
    const double lnNorm = std::lgamma(0.5 * (nu + 1.0)) - std::lgamma(0.5 * nu) - 0.5 * std::log(nu * kPi);
    double t = 0.5 * (lo + hi);
    for (int i = 0; i < 100; ++i) {
        const double f = StudentTCdf(t, nu) - q;
        if (f < 0.0) lo = t;
        else hi = t;
        const double density = std::exp(lnNorm - 0.5 * (nu + 1.0) * std::log1p(t * t / nu));
        double next = t - f / density;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        const bool done = std::fabs(next - t) <= 1e-12 * std::fabs(next) || hi - lo <= 1e-12 * hi;
        t = next;
        if (done) break;
    }
    return upper ? t : -t;
}

double FQuantile2(double p, double nu) {
    if (!(p > 0.0 && p < 1.0) || !(nu > 0.0)) return kNaN;
    return 0.5 * nu * std::expm1(-2.0 / nu * std::log1p(-p));
}
