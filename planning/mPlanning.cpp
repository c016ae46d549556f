#include "planning/mPlanning.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "fix/mSailing.h"
#include "riseset/mRiseSet.h"

namespace {

constexpr double kMinutesPerSight = 2.0;       // time allowed for each sight of a plan
// The score of a set, in points: half a point per degree an azimuth gap misses its
// ideal (a cut of 110 instead of 120 degrees costs little accuracy), two per degree
// of altitude outside 30..70 (refraction and the horizon below, the vertical
// swing above), five per magnitude fainter than 1 (a faint star is late to show and
// hard to hold on a twilight horizon).
constexpr double kSpreadPointsPerDeg = 0.5;
constexpr double kAltitudePointsPerDeg = 2.0;
constexpr double kFaintPointsPerMag = 5.0;
constexpr double kFaintFreeMagnitude = 1.0;
constexpr int kMaxNewtonSteps = 30;
constexpr double kLatitudeToleranceArcmin = 1e-6;
constexpr double kPlanningPasses = 3;  // twilight recomputed at the DR run to the last answer

double Wrap180(double a) {
    a = Norm360(a);
    return a > 180.0 ? a - 360.0 : a;
}

std::string Fmt(const char* format, double a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a);
    return buf;
}

}  // namespace

LatLon RunAlongCourse(const LatLon& from, double course, double speed, double hours) {
    // The rhumb line (fix/mSailing), the dead reckoning of the fix.
    LatLon p = ::RunAlongCourse(from.Lat, from.Lon, course, speed * hours);
    if (p.Lat > 90.0) p = LatLon{180.0 - p.Lat, p.Lon + 180.0};
    if (p.Lat < -90.0) p = LatLon{-180.0 - p.Lat, p.Lon + 180.0};
    p.Lon = Wrap180(p.Lon);
    return p;
}

// ------------------------------------------------------------ twilight plan
TwilightPlan PlanTwilight(bool morning, DateValue fromUt, const LatLon& dr, DateValue drUt, double course,
                          double speed, const Horizon& horizon) {
    TwilightPlan plan;
    plan.Position = RunAlongCourse(dr, course, speed, (fromUt - drUt) * 24.0);
    for (int pass = 0; pass < kPlanningPasses; ++pass) {
        const RiseSetResult n = TwilightTimes(fromUt, plan.Position.Lat, plan.Position.Lon, false, false, horizon);
        const RiseSetResult c = TwilightTimes(fromUt, plan.Position.Lat, plan.Position.Lon, true, false, horizon);
        const bool haveN = morning ? n.HasRise() : n.HasSet();
        const bool haveC = morning ? c.HasRise() : c.HasSet();
        if (!haveN || !haveC) {
            const bool darkAllDay = (n.AlwaysBelow() || c.AlwaysBelow()) && !haveC;
            plan.Message = std::string("No ") + (morning ? "morning" : "evening") +
                           " twilight with a visible horizon at this position in the 24 hours searched: " +
                           (darkAllDay ? "the Sun stays too low (polar night)."
                                       : "the sky stays too light (the Sun does not go down to 12 degrees below the horizon).");
            return plan;
        }
        plan.Nautical = morning ? n.Rise : n.Set;
        plan.Civil = morning ? c.Rise : c.Set;
        plan.Observe = (plan.Nautical + plan.Civil) / 2.0;
        plan.Position = RunAlongCourse(dr, course, speed, (plan.Observe - drUt) * 24.0);
    }
    return plan;
}

// ------------------------------------------------------------ bodies in view
double PlanetMagnitude(double jd, int body) {
    const Coord3 sun = BodyPosition(jd, 0);
    const Coord3 p = BodyPosition(jd, body);
    const double R = sun.z, D = p.z;
    const double cosPsi = SinD(sun.y) * SinD(p.y) + CosD(sun.y) * CosD(p.y) * CosD(sun.x - p.x);
    const double psi = RadToDeg(std::acos(std::clamp(cosPsi, -1.0, 1.0)));  // elongation
    if (body == 9) {
        const double i = std::fabs(RadToDeg(std::atan2(R * SinD(psi), D - R * CosD(psi))));
        return -12.73 + 0.026 * i + 4e-9 * std::pow(i, 4);
    }
    const double r = std::sqrt(std::max(0.0, R * R + D * D - 2.0 * R * D * cosPsi));
    const double cosI = (r * r + D * D - R * R) / (2.0 * r * D);
    const double i = RadToDeg(std::acos(std::clamp(cosI, -1.0, 1.0)));
    const double m = 5.0 * std::log10(r * D);
    switch (body) {
        case 1: return -0.42 + m + 0.0380 * i - 0.000273 * i * i + 0.000002 * i * i * i;
        case 2: return -4.40 + m + 0.0009 * i + 0.000239 * i * i - 0.00000065 * i * i * i;
        case 4: return -1.52 + m + 0.016 * i;
        case 5: return -9.40 + m + 0.005 * i;
        case 6: return -8.88 + m;
        default: return 99.0;
    }
}

