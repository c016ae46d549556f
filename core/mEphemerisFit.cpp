#include "core/mEphemerisFit.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/mMoon.h"
#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mTime.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Light time of Neptune (31 AU) and a little more: the expansions reach this far
// before the span.
constexpr double kLightMarginDays = 0.2;
constexpr double kEndMarginDays = 0.01;

bool IsFitted(int body) { return body >= kBodySun && body <= kBodyMoon && body != kBodyEarth; }

// cos(pi m / n), m = 0 .. 2n - 1, for the Lobatto points and the coefficients.
const std::vector<double>& CosTable(int n) {
    static const std::vector<std::vector<double>> tables = [] {
        std::vector<std::vector<double>> t(65);
        for (int k = 1; k <= 64; ++k)
            for (int m = 0; m < 2 * k; ++m) t[static_cast<std::size_t>(k)].push_back(std::cos(kPi * m / k));
        return t;
    }();
    return tables[static_cast<std::size_t>(n)];
}

// The frames of the instants of one build, each computed once.
class FrameCache {
public:
    const ApparentFrame& At(double jd) {
        for (const auto& f : frames_)
            if (f.jd == jd) return f;
        frames_.push_back(FrameAt(jd));
        return frames_.back();
    }

private:
    std::vector<ApparentFrame> frames_;
};

}  // namespace

HeliocentricSpan::HeliocentricSpan(double jdBegin, double jdEnd, const std::vector<int>& bodies)
    : begin_(jdBegin - kLightMarginDays), end_(jdEnd + kEndMarginDays) {
    const double mid = (begin_ + end_) / 2.0;
    const double half = (end_ - begin_) / 2.0;
    const int order = kAutoExpansionOrder;
    earth_ = ExpandHeliocentric(kBodyEarth, mid, half, order);
    for (int b : bodies) {
        if (b < 1 || b > 8 || b == kBodyEarth || has_[static_cast<std::size_t>(b)]) continue;
        planet_[static_cast<std::size_t>(b)] = ExpandHeliocentric(b, mid, half, order);
        has_[static_cast<std::size_t>(b)] = true;
    }
}

bool HeliocentricSpan::Covers(double jdBegin, double jdEnd) const {
    return jdBegin - kLightMarginDays >= begin_ && jdEnd <= end_;
}

const HeliocentricExpansion& HeliocentricSpan::Planet(int body) const {
    if (body >= 1 && body <= 8 && has_[static_cast<std::size_t>(body)]) return planet_[static_cast<std::size_t>(body)];
    return earth_;
}

int EphemerisFit::PointsFor(int body, double spanDays) {
    // Degrees measured against BodyPosition (the fit test, random spans 1900-2100):
    // the error stays below 1e-6" for the Sun and planets with degree 6 and the
    // Moon with degree 12 up to 1.25 days, with 8 and 20 up to 2.5 days.
    const bool shortSpan = spanDays <= 1.25;
    if (body == kBodyMoon) return shortSpan ? 12 : 20;
    return shortSpan ? 6 : 8;
}

EphemerisFit::EphemerisFit(double jdBegin, double jdEnd, const std::vector<int>& bodies)
    : begin_(jdBegin), end_(jdEnd) {
    Build(bodies, HeliocentricSpan(jdBegin, jdEnd, bodies));
}

EphemerisFit::EphemerisFit(double jdBegin, double jdEnd, const std::vector<int>& bodies,
                           const HeliocentricSpan& span)
    : begin_(jdBegin), end_(jdEnd) {
    Build(bodies, span);
}

