#include "core/mPlanet.h"

#include <cmath>
#include <cstdio>
#include <cstring>
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

}  // namespace

const std::array<PlanetSeries, kPlanetRecords>& PlanetTable() { return Table(); }

const std::vector<std::string>& BodyNames() {
    static const std::vector<std::string> names = {"Sun",    "Mercury", "Venus",   "Mars", "Jupiter",
                                                   "Saturn", "Uranus",  "Neptune", "Moon"};
    return names;
}

LoadStatus LoadPlanetBytes(const std::uint8_t* data, std::size_t size, const std::string& label) {
    auto& table = Table();
    table = {};
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
