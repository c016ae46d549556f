#include "core/mEphemerisFit.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "bodies/mMoon.h"
#include "core/mApparent.h"
#include "core/mBodyPosition.h"

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

void EphemerisFit::Build(const std::vector<int>& bodies, const HeliocentricSpan& span) {
    const double span_days = end_ - begin_;
    const double mid = (begin_ + end_) / 2.0;
    const double half = span_days / 2.0;
    FrameCache frames;
    for (int body : bodies) {
        if (!IsFitted(body) || Has(body)) continue;
        BodyFit f;
        f.body = body;
        f.n = std::min(kMaxPoints - 1, PointsFor(body, span_days));
        const int n = f.n;
        const std::vector<double>& cosTab = CosTable(n);
        // The points are rounded to Julian dates a double can hold (4e-10 day apart,
        // in which the Moon moves 2e-5"), so the interpolant is solved for at the
        // points' own x, not the ideal Lobatto x.
        double m[kMaxPoints][kMaxPoints];
        double v[3][kMaxPoints];
        for (int k = 0; k <= n; ++k) {
            const double jd = mid + half * cosTab[static_cast<std::size_t>(k)];
            const ApparentFrame& frame = frames.At(jd);
            const Coord3 geo = body == kBodyMoon ? MoonPosition(jd)
                                                 : GeometricPlace(span.Earth(), span.Planet(body), body, jd);
            const Coord3 p = ApparentPlace(frame, geo);
            double ra = p.x;
            if (k > 0) ra += 360.0 * std::nearbyint((v[0][k - 1] - ra) / 360.0);
            v[0][k] = ra;
            v[1][k] = p.y;
            v[2][k] = p.z;
            const double x = (jd - mid) / half;
            m[k][0] = 1.0;
            if (n > 0) m[k][1] = x;
            for (int j = 2; j <= n; ++j) m[k][j] = 2.0 * x * m[k][j - 1] - m[k][j - 2];
        }
        // Gaussian elimination with partial pivoting: sum_j c_j T_j(x_k) = v_k.
        for (int col = 0; col <= n; ++col) {
            int piv = col;
            for (int r = col + 1; r <= n; ++r)
                if (std::fabs(m[r][col]) > std::fabs(m[piv][col])) piv = r;
            if (piv != col) {
                for (int j = 0; j <= n; ++j) std::swap(m[col][j], m[piv][j]);
                for (auto& q : v) std::swap(q[col], q[piv]);
            }
            for (int r = col + 1; r <= n; ++r) {
                const double g = m[r][col] / m[col][col];
                if (g == 0.0) continue;
                for (int j = col; j <= n; ++j) m[r][j] -= g * m[col][j];
                for (auto& q : v) q[r] -= g * q[col];
            }
        }
        for (int q = 0; q < 3; ++q)
            for (int r = n; r >= 0; --r) {
                double s = v[q][r];
                for (int j = r + 1; j <= n; ++j) s -= m[r][j] * f.c[static_cast<std::size_t>(q)][static_cast<std::size_t>(j)];
                f.c[static_cast<std::size_t>(q)][static_cast<std::size_t>(r)] = s / m[r][r];
            }
        fits_.push_back(f);
    }
}

bool EphemerisFit::Has(int body) const {
    return std::any_of(fits_.begin(), fits_.end(), [body](const BodyFit& f) { return f.body == body; });
}

Coord3 EphemerisFit::Position(double jd, int body) const {
    if (!Covers(jd)) return BodyPosition(jd, body);
    for (const BodyFit& f : fits_) {
        if (f.body != body) continue;
        const double half = (end_ - begin_) / 2.0;
        const double x = half > 0.0 ? (jd - (begin_ + end_) / 2.0) / half : 0.0;
        double r[3];
        for (std::size_t q = 0; q < 3; ++q) {
            double b1 = 0.0, b2 = 0.0;
            for (int j = f.n; j >= 1; --j) {
                const double b0 = 2.0 * x * b1 - b2 + f.c[q][static_cast<std::size_t>(j)];
                b2 = b1;
                b1 = b0;
            }
            r[q] = x * b1 - b2 + f.c[q][0];
        }
        return {Norm360(r[0]), r[1], r[2]};
    }
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
