#include "core/mPlanet.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "core/mReport.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kHeaderBytes = 92;  // name 10, counts 72, gap 10
constexpr std::size_t kGapBytes = 10;
constexpr std::size_t kTermBytes = 24;
constexpr int kMaxTerms = 32767;  // terms per coordinate: a 16-bit count
constexpr int kFileBlocks = 8;    // Mercury .. Neptune

const char* const kBlockLabel[kPlanetRecords] = {"Mercury", "Venus",  "Earth",   "Mars", "Jupiter",
                                                 "Saturn",  "Uranus", "Neptune", "ninth"};

std::array<PlanetSeries, kPlanetRecords>& Table() {
    static std::array<PlanetSeries, kPlanetRecords> table;
    return table;
}

std::int32_t ReadInt32(const std::uint8_t* p) {
    const std::uint32_t u = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                            std::uint32_t(p[3]) << 24;
    std::int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

double ReadDouble(const std::uint8_t* p) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

void ReadTerms(const std::uint8_t* p, std::size_t n, std::vector<SeriesTerm>& out) {
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i, p += kTermBytes) out[i] = {ReadDouble(p), ReadDouble(p + 8), ReadDouble(p + 16)};
}

// Limits no real series comes near. The largest amplitude of VSOP87D is Mercury's
// mean motion in L1, 26088 rad per millennium; the highest frequency of the file
// is 313055 rad per millennium (a period of 7.3 days).
constexpr double kMaxAmplitude = 1e5;
constexpr double kMaxFrequency = 1e6;  // rad per millennium: a period of 2.3 days

// The first term no real series has, described; "" when all are sound.
std::string BadTerm(const std::vector<SeriesTerm>& terms, const char* coordinate) {
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const SeriesTerm& t = terms[i];
        const char* what = nullptr;
        double v = 0.0;
        if (!(std::fabs(t.A) <= kMaxAmplitude)) what = "an amplitude", v = t.A;
        else if (!std::isfinite(t.B)) what = "a phase", v = t.B;
        else if (!(std::fabs(t.C) <= kMaxFrequency)) what = "a frequency", v = t.C;
        if (what) {
            char value[32];
            std::snprintf(value, sizeof value, "%g", v);
            return "term " + std::to_string(i + 1) + " of the " + coordinate + " series has " + what + " of " +
                   value + ", which no planetary series has";
        }
    }
    return {};
}

std::string BlockName(const std::uint8_t* p) {
    std::string name(reinterpret_cast<const char*>(p), 10);
    const auto end = name.find_last_not_of(std::string(" \0", 2));
    name.erase(end == std::string::npos ? 0 : end + 1);
    // The name is 8-bit text; keep it printable ASCII (it is never used for lookup).
    for (char& ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7e) ch = '?';
    return name;
}

std::string Where(const std::string& label, int block) {
    return label + ": block " + std::to_string(block + 1) + " (" + kBlockLabel[block] + ")";
}

// Sum over powers 0..5 of tau^p times the terms of that power (running start).
double SumSeries(const std::vector<SeriesTerm>& terms, const std::array<std::array<std::int32_t, 3>, 6>& counts,
                 int k, double tau) {
    double value = 0.0, tp = 1.0;
    std::size_t start = 0;
    for (int p = 0; p < 6; ++p) {
        const std::size_t n = static_cast<std::size_t>(counts[p][k]);
        double sigma = 0.0;
        for (std::size_t i = start; i < start + n; ++i) sigma += terms[i].A * std::cos(terms[i].B + terms[i].C * tau);
        value += tp * sigma;
        start += n;
        tp *= tau;
    }
    return value;
}

// Per record and power p, S[p][j] = sum over the terms of |A| |C|^j (C in radians
// per millennium): the bound of the expansion's truncation error.
using PowerSums = std::array<std::array<double, kMaxExpansionOrder + 2>, 6>;
std::array<PowerSums, kPlanetRecords>& ExpansionBounds() {
    static std::array<PowerSums, kPlanetRecords> sums{};
    return sums;
}

