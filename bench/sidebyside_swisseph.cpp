// The hourly almanac page side by side with Debian's Swiss Ephemeris (libswe-dev,
// swe-basic-data: the compressed JPL DE431 files): one page = 24 apparent sidereal
// times and 144 apparent places (right ascension and declination, true equator and
// equinox of date) of the Sun, the Moon, Venus, Mars, Jupiter and Saturn, over the
// same distinct dates 1990-2059, one date per iteration. Prints the ratio of the
// CPU times per page, ours / Swiss Ephemeris (below 1: ours is faster).
//   ./build/bench/sidebyside_swisseph
// Built only when the library is installed (scripts/deps.sh installs it).
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "almanac/mEphemerides.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "core/mTime.h"

namespace {

// 512 distinct dates from 1990-01-01 to 2059-12-31, spread by a fixed step.
std::vector<DateValue> PageDates() {
    std::vector<DateValue> dates;
    const DateValue first = DateFromParts(1990, 1, 1), last = DateFromParts(2059, 12, 31);
    const double span = last - first;
    for (int i = 0; i < 512; ++i) dates.push_back(first + std::floor(std::fmod(i * 9973.0, span)));
    return dates;
}

const std::vector<DateValue>& Dates() {
    static const std::vector<DateValue> dates = PageDates();
    return dates;
}

void LoadOnce() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        LoadStatus st = LoadPlanetData();
        if (st.ok) st = LoadMoonFile();
        if (!st.ok) std::fprintf(stderr, "%s\n", st.message.c_str());
        swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
        return st.ok;
    }();
    if (!loaded) std::exit(1);
}

struct SwePage {
    double aries[24];
    double gha[24][6], dec[24][6];
};

// The page's UT hours of date d with the Swiss Ephemeris: sidereal time, then each body.
SwePage SwissPage(DateValue d) {
    static const int kBodies[6] = {SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_SUN, SE_MOON};
    const CalendarDate c = DateToParts(d);
    const double jd0 = swe_julday(c.year, c.month, c.day, 0.0, SE_GREG_CAL);
    SwePage p;
    char serr[256];
    for (int h = 0; h < 24; ++h) {
        const double jdUt = jd0 + h / 24.0;
        p.aries[h] = swe_sidtime(jdUt) * 15.0;
        for (int b = 0; b < 6; ++b) {
            double xx[6];
            if (swe_calc_ut(jdUt, kBodies[b], SEFLG_SWIEPH | SEFLG_EQUATORIAL, xx, serr) < 0) {
                std::fprintf(stderr, "swe_calc_ut: %s\n", serr);
                std::exit(1);
            }
            p.gha[h][b] = p.aries[h] - xx[0];
            p.dec[h][b] = xx[1];
        }
    }
    return p;
}

void BM_PageSwissEphemeris(benchmark::State& state) {
    LoadOnce();
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(SwissPage(Dates()[i++ % Dates().size()]));
}
BENCHMARK(BM_PageSwissEphemeris)->Unit(benchmark::kMillisecond);

void BM_PageVeltrano(benchmark::State& state) {
    LoadOnce();
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(EphemerisPage(Dates()[i++ % Dates().size()]));
}
BENCHMARK(BM_PageVeltrano)->Unit(benchmark::kMillisecond);

// The page with every place computed directly (no fit), for comparison.
void BM_PageVeltranoDirect(benchmark::State& state) {
    LoadOnce();
    std::size_t i = 0;
    for (auto _ : state) {
        const double jd0 = EphemerisPageStart(Dates()[i++ % Dates().size()]);
        for (int h = 0; h < kEphemerisHours; ++h) benchmark::DoNotOptimize(EphemerisRowAt(jd0 + h / 24.0, h));
    }
}
BENCHMARK(BM_PageVeltranoDirect)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of each run, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                cpu_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        const auto swe = cpu_.find("BM_PageSwissEphemeris");
        if (swe == cpu_.end() || swe->second <= 0.0) return;
        for (const char* name : {"BM_PageVeltrano", "BM_PageVeltranoDirect"}) {
            const auto ours = cpu_.find(name);
            if (ours != cpu_.end())
                std::printf("%-22s / Swiss Ephemeris, CPU time per page: %.3f\n", name, ours->second / swe->second);
        }
    }

private:
    std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;  // plain text, so the ratios can be read from a log
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
