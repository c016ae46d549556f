// Measures what truncating the VSOP87D series costs: for a list of amplitude
// cut-offs, the number of terms kept and the worst heliocentric error of the
// truncated series against the full series over 1900-2100, for every planet.
//
// The error of one planet at one instant is |r_full - r_truncated| / R_full,
// the displacement of the heliocentric position seen from the Sun, in arc
// seconds; it covers longitude, latitude and radius vector together.
//
// Usage: measure_truncation data/vsop87d.csv [step_days]
// Prints two Markdown tables: the rule of planet.bin (|A| tau^p, over the mean
// distance for R) and, for comparison, the plain rule |A| >= cut-off.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/vsop_source.h"

namespace {

constexpr double kJd1900 = 2415020.5;   // 1900-01-01 0h TT
constexpr double kJd2100 = 2488069.5;   // 2100-01-01 0h TT
constexpr double kRadToArcsec = 180.0 / 3.14159265358979323846 * 3600.0;

struct Result {
    size_t terms = 0;
    double worst = 0;     // arcsec
    int worstPlanet = 0;
    double worstJd = 0;
};

void ToRect(double l, double b, double r, double v[3]) {
    v[0] = r * std::cos(b) * std::cos(l);
    v[1] = r * std::cos(b) * std::sin(l);
    v[2] = r * std::sin(b);
}

std::vector<Result> Measure(const vsop::Series& s, const std::vector<double>& cutoffs, bool plainRule,
                            double stepDays) {
    const size_t J = cutoffs.size();
    std::vector<Result> res(J);
    // Band of each term: the first cut-off index at which it is dropped (J: never).
    struct BandTerm {
        vsop::Term t;
        size_t band;
    };
    std::array<std::array<std::array<std::vector<BandTerm>, 6>, 3>, vsop::kPlanets> bt;
    for (int pl = 0; pl < vsop::kPlanets; ++pl)
        for (int k = 0; k < 3; ++k)
            for (int p = 0; p < 6; ++p)
                for (const auto& t : s.terms[pl][k][p]) {
                    const double w = plainRule ? std::fabs(t.A) : vsop::Weight(s, pl, k, p, t);
                    const size_t band = std::upper_bound(cutoffs.begin(), cutoffs.end(), w) - cutoffs.begin();
                    bt[pl][k][p].push_back({t, band});
                    for (size_t j = 0; j < J; ++j)
                        if (j < band) res[j].terms++;
                }
    std::vector<double> dropped(3 * (J + 1));
    for (double jd = kJd1900 + 0.37; jd <= kJd2100; jd += stepDays) {
        const double tau = (jd - 2451545.0) / 365250.0;
        for (int pl = 0; pl < vsop::kPlanets; ++pl) {
            double full[3] = {0, 0, 0};
            std::fill(dropped.begin(), dropped.end(), 0.0);
            double tp = 1.0;
            for (int p = 0; p < 6; ++p) {
                for (int k = 0; k < 3; ++k) {
                    std::vector<double> band(J + 1, 0.0);
                    double sum = 0;
                    for (const auto& b : bt[pl][k][p]) {
                        const double c = b.t.A * std::cos(b.t.B + b.t.C * tau);
                        sum += c;
                        band[b.band] += c;
                    }
                    full[k] += tp * sum;
                    // A term of band b is dropped at every cut-off j >= b.
                    double acc = 0;
                    for (size_t j = 0; j < J; ++j) {
                        acc += band[j];
                        dropped[k * (J + 1) + j] += tp * acc;
                    }
                }
                tp *= tau;
            }
            double vf[3];
            ToRect(full[0], full[1], full[2], vf);
            for (size_t j = 0; j < J; ++j) {
                double vt[3];
                ToRect(full[0] - dropped[j], full[1] - dropped[(J + 1) + j], full[2] - dropped[2 * (J + 1) + j], vt);
                const double d = std::sqrt((vf[0] - vt[0]) * (vf[0] - vt[0]) + (vf[1] - vt[1]) * (vf[1] - vt[1]) +
                                           (vf[2] - vt[2]) * (vf[2] - vt[2]));
                const double err = d / full[2] * kRadToArcsec;
                if (err > res[j].worst) res[j] = {res[j].terms, err, pl, jd};
            }
        }
    }
    return res;
}

void Print(const char* title, const std::vector<double>& cutoffs, const std::vector<Result>& r) {
    std::printf("\n%s\n\n| cut-off | terms | worst error (\") | where |\n|---|---|---|---|\n", title);
    for (size_t j = 0; j < cutoffs.size(); ++j)
        std::printf("| %.1e | %zu | %.4f | %s, JD %.1f |\n", cutoffs[j], r[j].terms, r[j].worst,
                    vsop::kBlockNames[r[j].worstPlanet], r[j].worstJd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s vsop87d.csv [step_days]\n", argv[0]);
        return 2;
    }
    const double step = argc > 2 ? std::atof(argv[2]) : 3.7;
    const vsop::Series s = vsop::ReadVsopCsv(argv[1]);
    std::printf("VSOP87D: %zu terms; instants every %.2f days over 1900-2100\n", vsop::TermCount(s), step);
    const std::vector<double> cutoffs = {1e-9, 2e-9, 5e-9, 8e-9, 1e-8, 1.1e-8, 1.2e-8, 1.3e-8, 1.4e-8, 1.5e-8, 2e-8, 3e-8, 4e-8,
                                         5e-8, 7e-8, 1e-7, 2e-7, 5e-7, 1e-6};
    Print("Rule of planet.bin: keep a term when |A| tau^p (over the mean distance for R) >= cut-off, "
          "tau = 0.1",
          cutoffs, Measure(s, cutoffs, false, step));
    Print("Plain rule: keep a term when |A| >= cut-off", cutoffs, Measure(s, cutoffs, true, step));
    return 0;
}