std::vector<PlanBody> BodiesInView(DateValue ut, double lat, double lon, const NavigationStateRecord& working) {
    std::vector<PlanBody> out;
    auto consider = [&](BodyCode code, const std::string& name, double magnitude) {
        const SightReduction r = ReduceSight(code, ut, 0.0, true, lat, lon, working);
        if (!(r.Hc >= kPlanMinAltitudeDeg && r.Hc <= kPlanMaxAltitudeDeg)) return;
        PlanBody b;
        b.Code = code;
        b.Name = name;
        b.Hc = r.Hc;
        b.Zn = r.Az;
        b.Magnitude = magnitude;
        b.PresetHs = r.PresetHs();
        out.push_back(b);
    };
    for (int i = 1; i <= kStarCount; ++i) {
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        if (s.NavNumber < 1 || s.Number <= 0) continue;
        consider(s.Number, s.Name.empty() ? StarName(i) : s.Name, s.Magnitude);
    }
    const double jd = JulianDay(ut, false, false);
    const std::vector<std::string>& names = BodyNames();
    for (int k : {2, 3, 4, 5, 8}) {  // display indexes: Venus, Mars, Jupiter, Saturn, Moon
        const int id = BodyIdOfCode(-k);
        consider(-k, k < static_cast<int>(names.size()) ? names[static_cast<size_t>(k)] : std::string(),
                 PlanetMagnitude(jd, id));
    }
    std::sort(out.begin(), out.end(), [](const PlanBody& a, const PlanBody& b) { return a.Zn < b.Zn; });
    return out;
}

// ------------------------------------------------------------ best sets
namespace {

// Azimuth gaps of bodies already ordered by azimuth, round the horizon.
std::vector<double> Gaps(const std::vector<PlanBody>& b) {
    std::vector<double> g;
    for (size_t i = 0; i < b.size(); ++i) {
        const double next = i + 1 < b.size() ? b[i + 1].Zn : b[0].Zn + 360.0;
        g.push_back(next - b[i].Zn);
    }
    return g;
}

}  // namespace

double BodySetScore(const std::vector<PlanBody>& bodies) {
    if (bodies.empty()) return 0.0;
    std::vector<PlanBody> b = bodies;
    std::sort(b.begin(), b.end(), [](const PlanBody& x, const PlanBody& y) { return x.Zn < y.Zn; });
    const double ideal = 360.0 / static_cast<double>(b.size());
    double score = 0.0;
    for (double g : Gaps(b)) score += kSpreadPointsPerDeg * std::fabs(g - ideal);
    for (const PlanBody& x : b) {
        score += kAltitudePointsPerDeg * (std::max(0.0, kPlanGoodMinDeg - x.Hc) + std::max(0.0, x.Hc - kPlanGoodMaxDeg));
        score += kFaintPointsPerMag * std::max(0.0, x.Magnitude - kFaintFreeMagnitude);
    }
    return score;
}

BodySet BestBodySet(const std::vector<PlanBody>& candidates, int count) {
    BodySet best;
    const int n = static_cast<int>(candidates.size());
    if (count < 2 || n < count) return best;
    std::vector<int> idx(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) idx[static_cast<size_t>(i)] = i;
    bool first = true;
    std::vector<PlanBody> chosen(static_cast<size_t>(count));
    while (true) {
        for (int i = 0; i < count; ++i) chosen[static_cast<size_t>(i)] = candidates[static_cast<size_t>(idx[static_cast<size_t>(i)])];
        const double s = BodySetScore(chosen);
        if (first || s < best.Score) {
            best.Score = s;
            best.Index = idx;
            first = false;
        }
        int k = count - 1;
        while (k >= 0 && idx[static_cast<size_t>(k)] == n - count + k) --k;
        if (k < 0) break;
        ++idx[static_cast<size_t>(k)];
        for (int j = k + 1; j < count; ++j) idx[static_cast<size_t>(j)] = idx[static_cast<size_t>(j - 1)] + 1;
    }
    std::sort(best.Index.begin(), best.Index.end(), [&](int a, int b) {
        return candidates[static_cast<size_t>(a)].Zn < candidates[static_cast<size_t>(b)].Zn;
    });
    std::vector<PlanBody> b;
    for (int i : best.Index) b.push_back(candidates[static_cast<size_t>(i)]);
    std::string text = "Zn spread ";
    const std::vector<double> g = Gaps(b);
    for (size_t i = 0; i < g.size(); ++i) text += (i ? "/" : "") + Fmt("%.0f\xC2\xB0", g[i]);
    double low = 90.0, bright = 99.0, faint = -99.0;
    for (const PlanBody& x : b) {
        low = std::min(low, x.Hc);
        bright = std::min(bright, x.Magnitude);
        faint = std::max(faint, x.Magnitude);
    }
    text += ", all above " + Fmt("%.0f\xC2\xB0", std::floor(low)) + ", mag " + Fmt("%.1f", bright) + " to " +
            Fmt("%.1f", faint);
    best.Explanation = text;
    return best;
}

