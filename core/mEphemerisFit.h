// Fits of the apparent places of the Sun, the Moon and the planets over runs of
// consecutive hours or days: an hourly almanac page, a year of pages, the hourly
// altitudes of a rise and set search. Each fit is a Chebyshev interpolant of
// (alpha, delta, distance) through exact places at the Chebyshev-Lobatto points
// of its span; the exact places share, per instant, one nutation (ApparentFrame)
// and, per span, one pass over each planetary series (HeliocentricExpansion).
//
// Use:
//   EphemerisFit fit(jd0, jd0 + 1.0, {kBodySun, kBodyMoon});   // one UT day, TT
//   Coord3 sun = fit.Position(jd0 + 5.0 / 24.0, kBodySun);     // as BodyPosition
//
//   DailyEphemeris days(jdOfFirstMidnight, kAllPageBodies);    // any run of days
//   for (...) days.Position(jd, kBodyMars);                    // builds days as met
//
// Accuracy: within 1e-5" (the Moon 1e-4") of BodyPosition in right ascension and declination and
// 1e-11 AU in distance for every span up to kMaxFitSpanDays, 1900-2100 (measured
// by the fit test at random instants; the worst is a few 1e-7").
#pragma once
#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "core/mMath.h"
#include "core/mPlanet.h"

// The longest span one EphemerisFit takes, days.
inline constexpr double kMaxFitSpanDays = 2.5;

// The heliocentric expansions of the Earth and of the planets asked for, over one
// span with a margin for the light time (Neptune's is 0.18 day) before it.
class HeliocentricSpan {
public:
    HeliocentricSpan() = default;
    // Given: jdBegin <= jdEnd TT; bodies (BodyIds; the Sun and the Moon need only
    // the Earth, which is always expanded).
    HeliocentricSpan(double jdBegin, double jdEnd, const std::vector<int>& bodies);
    // True when the expansions cover [jdBegin, jdEnd] (with the light-time margin).
    bool Covers(double jdBegin, double jdEnd) const;
    const HeliocentricExpansion& Earth() const { return earth_; }
    // The expansion of body (1..8); the Earth's for a body not expanded.
    const HeliocentricExpansion& Planet(int body) const;

private:
    double begin_ = 0.0, end_ = 0.0;
    HeliocentricExpansion earth_;
    std::array<HeliocentricExpansion, 10> planet_{};
    std::array<bool, 10> has_{};
};

class EphemerisFit {
public:
    EphemerisFit() = default;
    // Given: jdBegin < jdEnd, TT Julian dates at most kMaxFitSpanDays apart; bodies,
    // BodyIds 0..2 and 4..9 (others are ignored). Computes the fits at once. A span
    // that is empty, longer than kMaxFitSpanDays or not finite fits nothing.
    EphemerisFit(double jdBegin, double jdEnd, const std::vector<int>& bodies);
    // The same from expansions that cover the span (DailyEphemeris shares them
    // between the days of a block).
    EphemerisFit(double jdBegin, double jdEnd, const std::vector<int>& bodies, const HeliocentricSpan& span);

    double Begin() const { return begin_; }
    double End() const { return end_; }
    // True when jd lies in [Begin, End].
    bool Covers(double jd) const { return jd >= begin_ && jd <= end_; }
    bool Has(int body) const;

    // Given: jd TT; body, a BodyId.
    // Returned: the apparent place as BodyPosition(jd, body) gives it: alpha
    // [0, 360) and delta in degrees, distance in AU, within the accuracy above.
    // Outside the span or for a body not fitted, BodyPosition(jd, body) itself.
    Coord3 Position(double jd, int body) const;
    // Given: jd TT; lon degrees east.
    // Returned: SiderealTime(jd, lon), degrees [0, 360), with the nutation taken
    // from a fit through the frames of the fit's points (within 1e-9" of it); an
    // instant whose UT lies outside the span (or a fit of no body) is computed
    // directly.
    double SiderealTime(double jd, double lon) const;

    // Points of the fit of each body (the Moon takes twice the points of the
    // Sun and planets), for a span of that many days.
    static int PointsFor(int body, double spanDays);

private:
    static constexpr int kMaxPoints = 33;  // Lobatto points of the Moon's longest span
    struct BodyFit {
        int body = -1;
        int n = 0;  // degree: n + 1 points
        std::array<std::array<double, kMaxPoints>, 3> c{};
    };
    // How far (in half spans) outside its points the nutation fit may be taken.
    static constexpr double kSiderealExtrapolation = 0.01;
    void Build(const std::vector<int>& bodies, const HeliocentricSpan& span);
    static void Solve(int n, const double* x, std::array<double, kMaxPoints>* v, std::size_t count,
                      std::array<double, kMaxPoints>* c);
    static double Clenshaw(const std::array<double, kMaxPoints>& c, int n, double x);

    double begin_ = 0.0, end_ = 0.0;
    std::vector<BodyFit> fits_;
    int nutationDegree_ = 0;  // 0: no nutation fit
    std::array<std::array<double, kMaxPoints>, 2> nutation_{};  // dpsi, true obliquity
};

// Fits of consecutive days of a fixed length from one anchor: day k covers
// [jdAnchor + k * dayDays, jdAnchor + (k + 1) * dayDays]. Days are built when
// first asked for; the planetary expansions are shared by blocks of four days;
// the days last asked for are kept (a page, a rise and set search and its
// neighbours), older ones dropped. Not thread-safe (one per thread).
class DailyEphemeris {
public:
    DailyEphemeris(double jdAnchor, std::vector<int> bodies, double dayDays = 1.0);
    // The fit of day k.
    const EphemerisFit& Day(long k);
    // The day whose span holds jd.
    long DayOf(double jd) const;
    // Given: jd TT; body.  Returned: Day(DayOf(jd)).Position(jd, body).
    Coord3 Position(double jd, int body) { return Day(DayOf(jd)).Position(jd, body); }

private:
    static constexpr long kBlockDays = 4;
    static constexpr std::size_t kKeptDays = 8;
    const HeliocentricSpan& Block(long b);

    double anchor_, dayDays_;
    std::vector<int> bodies_;
    std::map<long, EphemerisFit> days_;
    std::map<long, std::unique_ptr<HeliocentricSpan>> blocks_;
};
