// The VSOP87D source table (data/vsop87d.csv) and the rule that truncates it.
// Shared by the data-file generator, the truncation measurement and the tests
// that check planet.bin against the source, so all three keep the same terms.
#pragma once
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vsop {

inline constexpr int kPlanets = 8;  // Mercury .. Neptune, in file order
inline constexpr std::array<const char*, kPlanets> kCsvNames = {
    "mercury", "venus", "earth", "mars", "jupiter", "saturn", "uranus", "neptune"};
inline constexpr std::array<const char*, kPlanets> kBlockNames = {
    "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};

// The amplitude cut-off of planet.bin, chosen by tools/measure_truncation (see
// data/README.md): the largest cut-off whose worst heliocentric error against the
// full series stays within 0.1" over 1900-2100 with a margin for sampling.
inline constexpr double kCutoff = 1.3e-8;

// |tau| at the ends of 1900-2100, Julian millennia from J2000.0.
inline constexpr double kTauSpan = 0.1;

struct Term {
    double A = 0, B = 0, C = 0;
};

// terms[planet][coord 0=L 1=B 2=R][power 0..5], in the published order.
struct Series {
    std::array<std::array<std::array<std::vector<Term>, 6>, 3>, kPlanets> terms;
};

inline int CoordIndex(const std::string& c) {
    if (c == "L") return 0;
    if (c == "B") return 1;
    if (c == "R") return 2;
    return -1;
}

inline Series ReadVsopCsv(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    Series s;
    std::string line;
    std::getline(in, line);  // header: planet,coord,power,A,B,C
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty()) continue;
        std::stringstream ss(line);
        std::string f[6];
        for (auto& cell : f) std::getline(ss, cell, ',');
        int planet = -1;
        for (int i = 0; i < kPlanets; ++i)
            if (f[0] == kCsvNames[i]) planet = i;
        const int coord = CoordIndex(f[1]);
        const int power = std::atoi(f[2].c_str());
        if (planet < 0 || coord < 0 || power < 0 || power > 5)
            throw std::runtime_error(path + ": bad row " + std::to_string(lineNo));
        Term t;
        t.A = std::strtod(f[3].c_str(), nullptr);
        t.B = std::strtod(f[4].c_str(), nullptr);
        t.C = std::strtod(f[5].c_str(), nullptr);
        s.terms[planet][coord][power].push_back(t);
    }
    return s;
}

// The planet's mean distance: the constant term of R, power 0 (AU).
inline double MeanDistance(const Series& s, int planet) {
    const auto& r0 = s.terms[planet][2][0];
    return r0.empty() ? 1.0 : std::fabs(r0.front().A);
}

// The size a term can reach in 1900-2100 as an angle seen from the Sun (radians):
// |A| tau^p, divided by the mean distance for the radius vector.
inline double Weight(const Series& s, int planet, int coord, int power, const Term& t) {
    const double w = std::fabs(t.A) * std::pow(kTauSpan, power);
    return coord == 2 ? w / MeanDistance(s, planet) : w;
}

inline bool Keep(const Series& s, int planet, int coord, int power, const Term& t, double cutoff) {
    return Weight(s, planet, coord, power, t) >= cutoff;
}

// The series kept at a cut-off (cutoff 0 keeps every term).
inline Series Truncate(const Series& s, double cutoff) {
    Series out;
    for (int pl = 0; pl < kPlanets; ++pl)
        for (int k = 0; k < 3; ++k)
            for (int p = 0; p < 6; ++p)
                for (const Term& t : s.terms[pl][k][p])
                    if (Keep(s, pl, k, p, t, cutoff)) out.terms[pl][k][p].push_back(t);
    return out;
}

inline size_t TermCount(const Series& s) {
    size_t n = 0;
    for (const auto& pl : s.terms)
        for (const auto& k : pl)
            for (const auto& p : k) n += p.size();
    return n;
}

}  // namespace vsop
