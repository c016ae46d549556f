// The lunar theory ELP/MPP02 (Chapront & Francou 2003, the version fitted to DE405)
// as data/elpmpp02.csv holds it (written by data/make_elpmpp02.mjs from npm
// astronomia 4.2.0): reading, direct summation, and the frame of the result.
#pragma once
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace elp {

// One term A sin(phi0 + phi1 T + ... + phi4 T^4) T^power; T Julian centuries from
// J2000.0 (TT); A in arc seconds (L, B) or km (R).
struct Term {
    double A = 0.0;
    std::array<double, 5> phi{};
};
struct Series {
    std::array<double, 5> w1{};                             // mean longitude, radians
    std::array<std::array<std::vector<Term>, 4>, 3> terms;  // [L, B, R][power 0..3]
    std::size_t Count() const {
        std::size_t n = 0;
        for (const auto& c : terms)
            for (const auto& p : c) n += p.size();
        return n;
    }
};

inline Series ReadCsv(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    Series s;
    std::string line;
    std::getline(in, line);
    if (line != "coord,power,A,phi0,phi1,phi2,phi3,phi4") throw std::runtime_error(path + ": unexpected header");
    bool haveW1 = false;
    int row = 1;
    while (std::getline(in, line)) {
        ++row;
        if (line.empty()) continue;
        std::stringstream ss(line);
        std::string coord, field;
        std::getline(ss, coord, ',');
        std::vector<double> v;
        while (std::getline(ss, field, ',')) v.push_back(std::stod(field));
        if (v.size() != 7) throw std::runtime_error(path + ": row " + std::to_string(row) + " has not 8 fields");
        for (double x : v)
            if (!std::isfinite(x)) throw std::runtime_error(path + ": row " + std::to_string(row) + " not finite");
        const int power = static_cast<int>(v[0]);
        if (coord == "W1") {
            for (int i = 0; i < 5; ++i) s.w1[static_cast<std::size_t>(i)] = v[static_cast<std::size_t>(i + 2)];
            haveW1 = true;
            continue;
        }
        const int k = coord == "L" ? 0 : coord == "B" ? 1 : coord == "R" ? 2 : -1;
        if (k < 0 || power < 0 || power > 3) throw std::runtime_error(path + ": row " + std::to_string(row) + " unknown");
        Term t;
        t.A = v[1];
        for (int i = 0; i < 5; ++i) t.phi[static_cast<std::size_t>(i)] = v[static_cast<std::size_t>(i + 2)];
        s.terms[static_cast<std::size_t>(k)][static_cast<std::size_t>(power)].push_back(t);
    }
    if (!haveW1 || s.Count() < 100) throw std::runtime_error(path + ": not the ELP/MPP02 series");
    return s;
}

inline double Horner(const std::array<double, 5>& c, double t) {
    return c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * c[4])));
}

constexpr double kArcsec = 3.14159265358979323846 / 648000.0;

// Given: L (radians, the mean longitude included), B (radians), R (km), the
// spherical coordinates of the theory, and T.  Returned: the geocentric position in
// km, axes of the ICRS. The theory's ecliptic of date is carried to the inertial
// mean ecliptic of J2000 by Laskar's P, Q (as the authors' program does), and that
// ecliptic to the ICRS by the IAU 2006 frame: the Fukushima-Williams angles at
// J2000.0, gamma = -0.052928", phi = 84381.412819", psi = -0.041775".
inline std::array<double, 3> ToIcrs(double L, double B, double R, double T) {
    const double x = R * std::cos(L) * std::cos(B), y = R * std::sin(L) * std::cos(B), z = R * std::sin(B);
    const double P = T * (0.10180391e-4 + T * (0.47020439e-6 + T * (-0.5417367e-9 + T * (-0.2507948e-11 + T * 0.463486e-14))));
    const double Q = T * (-0.113469002e-3 + T * (0.12372674e-6 + T * (0.12654170e-8 + T * (-0.1371808e-11 + T * -0.320334e-14))));
    const double sq = std::sqrt(1.0 - P * P - Q * Q);
    const double ex = (1 - 2 * P * P) * x + 2 * P * Q * y + 2 * P * sq * z;
    const double ey = 2 * P * Q * x + (1 - 2 * Q * Q) * y - 2 * Q * sq * z;
    const double ez = -2 * P * sq * x + 2 * Q * sq * y + (1 - 2 * P * P - 2 * Q * Q) * z;
    // icrs = R3(-gamma) R1(-phi) R3(psi) ecl (frame rotations).
    const double psi = -0.041775 * kArcsec, phi = 84381.412819 * kArcsec, gam = -0.052928 * kArcsec;
    const double ax = std::cos(psi) * ex + std::sin(psi) * ey, ay = -std::sin(psi) * ex + std::cos(psi) * ey, az = ez;
    const double bx = ax, by = std::cos(phi) * ay - std::sin(phi) * az, bz = std::sin(phi) * ay + std::cos(phi) * az;
    return {std::cos(gam) * bx - std::sin(gam) * by, std::sin(gam) * bx + std::cos(gam) * by, bz};
}

// Given: jd TT.  Returned: the series summed term by term, ICRS km.
inline std::array<double, 3> Position(const Series& s, double jd) {
    const double T = (jd - 2451545.0) / 36525.0;
    double v[3];
    for (std::size_t k = 0; k < 3; ++k) {
        double sum = 0.0, tp = 1.0;
        for (std::size_t p = 0; p < 4; ++p, tp *= T) {
            double part = 0.0;
            for (const Term& t : s.terms[k][p]) part += t.A * std::sin(Horner(t.phi, T));
            sum += part * tp;
        }
        v[k] = sum;
    }
    return ToIcrs(Horner(s.w1, T) + v[0] * kArcsec, v[1] * kArcsec, v[2], T);
}

}  // namespace elp
