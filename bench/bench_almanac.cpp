// The almanac pages: one hourly page (24 sidereal times, 144 body positions), a year
// of consecutive pages, and one year of annual events (56 phases, the two equinoxes
// and the two solstices). Targets on this machine class: a page <= 0.4 ms (at or
// below the Swiss Ephemeris, bench/sidebyside_swisseph), 365 pages <= 100 ms.
//   ./build/bench/bench_almanac
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstdio>
#include <string>

#include "almanac/mAnnual.h"
#include "almanac/mEphemerides.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"

namespace {

void LoadOnce() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        LoadStatus st = LoadPlanetData();
        if (st.ok) st = LoadMoonFile();
        if (!st.ok) {
            std::fprintf(stderr, "%s\n", st.message.c_str());
            std::exit(1);
        }
        return true;
    }();
    (void)loaded;
}

void BM_EphemerisPage(benchmark::State& state) {
    LoadOnce();
    DateValue date = DateFromParts(2024, 1, 11, 9, 30);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EphemerisPage(date));
        date += 37.0;  // a different date each time: nothing is carried over
    }
}
BENCHMARK(BM_EphemerisPage)->Unit(benchmark::kMillisecond);

// The page with each row computed directly (the places shared per instant, no fit).
void BM_EphemerisPageDirect(benchmark::State& state) {
    LoadOnce();
    double jd0 = EphemerisPageStart(DateFromParts(2024, 1, 11));
    for (auto _ : state) {
        for (int h = 0; h < kEphemerisHours; ++h) benchmark::DoNotOptimize(EphemerisRowAt(jd0 + h / 24.0, h));
        jd0 += 37.0;
    }
}
BENCHMARK(BM_EphemerisPageDirect)->Unit(benchmark::kMillisecond);

// 365 consecutive pages, as the printed almanac computes them.
void BM_EphemerisYear(benchmark::State& state) {
    LoadOnce();
    DateValue first = DateFromParts(2024, 1, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EphemerisPages(first, 365));
        first += 365.0;
    }
}
BENCHMARK(BM_EphemerisYear)->Unit(benchmark::kMillisecond);

void BM_AnnualEvents(benchmark::State& state) {
    LoadOnce();
    for (auto _ : state) benchmark::DoNotOptimize(ComputeAnnualEvents(2024));
}
BENCHMARK(BM_AnnualEvents)->Unit(benchmark::kMillisecond);

void BM_MoonPhaseTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(MoonPhaseTable(2024));
}
BENCHMARK(BM_MoonPhaseTable)->Unit(benchmark::kMicrosecond);

}  // namespace
