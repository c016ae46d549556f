#include "fix/mSession.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/mMath.h"
#include "core/mStatistics.h"

namespace {

// A determinant below this fraction of the squared trace: the lines do not cross.
constexpr double kSingularRelative = 1e-12;
// A line whose redundancy is below this is all but alone in fixing a direction.
constexpr double kMinRedundancy = 0.05;
// Two flagged lines whose normalised residuals agree within this share are alike.
constexpr double kAlikeShare = 0.10;

struct Normal {
    double cc = 0.0, cs = 0.0, ss = 0.0, cp = 0.0, sp = 0.0;
    void Add(double az, double p, double w) {
        const double c = CosD(az), s = SinD(az);
        cc += w * c * c;
        cs += w * c * s;
        ss += w * s * s;
        cp += w * c * p;
        sp += w * s * p;
    }
    double Det() const { return cc * ss - cs * cs; }
    bool Singular() const {
        const double tr = cc + ss;
        return !(Det() > kSingularRelative * tr * tr);
    }
    void Solve(double& dN, double& dE) const {
        const double g = Det();
        dN = (ss * cp - cs * sp) / g;
        dE = (cc * sp - cs * cp) / g;
    }
    // a^T N^-1 a for the unit vector of azimuth az.
    double Leverage(double az) const {
        const double c = CosD(az), s = SinD(az);
        return (ss * c * c - 2.0 * cs * c * s + cc * s * s) / Det();
    }
    ErrorEllipse Ellipse() const {
        ErrorEllipse e;
        const double tr = cc + ss, d = cc - ss;
        const double S = std::sqrt(d * d + 4.0 * cs * cs);
        const double g = Det();
        e.A = std::sqrt((tr + S) / (2.0 * g));
        e.B = std::sqrt(2.0 / (tr + S));
        if (S > 1e-9 * tr) {
            const double theta = 0.5 * RadToDeg(std::atan2(2.0 * cs, d));  // best determined
            e.Azimuth = std::fmod(theta + 90.0 + 360.0, 180.0);
        }
        return e;
    }
};

// Mean direction of azimuths (degrees), weighted equally.
double MeanAzimuth(const std::vector<double>& az) {
    double c = 0.0, s = 0.0;
    for (double a : az) {
        c += CosD(a);
        s += SinD(a);
    }
    return Norm360(RadToDeg(std::atan2(s, c)));
}

// The series of the used shots, in time order.
std::vector<SessionLine> FormSeries(const std::vector<SessionShot>& shots) {
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(shots.size()); ++i)
        if (shots[static_cast<size_t>(i)].Use && LineInUse(shots[static_cast<size_t>(i)].Body)) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return shots[static_cast<size_t>(a)].Minutes < shots[static_cast<size_t>(b)].Minutes;
    });
    std::vector<SessionLine> lines;
    for (int i : order) {
        const SessionShot& s = shots[static_cast<size_t>(i)];
        SessionLine* home = nullptr;
        for (SessionLine& l : lines) {
            if (l.Body != s.Body) continue;
            const double last = shots[static_cast<size_t>(l.Shots.back())].Minutes;
            if (s.Minutes - last <= kSeriesGapMinutes) home = &l;
        }
        if (!home) {
            lines.emplace_back();
            home = &lines.back();
            home->Body = s.Body;
        }
        home->Shots.push_back(i);
    }
    return lines;
}

// The mean of the series, its offsets and its within-series sum of squares.
double FitSeries(const std::vector<SessionShot>& shots, SessionLine& l) {
    const size_t m = l.Shots.size();
    std::vector<double> az;
    double p = 0.0, t = 0.0;
    for (int i : l.Shots) {
        const SessionShot& s = shots[static_cast<size_t>(i)];
        p += s.Intercept;
        t += s.Minutes;
        az.push_back(s.Az);
    }
    l.Intercept = p / static_cast<double>(m);
    l.Minutes = t / static_cast<double>(m);
    l.Az = MeanAzimuth(az);
    l.Weight = static_cast<double>(m);
    double ss = 0.0;
    l.ShotOffset.clear();
    for (int i : l.Shots) {
        const double o = shots[static_cast<size_t>(i)].Intercept - l.Intercept;
        l.ShotOffset.push_back(o);
        ss += o * o;
    }
    l.Scatter = m >= 2 ? std::sqrt(ss / static_cast<double>(m - 1)) : 0.0;
    return ss;
}