std::vector<PlannedSight> PlanSights(const std::vector<PlanBody>& candidates, const BodySet& set, DateValue observeUt,
                                     const LatLon& drAtObserve, double course, double speed,
                                     const NavigationStateRecord& working) {
    std::vector<PlannedSight> out;
    const double n = static_cast<double>(set.Index.size());
    // Whole minutes of UT, as a navigator reads a watch: the centre taken to the
    // nearest minute (the spacing is whole minutes).
    const DateValue centre = std::round(observeUt * 1440.0) / 1440.0;
    for (size_t k = 0; k < set.Index.size(); ++k) {
        const PlanBody& b = candidates[static_cast<size_t>(set.Index[k])];
        PlannedSight s;
        s.Code = b.Code;
        const double minutes = (static_cast<double>(k) - (n - 1.0) / 2.0) * kMinutesPerSight;
        s.Ut = std::round((centre + minutes / 1440.0) * 86400.0) / 86400.0;
        const LatLon p = RunAlongCourse(drAtObserve, course, speed, (s.Ut - observeUt) * 24.0);
        s.PresetHs = ReduceSight(b.Code, s.Ut, 0.0, true, p.Lat, p.Lon, working).PresetHs();
        out.push_back(s);
    }
    return out;
}

// ------------------------------------------------------------ noon
NoonTime LocalApparentNoon(DateValue zoneDay, const LatLon& dr, DateValue drUt, double course,
                           double speed) {
    NoonTime noon;
    const double day = std::floor(zoneDay);
    // Local mean noon at the DR: within about an hour of the zone's noon (tz ~ lon/15).
    const DateValue guess = day + 0.5 - dr.Lon / 360.0;
    // The Sun's upper meridian passage at the ship as she runs: the rise and set
    // window's transit, for the ship's longitude at each instant.
    const auto lonAt = [&](DateValue t) { return RunAlongCourse(dr, course, speed, (t - drUt) * 24.0).Lon; };
    const DateValue t = MeridianPassage(
        guess, 0.0, 0, [](double jd) { return BodyPosition(jd, 0); },
        [](double jd) { return SiderealTime(jd, 0.0); }, lonAt);
    if (!std::isfinite(t)) {
        noon.Message =
            "The Sun's meridian passage was not found for this day (the ship outruns the Sun's hour angle).";
        return noon;
    }
    noon.Ut = t;
    noon.Position = RunAlongCourse(dr, course, speed, (t - drUt) * 24.0);
    noon.Dec = BodyPosition(JulianDay(t, false, false), 0).y;
    return noon;
}

MeridianLatitude NoonLatitude(const NoonTime& noon, double hs, bool lowerLimb, const NavigationStateRecord& working) {
    MeridianLatitude m;
    if (!noon.Message.empty()) {
        m.Message = noon.Message;
        return m;
    }
    double lat = noon.Position.Lat;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        m.R = ReduceSight(0, noon.Ut, hs, lowerLimb, lat, noon.Position.Lon, working);
        // On the meridian the altitude changes by cos(Zn) per degree of latitude: +-1.
        const double toward = CosD(m.R.Az) >= 0.0 ? 1.0 : -1.0;
        lat += toward * m.R.Intercept / 60.0;
        if (std::fabs(m.R.Intercept) < kLatitudeToleranceArcmin) break;
    }
    m.Ho = m.R.Hc + m.R.Intercept / 60.0;
    m.Zenith = 90.0 - m.Ho;
    m.BodyNorth = CosD(m.R.Az) >= 0.0;
    m.Lat = lat;
    if (!(m.Ho > 0.0) || !(std::fabs(lat) <= 90.0)) {
        m.Message = "The altitude puts the Sun below the horizon at noon: no latitude.";
    }
    return m;
}

// ------------------------------------------------------------ Polaris
PolarisLatitude LatitudeByPolaris(DateValue ut, double hs, const LatLon& dr, const NavigationStateRecord& working) {
    PolarisLatitude p;
    if (StarIndex(kPolarisNumber) == 0) {
        p.Message = "Polaris is not in the star catalogue.";
        return p;
    }
    if (dr.Lat < 0.0) {
        p.Message = "The DR position is in the southern hemisphere: Polaris is below the horizon there. "
                    "Use a meridian altitude or a fix instead.";
        return p;
    }
    double lat = dr.Lat;
    bool converged = false;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        p.R = ReduceSight(kPolarisNumber, ut, hs, true, lat, dr.Lon, working);
        const double slope = CosD(p.R.Az);  // d Hc / d latitude
        if (!(slope > 0.1)) break;
        lat += p.R.Intercept / 60.0 / slope;
        if (lat > 90.0 || lat < -10.0) break;
        if (std::fabs(p.R.Intercept) < kLatitudeToleranceArcmin) {
            converged = true;
            break;
        }
    }
    p.Ho = p.R.Hc + p.R.Intercept / 60.0;
    p.Lat = lat;
    p.Correction = (p.Lat - p.Ho) * 60.0;
    if (!converged || !(p.Ho > 0.0) || p.Lat < 0.0) {
        p.Message = "This altitude puts Polaris below the horizon at this time (observed altitude " +
                    Fmt("%.1f", p.Ho) + " degrees): no latitude.";
    }
    return p;
}
