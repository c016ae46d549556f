#include "core/mMoon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace {

// Periodic terms of the Moon's longitude and distance (Astronomical Algorithms,
// Table 47.A; data/moon_47A.csv): d, m, m', f; longitude in 1e-6 degree (sine);
// distance in 0.001 km (cosine).
static constexpr MoonTermLR kTableA[] = {
    {0, 0, 1, 0, 6288774, -20905355}, {2, 0, -1, 0, 1274027, -3699111}, {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925}, {0, 1, 0, 0, -185116, 48888}, {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158}, {2, -1, -1, 0, 57066, -152138}, {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586}, {0, 1, -1, 0, -40923, -129620}, {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755}, {2, 0, 0, -2, 15327, 10321}, {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661}, {4, 0, -1, 0, 10675, -34782}, {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636}, {2, 1, -1, 0, -7888, 24208}, {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379}, {1, 1, 0, 0, 4987, -16675}, {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445}, {4, 0, 0, 0, 3861, -11650}, {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003}, {2, 0, -1, 2, -2602, 0}, {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322}, {2, -2, 0, 0, 2236, -9884}, {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0}, {2, -2, -1, 0, 2048, -4950}, {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0}, {4, -1, -1, 0, 1215, -3958}, {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258}, {2, 1, 1, 0, -810, 2616}, {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117}, {2, 2, -1, 0, -700, 2354}, {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0}, {4, 0, 1, 0, 549, -1423}, {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571}, {1, 0, -2, 0, -487, -1739}, {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421}, {1, 1, 1, 0, 351, 0}, {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0}, {2, -1, 2, 0, 327, 0}, {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0}, {2, 0, 3, 0, 294, 0}, {2, 0, -1, -2, 0, 8752},
};

// Periodic terms of the Moon's latitude (Table 47.B; data/moon_47B.csv): d, m, m',
// f; latitude in 1e-6 degree (sine).
static constexpr MoonTermB kTableB[] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602}, {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413}, {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573}, {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266}, {0, 0, 2, -1, 8822}, {2, -1, 0, -1, 8216}, {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200}, {2, 1, 0, -1, -3359}, {2, -1, -1, 1, 2463}, {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828}, {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749}, {0, 1, -1, 1, -1565}, {1, 0, 0, 1, -1491}, {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410}, {0, 1, 0, -1, -1344}, {1, 0, 0, -1, -1335}, {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021}, {4, 0, -1, 1, 833}, {0, 0, 1, -3, 777}, {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607}, {2, 0, 2, -1, 596}, {2, -1, 1, -1, 491}, {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439}, {2, 0, 2, 1, 422}, {2, 0, -3, -1, 421}, {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351}, {4, 0, 0, 1, 331}, {2, -1, 1, 1, 315}, {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283}, {2, 1, 1, -1, -229}, {1, 1, 0, -1, 223}, {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220}, {2, 1, -1, -1, -220}, {1, 0, 1, 1, -185}, {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177}, {4, 0, -2, -1, 176}, {4, -1, -1, -1, 166}, {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132}, {1, 0, -1, -1, -119}, {4, -1, 0, -1, 115}, {2, -2, 0, 1, 107},
};

static_assert(std::size(kTableA) == 60 && std::size(kTableB) == 60, "60 + 60 rows");

constexpr double kKmPerAu = 149597870.691;

// Given: x degrees.  Returned: x reduced to [0, 360) and converted to radians.
double Arg(double x) { return DegToRad(Norm360(x)); }

// E^|m|: the factor of the terms that hold the Sun's mean anomaly.
double EccFactor(int m, double e) { return m == 0 ? 1.0 : (m == 1 || m == -1) ? e : e * e; }

}  // namespace

const MoonTermLR* MoonTableA(std::size_t& rows) {
    rows = std::size(kTableA);
    return kTableA;
}
const MoonTermB* MoonTableB(std::size_t& rows) {
    rows = std::size(kTableB);
    return kTableB;
}

Coord3 MoonPosition(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double lp = Arg(218.3164591 + 481267.88134236 * t - 0.0013268 * t2 + t3 / 538841.0 - t4 / 65194000.0);
    const double d = Arg(297.8502042 + 445267.1115168 * t - 0.00163 * t2 + t3 / 545868.0 - t4 / 113065000.0);
    const double m = Arg(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0);
    const double mp = Arg(134.9634114 + 477198.8676313 * t + 0.008997 * t2 + t3 / 69699.0 - t4 / 14712000.0);
    const double f = Arg(93.2720993 + 483202.0175273 * t - 0.0034029 * t2 - t3 / 3526000.0 + t4 / 863310000.0);
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;

    double sl = 0.0, sr = 0.0, sb = 0.0;
    for (const MoonTermLR& row : kTableA) {
        const double a = row.d * d + row.m * m + row.mp * mp + row.f * f;
        const double k = EccFactor(row.m, e);
        sl += row.l * k * std::sin(a);
        sr += row.r * k * std::cos(a);
    }
    for (const MoonTermB& row : kTableB) {
        const double a = row.d * d + row.m * m + row.mp * mp + row.f * f;
        sb += row.b * EccFactor(row.m, e) * std::sin(a);
    }
    const double a1 = Arg(119.75 + 131.849 * t);  // action of Venus
    const double a2 = Arg(53.09 + 479264.29 * t);  // action of Jupiter
    const double a3 = Arg(313.45 + 481266.484 * t);
    sl += 3958.0 * std::sin(a1) + 1962.0 * std::sin(lp - f) + 318.0 * std::sin(a2);
    sb += -2235.0 * std::sin(lp) + 382.0 * std::sin(a3) + 175.0 * std::sin(a1 - f) + 175.0 * std::sin(a1 + f) +
          127.0 * std::sin(lp - mp) - 115.0 * std::sin(lp + mp);

    const double km = 385000.56 + sr / 1000.0;
    return {Norm360(RadToDeg(lp) + sl / 1000000.0), sb / 1000000.0, km / kKmPerAu};
}