// The shot of a series of three or more that stands out, if any.
void TestSeries(SessionLine& l) {
    const size_t m = l.Shots.size();
    if (m < 3) return;
    const double md = static_cast<double>(m);
    const double crit = StudentTQuantile(1.0 - kBlunderAlpha / (2.0 * md), md - 2.0);
    double sum = 0.0;
    for (double o : l.ShotOffset) sum += o;
    double best = 0.0;
    for (size_t k = 0; k < m; ++k) {
        // The other shots' mean and scatter.
        const double mean = (sum - l.ShotOffset[k]) / (md - 1.0);
        double ss = 0.0;
        for (size_t j = 0; j < m; ++j)
            if (j != k) ss += (l.ShotOffset[j] - mean) * (l.ShotOffset[j] - mean);
        const double s = std::max(std::sqrt(ss / (md - 2.0)), kSightSigmaFloorArcmin);
        const double dev = l.ShotOffset[k] - mean;
        const double t = dev / (s * std::sqrt(1.0 + 1.0 / (md - 1.0)));
        if (std::fabs(t) > crit && std::fabs(dev) > kBlunderFloorArcmin && std::fabs(t) > best) {
            best = std::fabs(t);
            l.OutlierShot = static_cast<int>(k);
            l.OutlierShotT = t;
        }
    }
}

// Weighted least squares of the lines (means of their series). False when they do not cross.
bool SolveLines(const std::vector<SessionLine>& lines, int skip, double& dN, double& dE) {
    Normal n;
    int count = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(i) == skip) continue;
        n.Add(lines[i].Az, lines[i].Intercept, lines[i].Weight);
        ++count;
    }
    if (count < 2 || n.Singular()) return false;
    n.Solve(dN, dE);
    return std::isfinite(dN) && std::isfinite(dE);
}

}  // namespace

ErrorEllipse ScaledRegion(const ErrorEllipse& geometric, double sigma, int dof) {
    const double k = sigma * std::sqrt(2.0 * FQuantile2(kRegionProbability, dof));
    return ErrorEllipse{geometric.A * k, geometric.B * k, geometric.Azimuth};
}

bool EllipseHolds(const ErrorEllipse& e, double dN, double dE) {
    if (!(e.A > 0.0) || !(e.B > 0.0)) return false;
    // Along the major axis (azimuth) and across it.
    const double u = dN * CosD(e.Azimuth) + dE * SinD(e.Azimuth);
    const double v = -dN * SinD(e.Azimuth) + dE * CosD(e.Azimuth);
    return (u / e.A) * (u / e.A) + (v / e.B) * (v / e.B) <= 1.0;
}

DateValue MarkUT(DateValue computerUT, double clockErrorSeconds) { return computerUT - clockErrorSeconds / 86400.0; }

