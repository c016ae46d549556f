// Builds Data/moon.bin from data/elpmpp02.csv: Chebyshev coefficients of the Moon's
// geocentric position (km, ICRS axes) over consecutive spans of kSpanDays from
// kFirstJd, fitted at the Chebyshev nodes of each span to the series summed in full
// (tools/elp_source.h), then checked against the series between the nodes.
// Usage: make_moon_file DATA_DIR OUT_DIR
//
// The series is summed at the nodes without a sine per term and node: each term's
// phase is taken at the middle of the span, and its advance to each node, which
// depends only on its rate, is rotated in from a table built once per block of
// spans (the rate changes by 1e-9 of itself across a block).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

#include "tools/elp_source.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFirstJd = 2415016.5;  // 1899-12-28 0 h TT
constexpr double kSpanDays = 4.0;
constexpr int kSpans = 18356;           // to 2101-01-07
constexpr int kN = 10;                  // coefficients per coordinate
constexpr int kBlockSpans = 128;
constexpr double kMaxFitKm = 0.002;     // 0.001" at the Moon's distance

struct Group {
    std::size_t k, p;
    const std::vector<elp::Term>* terms;
};

void PutInt32(std::vector<std::uint8_t>& b, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutDouble(std::vector<std::uint8_t>& b, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const elp::Series s = elp::ReadCsv(std::string(argv[1]) + "/elpmpp02.csv");
        std::vector<Group> groups;
        for (std::size_t k = 0; k < 3; ++k)
            for (std::size_t p = 0; p < 4; ++p) groups.push_back({k, p, &s.terms[k][p]});
        const double h = kSpanDays / 2.0 / 36525.0;  // half span, centuries
        double node[kN], delta[kN];
        for (int i = 0; i < kN; ++i) {
            node[i] = std::cos(kPi * (i + 0.5) / kN);
            delta[i] = h * node[i];
        }
        const std::size_t terms = s.Count();
        std::vector<double> rotCos(terms * kN), rotSin(terms * kN);
        std::vector<double> coeff;
        coeff.reserve(static_cast<std::size_t>(kSpans) * 3 * kN);
        for (int span = 0; span < kSpans; ++span) {
            const double midJd = kFirstJd + (span + 0.5) * kSpanDays;
            const double T = (midJd - 2451545.0) / 36525.0;
            if (span % kBlockSpans == 0) {
                const double Tb = (kFirstJd + (span + kBlockSpans / 2.0) * kSpanDays - 2451545.0) / 36525.0;
                std::size_t j = 0;
                for (const Group& g : groups)
                    for (const elp::Term& t : *g.terms) {
                        const double rate = t.phi[1] + Tb * (2 * t.phi[2] + Tb * (3 * t.phi[3] + Tb * 4 * t.phi[4]));
                        for (int i = 0; i < kN; ++i) {
                            rotCos[j * kN + static_cast<std::size_t>(i)] = std::cos(rate * delta[i]);
                            rotSin[j * kN + static_cast<std::size_t>(i)] = std::sin(rate * delta[i]);
                        }
                        ++j;
                    }
            }
            double sum[3][4][kN] = {};
            std::size_t j = 0;
            for (const Group& g : groups) {
                double* acc = sum[g.k][g.p];
                for (const elp::Term& t : *g.terms) {
                    const double ph = elp::Horner(t.phi, T);
                    const double sp = t.A * std::sin(ph), cp = t.A * std::cos(ph);
                    const double* rc = &rotCos[j * kN];
                    const double* rs = &rotSin[j * kN];
                    for (int i = 0; i < kN; ++i) acc[i] += sp * rc[i] + cp * rs[i];
                    ++j;
                }
            }
            double value[3][kN];
            for (int i = 0; i < kN; ++i) {
                const double Ti = T + delta[i];
                double v[3];
                for (std::size_t k = 0; k < 3; ++k) v[k] = sum[k][0][i] + Ti * (sum[k][1][i] + Ti * (sum[k][2][i] + Ti * sum[k][3][i]));
                const auto x = elp::ToIcrs(elp::Horner(s.w1, Ti) + v[0] * elp::kArcsec, v[1] * elp::kArcsec, v[2], Ti);
                for (std::size_t k = 0; k < 3; ++k) value[k][i] = x[k];
            }
            for (int k = 0; k < 3; ++k)
                for (int m = 0; m < kN; ++m) {
                    double c = 0.0;
                    for (int i = 0; i < kN; ++i) c += value[k][i] * std::cos(kPi * m * (i + 0.5) / kN);
                    coeff.push_back(c * (m == 0 ? 1.0 : 2.0) / kN);
                }
        }
        // Check: the series summed term by term at instants between the nodes.
        std::mt19937_64 rng(20260);
        std::uniform_real_distribution<double> u01(0.0, 1.0);
        double worst = 0.0;
        for (int check = 0; check < 600; ++check) {
            const int span = static_cast<int>(u01(rng) * kSpans) % kSpans;
            const double x = 2.0 * u01(rng) - 1.0;
            const double jd = kFirstJd + (span + (x + 1.0) / 2.0) * kSpanDays;
            const auto ref = elp::Position(s, jd);
            double err2 = 0.0;
            for (int k = 0; k < 3; ++k) {
                const double* c = &coeff[(static_cast<std::size_t>(span) * 3 + static_cast<std::size_t>(k)) * kN];
                double t0 = 1.0, t1 = x, v = c[0] + c[1] * x;
                for (int m = 2; m < kN; ++m) {
                    const double t2 = 2.0 * x * t1 - t0;
                    v += c[m] * t2;
                    t0 = t1;
                    t1 = t2;
                }
                err2 += (v - ref[static_cast<std::size_t>(k)]) * (v - ref[static_cast<std::size_t>(k)]);
            }
            worst = std::max(worst, std::sqrt(err2));
        }
        if (worst > kMaxFitKm) throw std::runtime_error("the fit departs from the series by " + std::to_string(worst) + " km");
        std::vector<std::uint8_t> b = {'V', 'E', 'L', 'M', 'O', 'O', 'N', '1'};
        PutInt32(b, kSpans);
        PutInt32(b, kN);
        PutDouble(b, kFirstJd);
        PutDouble(b, kSpanDays);
        for (double c : coeff) PutDouble(b, c);
        const std::string path = std::string(argv[2]) + "/moon.bin";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
        std::printf("moon.bin: %zu terms, %d spans of %.0f days, %d coefficients; worst departure %.2g km\n", terms,
                    kSpans, kSpanDays, kN, worst);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_moon_file: %s\n", e.what());
        return 1;
    }
    return 0;
}