void ComputeBounds(const std::array<PlanetSeries, kPlanetRecords>& table) {
    auto& sums = ExpansionBounds();
    sums = {};
    for (std::size_t r = 0; r < table.size(); ++r) {
        const PlanetSeries& s = table[r];
        for (int k = 0; k < 3; ++k) {
            const std::vector<SeriesTerm>& terms = k == 0 ? s.LTerms : k == 1 ? s.BTerms : s.RTerms;
            std::size_t start = 0;
            for (int p = 0; p < 6; ++p) {
                const std::size_t n = static_cast<std::size_t>(s.Counts[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)]);
                for (std::size_t i = start; i < start + n && i < terms.size(); ++i) {
                    double v = std::fabs(terms[i].A);
                    for (int j = 0; j <= kMaxExpansionOrder + 1; ++j) {
                        sums[r][static_cast<std::size_t>(p)][static_cast<std::size_t>(j)] += v;
                        v *= std::fabs(terms[i].C);
                    }
                }
                start += n;
            }
        }
    }
}

// The lowest order whose truncation bound over half span hT (millennia) about
// tauM is below 1e-14.
int AutoOrder(std::size_t record, double tauM, double hT) {
    const PowerSums& s = ExpansionBounds()[record];
    const double t = std::fmax(1.0, std::fabs(tauM) + hT);
    for (int n = 1; n < kMaxExpansionOrder; ++n) {
        // sum over p of t^p S[p][n+1] hT^(n+1)/(n+1)!
        double f = 1.0;
        for (int j = 1; j <= n + 1; ++j) f *= hT / j;
        double bound = 0.0, tp = 1.0;
        for (int p = 0; p < 6; ++p, tp *= t) bound += tp * s[static_cast<std::size_t>(p)][static_cast<std::size_t>(n + 1)];
        if (bound * f < 1e-14) return n;
    }
    return kMaxExpansionOrder;
}

// The series of a record prepared for expansion: many terms of a planet share a
// frequency C (the same argument in L, B and R, or in several powers), so each
// term keeps cos B, sin B and the index of its frequency, and an expansion takes
// one sine and cosine per distinct frequency: cos(B + C tau) = cos B cos C tau -
// sin B sin C tau.
struct PreparedTerm {
    double A, cosB, sinB, C;
    std::uint32_t f;  // index into PreparedSeries::freq
};
struct PreparedSeries {
    std::vector<double> freq;                           // distinct C, radians per millennium
    std::array<std::vector<PreparedTerm>, 3> terms;     // L, B, R in the file's order
};
std::array<PreparedSeries, kPlanetRecords>& Prepared() {
    static std::array<PreparedSeries, kPlanetRecords> prepared;
    return prepared;
}

void Prepare(const std::array<PlanetSeries, kPlanetRecords>& table) {
    auto& prepared = Prepared();
    prepared = {};
    for (std::size_t r = 0; r < table.size(); ++r) {
        PreparedSeries& ps = prepared[r];
        std::unordered_map<double, std::uint32_t> index;
        for (int k = 0; k < 3; ++k) {
            const std::vector<SeriesTerm>& terms = k == 0 ? table[r].LTerms : k == 1 ? table[r].BTerms : table[r].RTerms;
            for (const SeriesTerm& t : terms) {
                auto it = index.find(t.C);
                if (it == index.end()) {
                    it = index.emplace(t.C, static_cast<std::uint32_t>(ps.freq.size())).first;
                    ps.freq.push_back(t.C);
                }
                ps.terms[static_cast<std::size_t>(k)].push_back({t.A, std::cos(t.B), std::sin(t.B), t.C, it->second});
            }
        }
    }
}

// One coordinate k of record ps expanded to order N about tauM with half span hT
// (millennia), cf/sf the cosines and sines of C tauM of its frequencies: out[j] is
// the coefficient of x^j.
template <int N>
void ExpandCoordinate(const std::vector<PreparedTerm>& terms, const std::array<std::array<std::int32_t, 3>, 6>& counts,
                      int k, const double* cf, const double* sf, double tauM, double hT, double* out) {
    double value[N + 1] = {};
    double tp[N + 1] = {1.0};  // (tauM + hT x)^p, from p = 0
    double inv[N + 1] = {0.0};
    for (int j = 1; j <= N; ++j) inv[j] = 1.0 / j;
    std::size_t start = 0;
    for (int p = 0; p < 6; ++p) {
        const std::size_t n = static_cast<std::size_t>(counts[p][k]);
        double sigma[N + 1] = {};
        for (std::size_t i = start; i < start + n; ++i) {
            const PreparedTerm& t = terms[i];
            const double c = cf[t.f], s = sf[t.f];
            const double cs = t.cosB * c - t.sinB * s;  // cos(B + C tauM)
            const double sn = t.sinB * c + t.cosB * s;  // sin(B + C tauM)
            sigma[0] += t.A * cs;
            // d^j/dx^j of A cos(phi + z x) at 0: A z^j cos(phi + j pi/2).
            const double z = t.C * hT;
            const double trig[4] = {cs, -sn, -cs, sn};
            double a = t.A;
            for (int j = 1; j <= N; ++j) {
                a *= z * inv[j];
                sigma[j] += a * trig[j & 3];
            }
        }
        // value += tp * sigma, power by power as HeliocentricPosition sums it.
        value[0] += tp[0] * sigma[0];
        for (int j = 1; j <= N; ++j) {
            double sum = 0.0;
            for (int i = 0; i <= j; ++i) sum += tp[i] * sigma[j - i];
            value[j] += sum;
        }
        // tp *= (tauM + hT x)
        for (int j = N; j >= 1; --j) tp[j] = tp[j] * tauM + tp[j - 1] * hT;
        tp[0] *= tauM;
        start += n;
    }
    for (int j = 0; j <= N; ++j) out[j] = value[j];
}

