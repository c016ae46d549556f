// The almanac pages: one hourly page (24 sidereal times, 144 body positions) and one
// year of annual events (56 phases, the two equinoxes and the two solstices).
//   ./build/bench/bench_almanac
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstdio>
#include <string>

#include "almanac/mAnnual.h"
#include "almanac/mEphemerides.h"
#include "core/mFiles.h"
#include "core/mPlanet.h"

namespace {

void LoadOnce() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        const LoadStatus st = LoadPlanetData();
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
    const DateValue date = DateFromParts(2024, 1, 11, 9, 30);
    for (auto _ : state) benchmark::DoNotOptimize(EphemerisPage(date));
}
BENCHMARK(BM_EphemerisPage)->Unit(benchmark::kMillisecond);

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