void EphemerisFit::Solve(int n, const double* x, std::array<double, kMaxPoints>* v, std::size_t count,
                         std::array<double, kMaxPoints>* c) {
    // Gaussian elimination with partial pivoting: sum_j c_j T_j(x_k) = v_k.
    double m[kMaxPoints][kMaxPoints];
    for (int k = 0; k <= n; ++k) {
        m[k][0] = 1.0;
        if (n > 0) m[k][1] = x[k];
        for (int j = 2; j <= n; ++j) m[k][j] = 2.0 * x[k] * m[k][j - 1] - m[k][j - 2];
    }
    auto at = [](std::array<double, kMaxPoints>& a, int i) -> double& { return a[static_cast<std::size_t>(i)]; };
    for (int col = 0; col <= n; ++col) {
        int piv = col;
        for (int r = col + 1; r <= n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[piv][col])) piv = r;
        if (piv != col) {
            for (int j = 0; j <= n; ++j) std::swap(m[col][j], m[piv][j]);
            for (std::size_t q = 0; q < count; ++q) std::swap(at(v[q], col), at(v[q], piv));
        }
        for (int r = col + 1; r <= n; ++r) {
            const double g = m[r][col] / m[col][col];
            if (g == 0.0) continue;
            for (int j = col; j <= n; ++j) m[r][j] -= g * m[col][j];
            for (std::size_t q = 0; q < count; ++q) at(v[q], r) -= g * at(v[q], col);
        }
    }
    for (std::size_t q = 0; q < count; ++q)
        for (int r = n; r >= 0; --r) {
            double sum = at(v[q], r);
            for (int j = r + 1; j <= n; ++j) sum -= m[r][j] * at(c[q], j);
            at(c[q], r) = sum / m[r][r];
        }
}

double EphemerisFit::Clenshaw(const std::array<double, kMaxPoints>& c, int n, double x) {
    double b1 = 0.0, b2 = 0.0;
    for (int j = n; j >= 1; --j) {
        const double b0 = 2.0 * x * b1 - b2 + c[static_cast<std::size_t>(j)];
        b2 = b1;
        b1 = b0;
    }
    return x * b1 - b2 + c[0];
}

void EphemerisFit::Build(const std::vector<int>& bodies, const HeliocentricSpan& span) {
    const double spanDays = end_ - begin_;
    const double mid = (begin_ + end_) / 2.0;
    const double half = spanDays / 2.0;
    // An empty, reversed, too long or not finite span fits nothing: every place is
    // then computed directly.
    if (!(spanDays > 0.0 && spanDays <= kMaxFitSpanDays) || !std::isfinite(mid)) return;
    FrameCache frames;
    int widest = 0;
    for (int body : bodies) {
        if (!IsFitted(body) || Has(body)) continue;
        BodyFit f;
        f.body = body;
        f.n = std::min(kMaxPoints - 1, PointsFor(body, spanDays));
        const int n = f.n;
        widest = std::max(widest, n);
        const std::vector<double>& cosTab = CosTable(n);
        // The points are rounded to Julian dates a double can hold (4e-10 day apart,
        // in which the Moon moves 2e-5"), so the interpolant is solved for at the
        // points' own x, not the ideal Lobatto x.
        double x[kMaxPoints];
        std::array<double, kMaxPoints> v[3];
        for (int k = 0; k <= n; ++k) {
            const std::size_t i = static_cast<std::size_t>(k);
            const double jd = mid + half * cosTab[i];
            const Coord3 p = body == kBodyMoon
                                 ? MoonApparentPlace(frames.At(jd))
                                 : ApparentPlace(frames.At(jd), GeometricPlace(span.Earth(), span.Planet(body), body, jd));
            double ra = p.x;
            if (k > 0) ra += 360.0 * std::nearbyint((v[0][i - 1] - ra) / 360.0);
            v[0][i] = ra;
            v[1][i] = p.y;
            v[2][i] = p.z;
            x[k] = (jd - mid) / half;
        }
        Solve(n, x, v, 3, f.c.data());
        fits_.push_back(f);
    }
    // The nutation in longitude and the true obliquity through the frames of the
    // widest set of points, for the sidereal times of the span.
    if (widest > 0) {
        const std::vector<double>& cosTab = CosTable(widest);
        double x[kMaxPoints];
        std::array<double, kMaxPoints> v[2];
        for (int k = 0; k <= widest; ++k) {
            const double jd = mid + half * cosTab[static_cast<std::size_t>(k)];
            const ApparentFrame& f = frames.At(jd);
            v[0][static_cast<std::size_t>(k)] = f.dpsi;
            v[1][static_cast<std::size_t>(k)] = f.eps;
            x[k] = (jd - mid) / half;
        }
        nutationDegree_ = widest;
        Solve(widest, x, v, 2, nutation_.data());
    }
}