namespace {

constexpr char kMoonMagic[8] = {'V', 'E', 'L', 'M', 'O', 'O', 'N', '1'};
constexpr std::size_t kMoonHeaderBytes = 32;

struct MoonChebyshev {
    bool loaded = false;
    int spans = 0, coefficients = 0;
    double jdFirst = 0.0, spanDays = 0.0;
    std::vector<double> c;  // per span: x, y, z, each `coefficients` doubles
};

MoonChebyshev& MoonData() {
    static MoonChebyshev data;
    return data;
}

std::int32_t Int32At(const std::uint8_t* p) {
    const std::uint32_t u = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                            std::uint32_t(p[3]) << 24;
    std::int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

double DoubleAt(const std::uint8_t* p) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// The sum of c_j T_j(x), Clenshaw's recurrence.
double Chebyshev(const double* c, int n, double x) {
    double b1 = 0.0, b2 = 0.0;
    for (int j = n - 1; j >= 1; --j) {
        const double b0 = 2.0 * x * b1 - b2 + c[j];
        b2 = b1;
        b1 = b0;
    }
    return x * b1 - b2 + c[0];
}

}  // namespace

LoadStatus LoadMoonBytes(const std::uint8_t* data, std::size_t size, const std::string& label) {
    MoonData() = {};
    if (size < kMoonHeaderBytes || std::memcmp(data, kMoonMagic, sizeof kMoonMagic) != 0)
        return LoadStatus::Fail(label + ": not a Moon file (it does not begin with VELMOON1)");
    MoonChebyshev m;
    m.spans = Int32At(data + 8);
    m.coefficients = Int32At(data + 12);
    m.jdFirst = DoubleAt(data + 16);
    m.spanDays = DoubleAt(data + 24);
    if (m.spans < 1 || m.spans > 200000 || m.coefficients < 2 || m.coefficients > 32 || !std::isfinite(m.jdFirst) ||
        std::fabs(m.jdFirst - 2451545.0) > 1e6 || !(m.spanDays >= 0.25 && m.spanDays <= 64.0))
        return LoadStatus::Fail(label + ": the header holds " + std::to_string(m.spans) + " spans of " +
                                std::to_string(m.coefficients) + " coefficients, which no Moon file has");
    const std::size_t count = static_cast<std::size_t>(m.spans) * 3u * static_cast<std::size_t>(m.coefficients);
    if (size - kMoonHeaderBytes != count * 8u)
        return LoadStatus::Fail(label + ": the header promises " + std::to_string(count * 8u + kMoonHeaderBytes) +
                                " bytes but the file has " + std::to_string(size));
    m.c.resize(count);
    const std::uint8_t* p = data + kMoonHeaderBytes;
    const std::uint16_t one = 1;
    std::uint8_t first;
    std::memcpy(&first, &one, 1);
    if (first == 1) std::memcpy(m.c.data(), p, count * 8u);  // a little-endian machine: as stored
    for (std::size_t i = 0; i < count; ++i, p += 8) {
        if (first != 1) m.c[i] = DoubleAt(p);
        if (!(std::fabs(m.c[i]) <= 1e6))
            return LoadStatus::Fail(label + ": coefficient " + std::to_string(i + 1) + " is not a distance in km");
    }
    const std::size_t n = static_cast<std::size_t>(m.coefficients);
    for (int k = 0; k < m.spans; ++k) {
        double r2 = 0.0;
        for (std::size_t q = 0; q < 3; ++q) {
            const double v = Chebyshev(&m.c[(static_cast<std::size_t>(k) * 3u + q) * n], m.coefficients, 0.0);
            r2 += v * v;
        }
        if (!(r2 >= 340000.0 * 340000.0 && r2 <= 420000.0 * 420000.0))
            return LoadStatus::Fail(label + ": span " + std::to_string(k + 1) + " puts the Moon " +
                                    std::to_string(static_cast<long>(std::sqrt(r2))) + " km from the Earth");
    }
    m.loaded = true;
    MoonData() = std::move(m);
    return LoadStatus::Ok();
}

LoadStatus LoadMoonFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, &why)) {
        MoonData() = {};
        return LoadStatus::Fail(path + ": " + why);
    }
    return LoadMoonBytes(bytes.data(), bytes.size(), path);
}

LoadStatus LoadMoonFile() { return LoadMoonFile(DataFilePath("moon.bin")); }

bool MoonFileCovers(double jd) {
    const MoonChebyshev& m = MoonData();
    return m.loaded && jd >= m.jdFirst && jd <= m.jdFirst + m.spans * m.spanDays;
}

bool MoonGeocentric(double jd, Vector3& km) {
    if (!MoonFileCovers(jd)) return false;
    const MoonChebyshev& m = MoonData();
    const double u = (jd - m.jdFirst) / m.spanDays;
    const int k = std::min(m.spans - 1, static_cast<int>(u));
    const double x = 2.0 * (u - k) - 1.0;
    const std::size_t n = static_cast<std::size_t>(m.coefficients);
    const double* c = &m.c[static_cast<std::size_t>(k) * 3u * n];
    km = {Chebyshev(c, m.coefficients, x), Chebyshev(c + n, m.coefficients, x), Chebyshev(c + 2 * n, m.coefficients, x)};
    return true;
}