template <int N>
void ExpandRecord(const PlanetSeries& s, const PreparedSeries& ps, double tauM, double hT, HeliocentricExpansion& e) {
    // One sine and cosine per distinct frequency.
    thread_local std::vector<double> cf, sf;
    cf.resize(ps.freq.size());
    sf.resize(ps.freq.size());
    for (std::size_t i = 0; i < ps.freq.size(); ++i) {
        const double arg = ps.freq[i] * tauM;
        cf[i] = std::cos(arg);
        sf[i] = std::sin(arg);
    }
    for (int k = 0; k < 3; ++k)
        ExpandCoordinate<N>(ps.terms[static_cast<std::size_t>(k)], s.Counts, k, cf.data(), sf.data(), tauM, hT,
                            e.c[static_cast<std::size_t>(k)].data());
    e.order = N;
}

}  // namespace

Coord3 HeliocentricExpansion::AtOffset(double x) const {
    double v[3];
    for (int k = 0; k < 3; ++k) {
        double s = c[k][static_cast<std::size_t>(order)];
        for (int j = order - 1; j >= 0; --j) s = s * x + c[k][static_cast<std::size_t>(j)];
        v[k] = s;
    }
    return {v[0], v[1], v[2]};
}

HeliocentricExpansion ExpandHeliocentric(int body, double jdMid, double halfSpanDays, int order) {
    HeliocentricExpansion e;
    e.jdMid = jdMid;
    e.halfSpanDays = halfSpanDays;
    if (body < 1 || body > 9) return e;
    const std::size_t record = static_cast<std::size_t>(body - 1);
    const PlanetSeries& s = Table()[record];
    if (s.LTerms.empty() && s.BTerms.empty() && s.RTerms.empty()) return e;
    const PreparedSeries& ps = Prepared()[record];
    e.loaded = true;
    const double tauM = (jdMid - 2451545.0) / 365250.0;
    const double hT = halfSpanDays / 365250.0;
    if (order < 0) order = AutoOrder(record, tauM, hT);
    // Each order instantiated from 3 up: the smallest one at or above the order asked for.
    switch (order <= 3 ? 3 : order) {
        case 3: ExpandRecord<3>(s, ps, tauM, hT, e); break;
        case 4: ExpandRecord<4>(s, ps, tauM, hT, e); break;
        case 5: ExpandRecord<5>(s, ps, tauM, hT, e); break;
        case 6: ExpandRecord<6>(s, ps, tauM, hT, e); break;
        case 7: ExpandRecord<7>(s, ps, tauM, hT, e); break;
        case 8: ExpandRecord<8>(s, ps, tauM, hT, e); break;
        case 9: ExpandRecord<9>(s, ps, tauM, hT, e); break;
        case 10: ExpandRecord<10>(s, ps, tauM, hT, e); break;
        default: ExpandRecord<kMaxExpansionOrder>(s, ps, tauM, hT, e); break;
    }
    return e;
}

const std::array<PlanetSeries, kPlanetRecords>& PlanetTable() { return Table(); }

const std::vector<std::string>& BodyNames() {
    static const std::vector<std::string> names = {"Sun",    "Mercury", "Venus",   "Mars", "Jupiter",
                                                   "Saturn", "Uranus",  "Neptune", "Moon"};
    return names;
}

