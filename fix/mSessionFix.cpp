#include "fix/mSessionFix.h"

#include <cmath>

#include "core/mFault.h"
#include "core/mMath.h"
#include "core/mStar.h"
#include "core/mWorkingData.h"
#include "core/mSailing.h"

namespace {

// The stars' sights within this of one frame's instant share it (days).
constexpr double kSharedStarFrameDays = 1.0 / 24.0;

// The working data the reduction takes: the session's air, eye and index.
NavigationStateRecord WorkingOf(const SessionConditions& c) {
    NavigationStateRecord w = DefaultNavigationState();
    w.Temp = static_cast<float>(c.Temp);
    w.Pressure = static_cast<float>(c.Pressure);
    w.hEye = static_cast<float>(c.HeightOfEye);
    w.i_s = static_cast<float>(c.IndexArcmin);
    w.Lat = c.DRLat;
    w.Lon = c.DRLon;
    w.Course = static_cast<float>(c.Course);
    w.Speed = static_cast<float>(c.Speed);
    return w;
}

double FoldLon(double lon) {
    double r = std::remainder(lon, 360.0);
    return r <= -180.0 ? r + 360.0 : r;
}

std::string SightName(const std::vector<SessionSight>& sights, size_t i) {
    return "Sight " + std::to_string(SightNumber(sights[i], i)) + ": ";
}

}  // namespace

LatLon OffsetPosition(double lat, double lon, double dN, double dE) {
    double la = lat + dN / 60.0, lo = lon + dE / 60.0 / CosD(lat);
    if (la > 90.0) {
        la = 180.0 - la;
        lo += 180.0;
    } else if (la < -90.0) {
        la = -180.0 - la;
        lo += 180.0;
    }
    return LatLon{la, FoldLon(lo)};
}

SessionFix CalcSession(const std::vector<SessionSight>& sights, const SessionConditions& c, int maxPasses) {
    const NavigationStateRecord working = WorkingOf(c);
    SessionFix fix;
    fix.Conditions = c;
    fix.Sights = sights;
    fix.APLat = c.DRLat;
    fix.APLon = c.DRLon;
    const size_t n = sights.size();
    for (size_t i = 0; i < n; ++i) {
        const BodyCode code = sights[i].Body;
        if (IsStarCode(code) ? StarIndex(code) == 0 : (code > 0 || code < -8)) {
            fix.Refusal = SightName(sights, i) + "no body has the code " + std::to_string(code) + ".";
            return fix;
        }
    }
    // The places depend on the instants alone: computed once, the stars' with one
    // frame for the sights within an hour of its instant.
    std::vector<SightPlace> places(n);
    std::vector<StarFrame> frames;
    for (size_t i = 0; i < n; ++i) {
        const SessionSight& s = sights[i];
        try {
            if (!IsStarCode(s.Body)) {
                places[i] = PlaceOfSight(s.Body, s.UT);
                continue;
            }
            const double jd = JulianDay(s.UT, false, false);
            const StarFrame* frame = nullptr;
            for (const StarFrame& f : frames)
                if (std::fabs(f.frame.jd - jd) <= kSharedStarFrameDays) frame = &f;
            if (!frame) {
                frames.push_back(StarFrameAt(jd));
                frame = &frames.back();
            }
            places[i] = PlaceOfStarSight(s.Body, s.UT, *frame);
        } catch (const ArithmeticFault& e) {
            fix.Refusal = SightName(sights, i) + e.what();
            return fix;
        }
    }
    std::vector<SessionShot> shots(n);
    const int passes = maxPasses < 1 ? 1 : maxPasses;
    for (int pass = 0; pass < passes; ++pass) {
        fix.Reduced.assign(n, SightReduction{});
        fix.LinePos.assign(n, LatLon{});
        for (size_t i = 0; i < n; ++i) {
            const SessionSight& s = sights[i];
            const double runNm = c.Speed * (c.FixUT - s.UT) * 24.0;
            const LatLon back = RunAlongCourse(LatLon{fix.APLat, fix.APLon}, c.Course, -runNm);
            fix.LinePos[i] = OffsetPosition(back.Lat, back.Lon, 0.0, 0.0);
            try {
                fix.Reduced[i] = ReduceSightAt(places[i], s.Hs, s.LowerLimb, fix.LinePos[i].Lat, fix.LinePos[i].Lon,
                                               working);
            } catch (const ArithmeticFault& e) {
                fix.Refusal = SightName(sights, i) + e.what();
                return fix;
            }
            if (!std::isfinite(fix.Reduced[i].Intercept)) {
                fix.Refusal = SightName(sights, i) + "its reduction gives no finite intercept.";
                return fix;
            }
            shots[i] = SessionShot{s.Body, (s.UT - c.FixUT) * 1440.0, fix.Reduced[i].Az, fix.Reduced[i].Intercept, s.Use};
        }
        if (pass == 0) {
            fix.ReducedDR = fix.Reduced;
            fix.LinePosDR = fix.LinePos;
        }
        fix.Solution = SolveSession(shots);
        fix.Passes = pass + 1;
        if (!fix.Solution.Refusal.empty()) {
            fix.Refusal = fix.Solution.Refusal;
            return fix;
        }
        const LatLon p = OffsetPosition(fix.APLat, fix.APLon, fix.Solution.dN, fix.Solution.dE);
        fix.FixLat = p.Lat;
        fix.FixLon = p.Lon;
        const double moved = std::hypot(fix.Solution.dN, fix.Solution.dE);
        if (moved > 5400.0) {
            fix.Refusal = "the fix would lie more than 90 degrees from the dead reckoning position: the lines of "
                          "position hardly cross.";
            return fix;
        }
        if (moved < kSessionConvergedNm || pass + 1 == passes) break;
        fix.APLat = p.Lat;
        fix.APLon = p.Lon;
    }
    const SessionSolution& sol = fix.Solution;
    fix.ShotResidual.assign(n, 0.0);
    fix.ShotLine.assign(n, -1);
    fix.ShotOutlier.assign(n, false);
    for (size_t l = 0; l < sol.Lines.size(); ++l) {
        const SessionLine& line = sol.Lines[l];
        for (size_t k = 0; k < line.Shots.size(); ++k) {
            const size_t i = static_cast<size_t>(line.Shots[k]);
            fix.ShotLine[i] = static_cast<int>(l);
            fix.ShotResidual[i] = shots[i].Intercept - (sol.dN * CosD(shots[i].Az) + sol.dE * SinD(shots[i].Az));
            fix.ShotOutlier[i] = line.Outlier || line.OutlierShot == static_cast<int>(k);
        }
    }
    for (const FixWithout& w : sol.Without)
        fix.WithoutPos.push_back(w.Ok ? OffsetPosition(fix.APLat, fix.APLon, w.dN, w.dE) : LatLon{c.DRLat, c.DRLon});
    return fix;
}