double EphemerisFit::SiderealTime(double jd, double lon) const {
    const double u = jd - DeltaT(jd);
    const double half = (end_ - begin_) / 2.0;
    const double x = half > 0.0 ? (u - (begin_ + end_) / 2.0) / half : 0.0;
    // Delta T puts u a minute or so before jd: a little outside the points is fine;
    // a Delta T of hours (far past) is not.
    if (nutationDegree_ == 0 || !(std::fabs(x) <= 1.0 + kSiderealExtrapolation)) return ::SiderealTime(jd, lon);
    ApparentFrame f;
    f.jd = u;
    f.dpsi = Clenshaw(nutation_[0], nutationDegree_, x);
    f.eps = Clenshaw(nutation_[1], nutationDegree_, x);
    return SiderealTimeAt(u, f, lon);
}

bool EphemerisFit::Has(int body) const {
    return std::any_of(fits_.begin(), fits_.end(), [body](const BodyFit& f) { return f.body == body; });
}

Coord3 EphemerisFit::Position(double jd, int body) const {
    if (!Covers(jd)) return BodyPosition(jd, body);
    const double half = (end_ - begin_) / 2.0;
    const double x = half > 0.0 ? (jd - (begin_ + end_) / 2.0) / half : 0.0;
    for (const BodyFit& f : fits_)
        if (f.body == body) return {Norm360(Clenshaw(f.c[0], f.n, x)), Clenshaw(f.c[1], f.n, x), Clenshaw(f.c[2], f.n, x)};
    return BodyPosition(jd, body);
}

DailyEphemeris::DailyEphemeris(double jdAnchor, std::vector<int> bodies, double dayDays)
    : anchor_(jdAnchor), dayDays_(dayDays > 0.0 && dayDays <= kMaxFitSpanDays ? dayDays : 1.0),
      bodies_(std::move(bodies)) {}

long DailyEphemeris::DayOf(double jd) const { return static_cast<long>(std::floor((jd - anchor_) / dayDays_)); }

const HeliocentricSpan& DailyEphemeris::Block(long b) {
    auto it = blocks_.find(b);
    if (it == blocks_.end()) {
        if (blocks_.size() >= 2) blocks_.erase(blocks_.begin()->first < b ? blocks_.begin() : std::prev(blocks_.end()));
        const double begin = anchor_ + static_cast<double>(b * kBlockDays) * dayDays_;
        it = blocks_.emplace(b, std::make_unique<HeliocentricSpan>(begin, begin + kBlockDays * dayDays_, bodies_)).first;
    }
    return *it->second;
}

const EphemerisFit& DailyEphemeris::Day(long k) {
    auto it = days_.find(k);
    if (it != days_.end()) return it->second;
    if (days_.size() >= kKeptDays) {
        // Drop the day farthest from k.
        auto first = days_.begin(), last = std::prev(days_.end());
        days_.erase(std::labs(first->first - k) >= std::labs(last->first - k) ? first : last);
    }
    const double begin = anchor_ + static_cast<double>(k) * dayDays_;
    const long b = k >= 0 ? k / kBlockDays : -((-k + kBlockDays - 1) / kBlockDays);
    return days_.emplace(k, EphemerisFit(begin, begin + dayDays_, bodies_, Block(b))).first->second;
}
