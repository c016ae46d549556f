#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mReport.h"
#include "support/csv.h"
#include "tools/vsop_source.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;  // one arcsecond in degrees
constexpr double kRadToArcsec = 180.0 / 3.14159265358979323846 * 3600.0;
// planet.bin keeps the terms whose worst heliocentric error stays within 0.1"
// of the full series 1900-2100 (data/README.md).
constexpr double kTolTruncationArcsec = 0.1;

std::string SourceData(const std::string& name) { return std::string(VELTRANO_TEST_DATA_DIR) + "/../../data/" + name; }
std::string PlanetBin() { return std::string(VELTRANO_DATA_DIR) + "/planet.bin"; }

std::vector<std::uint8_t> PlanetBytes() {
    std::vector<std::uint8_t> b;
    EXPECT_TRUE(ReadWholeFile(PlanetBin(), b));
    return b;
}

void LoadGood() {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    const LoadStatus st = LoadPlanetData();
    ASSERT_TRUE(st.ok) << st.message;
}

const vsop::Series& FullSeries() {
    static const vsop::Series s = vsop::ReadVsopCsv(SourceData("vsop87d.csv"));
    return s;
}

// Heliocentric L, B (radians), R of the full series.
void FullLBR(int planet, double jd, double out[3]) {
    const double tau = (jd - 2451545.0) / 365250.0;
    for (int k = 0; k < 3; ++k) {
        double v = 0, tp = 1;
        for (int p = 0; p < 6; ++p) {
            double s = 0;
            for (const auto& t : FullSeries().terms[planet][k][p]) s += t.A * std::cos(t.B + t.C * tau);
            v += tp * s;
            tp *= tau;
        }
        out[k] = v;
    }
}

// Byte offset of the block of table index i in the file bytes.
size_t BlockOffset(const std::vector<std::uint8_t>& b, int index) {
    size_t pos = 0;
    for (int i = 0; i < index; ++i) {
        std::int32_t n = 0;
        for (int c = 0; c < 18; ++c) {
            std::int32_t v;
            std::memcpy(&v, &b[pos + 10 + 4 * c], 4);
            n += v;
        }
        pos += 112 + 24 * static_cast<size_t>(n);
    }
    return pos;
}

struct Reported {
    static inline int count = 0;
    static inline std::string title, text;
    static void Hook(const std::string& t, const std::string& x) {
        ++count;
        title = t;
        text = x;
    }
};
}  // namespace

TEST(PlanetFile, LoadsEightBlocksAndLeavesTheNinthEmpty) {
    LoadGood();
    const auto& t = PlanetTable();
    const char* names[] = {"Mercury", "Venus", "Sun-Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(t[i].Name, names[i]);
        EXPECT_FALSE(t[i].LTerms.empty()) << names[i];
        EXPECT_FALSE(t[i].RTerms.empty()) << names[i];
    }
    EXPECT_TRUE(t[8].LTerms.empty() && t[8].BTerms.empty() && t[8].RTerms.empty());
    EXPECT_EQ(HeliocentricPosition(9, 2451545.0).z, 0.0);
}

TEST(PlanetFile, RoundTripHoldsExactlyTheKeptSourceTerms) {
    LoadGood();
    const vsop::Series kept = vsop::Truncate(FullSeries(), vsop::kCutoff);
    size_t total = 0;
    for (int pl = 0; pl < vsop::kPlanets; ++pl) {
        const PlanetSeries& s = PlanetTable()[pl];
        const std::vector<SeriesTerm>* arrays[3] = {&s.LTerms, &s.BTerms, &s.RTerms};
        for (int k = 0; k < 3; ++k) {
            size_t i = 0;
            for (int p = 0; p < 6; ++p) {
                ASSERT_EQ(static_cast<size_t>(s.Counts[p][k]), kept.terms[pl][k][p].size()) << pl << k << p;
                for (const auto& src : kept.terms[pl][k][p]) {
                    const SeriesTerm& got = (*arrays[k])[i++];
                    ASSERT_EQ(got.A, src.A);
                    ASSERT_EQ(got.B, src.B);
                    ASSERT_EQ(got.C, src.C);
                }
            }
            EXPECT_EQ(i, arrays[k]->size());
            total += i;
        }
    }
    EXPECT_EQ(total, vsop::TermCount(kept));
    EXPECT_LT(total, 32767u);
}

