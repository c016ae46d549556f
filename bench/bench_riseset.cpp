// Rise, set, transit and twilight. Targets on this machine class: the whole
// approximate table of the rise and set window (nine bodies with their transits,
// civil and nautical twilight) <= 5 ms; one rigorous row (25 hourly places and the
// transits) <= 0.2 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "core/mWorkingData.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "riseset/mRiseSet.h"

namespace {

constexpr int kRowBodies[9] = {0, 1, 2, 4, 5, 6, 7, 8, 9};

void Setup() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        return LoadPlanetData().ok && LoadMoonFile().ok;
    }();
    if (!loaded) std::abort();
}

const Horizon kHorizon = HorizonOf(DefaultNavigationState());

void BM_ApproximateTable(benchmark::State& state) {
    Setup();
    DateValue day = DateFromParts(2026, 12, 6) - 10.0 / 24.0;
    for (auto _ : state) {
        for (int body : kRowBodies) {
            benchmark::DoNotOptimize(RiseSetTimes(day, 43.1, 131.9, body, true, kHorizon));
            benchmark::DoNotOptimize(TransitTimes(day, 43.1, 131.9, body, kHorizon));
        }
        benchmark::DoNotOptimize(TwilightTimes(day, 43.1, 131.9, false, true, kHorizon));
        benchmark::DoNotOptimize(TwilightTimes(day, 43.1, 131.9, true, true, kHorizon));
        day += 1.0;
    }
}
BENCHMARK(BM_ApproximateTable)->Unit(benchmark::kMillisecond);

// One row recomputed by the rigorous method, as a click on its name does.
void BM_RigorousRow(benchmark::State& state) {
    Setup();
    const int body = static_cast<int>(state.range(0));
    DateValue day = DateFromParts(2026, 12, 6) - 10.0 / 24.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RiseSetTimes(day, 43.1, 131.9, body, false, kHorizon));
        benchmark::DoNotOptimize(TransitTimes(day, 43.1, 131.9, body, kHorizon));
        day += 1.0;
    }
    state.SetLabel(body == 0 ? "Sun" : body == 9 ? "Moon" : BodyNames()[body <= 2 ? body : body - 1]);
}
BENCHMARK(BM_RigorousRow)->Arg(0)->Arg(1)->Arg(5)->Arg(9)->Unit(benchmark::kMillisecond);

// The twilight block by the rigorous method (nautical and civil).
void BM_RigorousTwilight(benchmark::State& state) {
    Setup();
    DateValue day = DateFromParts(2026, 12, 6) - 10.0 / 24.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TwilightTimes(day, 43.1, 131.9, false, false, kHorizon));
        benchmark::DoNotOptimize(TwilightTimes(day, 43.1, 131.9, true, false, kHorizon));
        day += 1.0;
    }
}
BENCHMARK(BM_RigorousTwilight)->Unit(benchmark::kMillisecond);

}  // namespace