LoadStatus LoadPlanetBytes(const std::uint8_t* data, std::size_t size, const std::string& label) {
    auto& table = Table();
    table = {};
    ExpansionBounds() = {};
    Prepared() = {};
    if (size == 0) return LoadStatus::Fail(label + ": the file is empty");
    std::array<PlanetSeries, kPlanetRecords> read;
    std::size_t pos = 0;
    int blocks = 0;
    for (int i = 0; i < kPlanetRecords && pos + 1 < size; ++i) {
        const std::size_t remain = size - pos;
        if (remain < kHeaderBytes)
            return LoadStatus::Fail(Where(label, i) + ": the file ends " + std::to_string(remain) +
                                    " bytes into the block header of 92 bytes");
        const std::uint8_t* b = data + pos;
        PlanetSeries s;
        s.Name = BlockName(b);
        long long total[3] = {0, 0, 0};
        for (int p = 0; p < 6; ++p)
            for (int k = 0; k < 3; ++k) {
                const std::int32_t n = ReadInt32(b + 10 + 4 * (3 * p + k));
                if (n < 0)
                    return LoadStatus::Fail(Where(label, i) + ": a negative term count (" + std::to_string(n) + ")");
                s.Counts[p][k] = n;
                total[k] += n;
                if (total[k] > kMaxTerms)
                    return LoadStatus::Fail(Where(label, i) + ": more than 32767 terms for one coordinate");
            }
        const std::size_t nL = static_cast<std::size_t>(total[0]), nB = static_cast<std::size_t>(total[1]),
                          nR = static_cast<std::size_t>(total[2]);
        const std::size_t blockSize = kHeaderBytes + 2 * kGapBytes + kTermBytes * (nL + nB + nR);
        if (blockSize > remain)
            return LoadStatus::Fail(Where(label, i) + " promises " + std::to_string(nL + nB + nR) + " terms (" +
                                    std::to_string(blockSize) + " bytes) but the file ends " +
                                    std::to_string(remain) + " bytes after its start");
        ReadTerms(b + kHeaderBytes, nL, s.LTerms);
        ReadTerms(b + kHeaderBytes + kGapBytes + kTermBytes * nL, nB, s.BTerms);
        ReadTerms(b + kHeaderBytes + 2 * kGapBytes + kTermBytes * (nL + nB), nR, s.RTerms);
        const std::pair<const std::vector<SeriesTerm>*, const char*> coordinates[] = {
            {&s.LTerms, "L"}, {&s.BTerms, "B"}, {&s.RTerms, "R"}};
        for (const auto& [terms, coordinate] : coordinates) {
            const std::string bad = BadTerm(*terms, coordinate);
            if (!bad.empty()) return LoadStatus::Fail(Where(label, i) + ": " + bad);
        }
        read[i] = std::move(s);
        pos += blockSize;
        ++blocks;
        if (i == 3) read[2].Name = "Sun-Earth";
    }
    if (blocks < kFileBlocks)
        return LoadStatus::Fail(label + ": holds " + std::to_string(blocks) + " of the 8 planet blocks (" +
                                std::to_string(size) + " bytes)");
    table = std::move(read);
    ComputeBounds(table);
    Prepare(table);
    return LoadStatus::Ok();
}

LoadStatus LoadPlanetData(const std::string& path) {
    Table() = {};
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, &why)) return LoadStatus::Fail(path + ": " + why);
    return LoadPlanetBytes(bytes.data(), bytes.size(), path);
}

LoadStatus LoadPlanetData() {
    BodyNames();
    return LoadPlanetData(DataFilePath("planet.bin"));
}

Coord3 HeliocentricPosition(int index, double jd) {
    if (index < 0 || index > 9) {
        ReportError("Error", "Invalid planet index!");
        return {0.0, 0.0, 0.0};
    }
    const PlanetSeries& s = Table()[index == 0 ? 2 : index - 1];
    if (s.LTerms.empty() && s.BTerms.empty() && s.RTerms.empty()) return {0.0, 0.0, 0.0};  // not loaded
    const double tau = (jd - 2451545.0) / 365250.0;
    double l = SumSeries(s.LTerms, s.Counts, 0, tau);
    double b = SumSeries(s.BTerms, s.Counts, 1, tau);
    const double r = SumSeries(s.RTerms, s.Counts, 2, tau);
    if (index == 0) {
        l += kPi;
        b = -b;
    }
    return {Norm360(RadToDeg(l)), RadToDeg(b), r};
}
