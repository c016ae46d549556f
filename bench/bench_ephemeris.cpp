// The ephemeris: body positions, star places and loading the data files.
// Targets on this machine class: the star map (every star and body reduced to
// altitude and azimuth) <= 1 ms; loading the three files (the Moon's 4.4 MB) <= 20 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "core/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "map/mStarMap.h"

namespace {

void LoadOnce() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        return LoadPlanetData().ok && LoadStarFile().ok && LoadMoonFile().ok;
    }();
    if (!loaded) std::abort();
}

void BM_BodyPosition(benchmark::State& state) {
    LoadOnce();
    const int body = static_cast<int>(state.range(0));
    double jd = 2461380.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BodyPosition(jd, body));
        jd += 0.0417;
    }
    state.SetLabel(body == kBodySun ? "Sun" : body == kBodyMoon ? "Moon" : BodyNames()[body <= 2 ? body : body - 1]);
}
BENCHMARK(BM_BodyPosition)->DenseRange(0, 2)->DenseRange(4, 9)->Unit(benchmark::kMicrosecond);

void BM_HourlyPage(benchmark::State& state) {
    LoadOnce();
    const int bodies[] = {kBodySun, kBodyMoon, kBodyVenus, kBodyMars, kBodyJupiter, kBodySaturn};
    double day = 2461380.5;
    for (auto _ : state) {
        for (int h = 0; h < 24; ++h)
            for (int b : bodies) benchmark::DoNotOptimize(BodyPosition(day + h / 24.0, b));
        day += 1.0;
    }
}
BENCHMARK(BM_HourlyPage)->Unit(benchmark::kMillisecond);

void BM_AllStarPositions(benchmark::State& state) {
    LoadOnce();
    double jd = 2461380.5;
    for (auto _ : state) {
        for (int i = 1; i <= kStarCount; ++i) benchmark::DoNotOptimize(StarPosition(jd, Stars[i].Number));
        jd += 0.01;
    }
}
BENCHMARK(BM_AllStarPositions)->Unit(benchmark::kMillisecond);

// One drawing of the star map: all 287 stars (a magnitude limit above every star)
// and the nine bodies, each to altitude and azimuth.
void BM_StarMap(benchmark::State& state) {
    LoadOnce();
    double jd = 2461380.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StarMarks(jd, 43.1, 131.9, StarChoice::Magnitude, 99.0));
        benchmark::DoNotOptimize(BodyMarks(jd, 43.1, 131.9));
        jd += 0.01;
    }
}
BENCHMARK(BM_StarMap)->Unit(benchmark::kMillisecond);

void BM_LoadDataFiles(benchmark::State& state) {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadStarFile());
        benchmark::DoNotOptimize(LoadPlanetData());
        benchmark::DoNotOptimize(LoadMoonFile());
    }
}
BENCHMARK(BM_LoadDataFiles)->Unit(benchmark::kMillisecond);

}  // namespace