TEST(HeliocentricPosition, EarthAtJ2000) {
    LoadGood();
    // VSOP87 check values (vsop87.chk): L = 1.7519238681 rad, B = -3.96557e-6 rad, R = 0.9833276819 AU.
    const Coord3 e = HeliocentricPosition(3, 2451545.0);
    EXPECT_NEAR(e.x, RadToDeg(1.7519238681), kTolTruncationArcsec * kAs);
    EXPECT_NEAR(e.y, RadToDeg(-3.96557e-6), kTolTruncationArcsec * kAs);
    EXPECT_NEAR(e.z, 0.9833276819, 0.9833 * kTolTruncationArcsec / kRadToArcsec);
}

TEST(HeliocentricPosition, AtJ2000OnlyPowerZeroContributes) {
    LoadGood();
    // tau = 0: the value is the power-0 sum alone (0^0 taken as 1, higher powers vanish).
    const PlanetSeries& mars = PlanetTable()[3];
    double l = 0;
    for (int i = 0; i < mars.Counts[0][0]; ++i) l += mars.LTerms[i].A * std::cos(mars.LTerms[i].B);
    EXPECT_DOUBLE_EQ(HeliocentricPosition(4, 2451545.0).x, Norm360(RadToDeg(l)));
}

TEST(HeliocentricPosition, VenusWorkedExample) {
    LoadGood();
    // Astronomical Algorithms example 32.a, JD 2448976.5, with the full series:
    // L = 26.114120, B = -2.620603 degrees, R = 0.7246017 AU.
    const Coord3 v = HeliocentricPosition(2, 2448976.5);
    EXPECT_NEAR(v.x, 26.114120, kTolTruncationArcsec * kAs);
    EXPECT_NEAR(v.y, -2.620603, kTolTruncationArcsec * kAs);
    EXPECT_NEAR(v.z, 0.7246017, 0.7246 * kTolTruncationArcsec / kRadToArcsec + 5e-8);
    // The book's own truncated values, at 0.001 degree.
    EXPECT_NEAR(v.x, 26.11428, 0.001);
    EXPECT_NEAR(v.y, -2.62070, 0.001);
}

TEST(HeliocentricPosition, TruncationStaysWithinATenthOfAnArcsecondOfTheFullSeries) {
    LoadGood();
    std::mt19937 rng(20260101);
    std::uniform_real_distribution<double> when(2415020.5, 2488069.5);
    const int bodyOf[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int pl = 0; pl < 8; ++pl) {
        testsupport::ErrorStats err;
        for (int i = 0; i < 150; ++i) {
            const double jd = when(rng);
            double f[3];
            FullLBR(pl, jd, f);
            const Coord3 full = SphToRect({f[0], f[1], f[2]}, false);
            const Coord3 got = SphToRect(HeliocentricPosition(bodyOf[pl], jd), true);
            const double d = std::sqrt((full.x - got.x) * (full.x - got.x) + (full.y - got.y) * (full.y - got.y) +
                                       (full.z - got.z) * (full.z - got.z));
            err.Add(d / f[2] * kRadToArcsec);
        }
        std::printf("%-8s truncated vs full VSOP87D: max %.4f\" rms %.4f\"\n", vsop::kBlockNames[pl], err.max, err.Rms());
        EXPECT_LT(err.max, kTolTruncationArcsec) << vsop::kBlockNames[pl];
    }
}

TEST(HeliocentricPosition, SunIsTheEarthTurnedAround) {
    LoadGood();
    for (double jd : {2415020.5, 2451545.0, 2460000.25, 2488069.5}) {
        const Coord3 sun = HeliocentricPosition(0, jd), earth = HeliocentricPosition(3, jd);
        EXPECT_NEAR(Norm360(sun.x - earth.x), 180.0, 1e-9) << jd;
        EXPECT_EQ(sun.y, -earth.y);
        EXPECT_EQ(sun.z, earth.z);
        EXPECT_GE(sun.x, 0.0);
        EXPECT_LT(sun.x, 360.0);
    }
}

TEST(HeliocentricPosition, InvalidIndexIsReportedAndGivesZero) {
    LoadGood();
    const ReportHook old = SetReportHook(&Reported::Hook);
    Reported::count = 0;
    for (int index : {10, -1}) {
        const Coord3 p = HeliocentricPosition(index, 2451545.0);
        EXPECT_EQ(p.x, 0.0);
        EXPECT_EQ(p.y, 0.0);
        EXPECT_EQ(p.z, 0.0);
    }
    EXPECT_EQ(Reported::count, 2);
    EXPECT_EQ(Reported::title, "Error");
    EXPECT_EQ(Reported::text, "Invalid planet index!");
    HeliocentricPosition(9, 2451545.0);  // the ninth record is a valid, empty index
    EXPECT_EQ(Reported::count, 2);
    SetReportHook(old);
}