SessionSolution SolveSession(const std::vector<SessionShot>& shots) {
    SessionSolution sol;
    sol.Lines = FormSeries(shots);
    if (sol.Lines.size() < 2) {
        sol.Refusal = kInsufficientLines;
        return sol;
    }
    double within = 0.0;
    std::vector<double> withinOf;
    for (SessionLine& l : sol.Lines) {
        withinOf.push_back(FitSeries(shots, l));
        within += withinOf.back();
        TestSeries(l);
        sol.ShotsUsed += static_cast<int>(l.Shots.size());
    }
    Normal n;
    for (const SessionLine& l : sol.Lines) n.Add(l.Az, l.Intercept, l.Weight);
    if (n.Singular()) {
        sol.Refusal = "the lines of position do not cross: their azimuths are equal or opposite.";
        return sol;
    }
    n.Solve(sol.dN, sol.dE);
    if (!std::isfinite(sol.dN) || !std::isfinite(sol.dE)) {
        sol.Refusal = "the solution overflows: the lines of position hardly cross.";
        return sol;
    }
    sol.Geometric = n.Ellipse();

    // Residuals and the observed scatter of one sight.
    double rss = 0.0;
    for (SessionLine& l : sol.Lines) {
        l.Residual = l.Intercept - (sol.dN * CosD(l.Az) + sol.dE * SinD(l.Az));
        l.Redundancy = 1.0 - l.Weight * n.Leverage(l.Az);
        rss += l.Weight * l.Residual * l.Residual;
    }
    sol.Dof = sol.ShotsUsed - 2;
    if (sol.Dof >= 1) {
        sol.Sigma = std::sqrt((rss + within) / sol.Dof);
        sol.HasRegion = true;
        sol.Region95 = ScaledRegion(sol.Geometric, sol.Sigma, sol.Dof);
    }

    // Each line against the others; the critical value depends on the degrees of
    // freedom left, the same for every line of as many shots.
    const double nLines = static_cast<double>(sol.Lines.size());
    std::vector<double> critOfDof(static_cast<size_t>(sol.Dof) + 1, 0.0);
    std::vector<double> normalised(sol.Lines.size(), 0.0);
    for (size_t i = 0; i < sol.Lines.size(); ++i) {
        SessionLine& l = sol.Lines[i];
        if (l.Redundancy < kMinRedundancy) continue;
        const double u2 = l.Weight * l.Residual * l.Residual / l.Redundancy;
        const int dofOut = sol.Dof - static_cast<int>(l.Shots.size());
        if (dofOut < 1) continue;
        const double ssOut = std::max(rss - u2, 0.0) + within - withinOf[i];
        const double s = std::max(std::sqrt(ssOut / dofOut), kSightSigmaFloorArcmin);
        normalised[i] = std::sqrt(u2) * (l.Residual < 0.0 ? -1.0 : 1.0);
        l.T = normalised[i] / s;
        double& crit = critOfDof[static_cast<size_t>(dofOut)];
        if (crit == 0.0) crit = StudentTQuantile(1.0 - kBlunderAlpha / (2.0 * nLines), dofOut);
        l.Outlier = std::fabs(l.T) > crit && std::fabs(l.Residual) > kBlunderFloorArcmin;
    }
    for (size_t i = 0; i < sol.Lines.size(); ++i) {
        if (!sol.Lines[i].Outlier) continue;
        for (size_t j = 0; j < sol.Lines.size(); ++j) {
            if (j == i || !sol.Lines[j].Outlier) continue;
            const double a = std::fabs(normalised[i]), b = std::fabs(normalised[j]);
            if (std::fabs(a - b) <= kAlikeShare * std::max(a, b)) sol.Lines[i].CannotTellFrom.push_back(static_cast<int>(j));
        }
    }

    // The fix without each flagged line, and without each shot that stands out.
    for (size_t i = 0; i < sol.Lines.size(); ++i) {
        const SessionLine& l = sol.Lines[i];
        if (l.Outlier) {
            FixWithout w;
            w.Line = static_cast<int>(i);
            w.Ok = SolveLines(sol.Lines, w.Line, w.dN, w.dE);
            sol.Without.push_back(w);
        }
        if (l.OutlierShot >= 0) {
            std::vector<SessionLine> lines = sol.Lines;
            SessionLine& s = lines[i];
            FixWithout w;
            w.Line = static_cast<int>(i);
            w.Shot = s.Shots[static_cast<size_t>(s.OutlierShot)];
            s.Shots.erase(s.Shots.begin() + s.OutlierShot);
            FitSeries(shots, s);
            w.Ok = SolveLines(lines, -1, w.dN, w.dE);
            sol.Without.push_back(w);
        }
    }
    return sol;
}