TEST(BodyNames, NineDisplayNames) {
    const std::vector<std::string> want = {"Sun",    "Mercury", "Venus",   "Mars", "Jupiter",
                                           "Saturn", "Uranus",  "Neptune", "Moon"};
    EXPECT_EQ(BodyNames(), want);
}

// Every bad file fails with a message naming the file and its fault, and leaves
// the table empty: every index then gives (0, 0, 0).
void ExpectFailure(const std::vector<std::uint8_t>& bytes, const std::string& fault) {
    const LoadStatus st = LoadPlanetBytes(bytes.data(), bytes.size(), "Data/planet.bin");
    EXPECT_FALSE(st.ok);
    EXPECT_NE(st.message.find("Data/planet.bin"), std::string::npos) << st.message;
    EXPECT_NE(st.message.find(fault), std::string::npos) << st.message;
    for (int index = 0; index <= 9; ++index) {
        const Coord3 p = HeliocentricPosition(index, 2451545.0);
        EXPECT_EQ(p.x, 0.0);
        EXPECT_EQ(p.y, 0.0);
        EXPECT_EQ(p.z, 0.0);
    }
}

TEST(PlanetFile, MissingOrEmptyFileFails) {
    SetProgramFolder("/nonexistent-folder");
    LoadStatus st = LoadPlanetData();
    EXPECT_FALSE(st.ok);
    EXPECT_NE(st.message.find("/nonexistent-folder/Data/planet.bin"), std::string::npos) << st.message;
    EXPECT_NE(st.message.find("missing"), std::string::npos) << st.message;

    const std::string empty = std::string(VELTRANO_DATA_DIR) + "/../tests/empty-planet.bin";
    std::FILE* f = std::fopen(empty.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    st = LoadPlanetData(empty);
    EXPECT_FALSE(st.ok);
    EXPECT_NE(st.message.find("empty-planet.bin: the file is empty"), std::string::npos) << st.message;
    ExpectFailure({}, "empty");
}

TEST(PlanetFile, TruncatedFilesFail) {
    const auto good = PlanetBytes();
    const size_t earth = BlockOffset(good, 2), mars = BlockOffset(good, 3), end = BlockOffset(good, 8);
    ASSERT_EQ(end, good.size());
    auto cut = [&](size_t n) { return std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(n)); };
    ExpectFailure(cut(50), "block 1 (Mercury): the file ends 50 bytes into the block header");
    ExpectFailure(cut(earth + 91), "block 3 (Earth): the file ends 91 bytes");
    ExpectFailure(cut(earth + 500), "block 3 (Earth) promises");
    ExpectFailure(cut(mars), "holds 3 of the 8 planet blocks");
    ExpectFailure(cut(end - 1), "block 8 (Neptune) promises");
}

TEST(PlanetFile, CountsThatLieFail) {
    const auto good = PlanetBytes();
    const size_t earth = BlockOffset(good, 2);
    auto withCount = [&](int slot, std::int32_t v) {
        auto b = good;
        std::memcpy(&b[earth + 10 + 4 * slot], &v, 4);
        return b;
    };
    ExpectFailure(withCount(0, 1000000), "more than 32767 terms");
    ExpectFailure(withCount(4, 30000), "block 3 (Earth) promises");
    ExpectFailure(withCount(2, -5), "negative term count");
    // Two counts that each fit but whose sum passes 32767 for one coordinate.
    auto b = withCount(0, 20000);
    const std::int32_t v = 20000;
    std::memcpy(&b[earth + 10 + 4 * 3], &v, 4);
    ExpectFailure(b, "more than 32767 terms");
}

TEST(PlanetFile, NinthBlockAndTrailingByteAreRead) {
    auto b = PlanetBytes();
    b.push_back(0x5a);  // one stray byte after the last block is not a block
    LoadStatus st = LoadPlanetBytes(b.data(), b.size(), "planet.bin");
    EXPECT_TRUE(st.ok) << st.message;
    EXPECT_TRUE(PlanetTable()[8].LTerms.empty());
    // A ninth block: a copy of Mercury's, which body index 9 then reaches.
    auto nine = PlanetBytes();
    nine.insert(nine.end(), nine.begin(), nine.begin() + static_cast<long>(BlockOffset(nine, 1)));
    st = LoadPlanetBytes(nine.data(), nine.size(), "planet.bin");
    ASSERT_TRUE(st.ok) << st.message;
    const Coord3 m = HeliocentricPosition(1, 2455000.5), ninth = HeliocentricPosition(9, 2455000.5);
    EXPECT_EQ(m.x, ninth.x);
    EXPECT_EQ(m.z, ninth.z);
    LoadGood();
}
