// One fix of four lines (Sun, Moon, Venus and a star): four apparent places, four
// horizon reductions and the least-squares solution.
#include <benchmark/benchmark.h>

#include <string>

#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "fix/mCalcPosition.h"

static void BM_CalcPositionFourLines(benchmark::State& state) {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    if (!LoadPlanetData().ok || !LoadStarFile().ok || !LoadMoonFile().ok) {
        state.SkipWithError("data files missing");
        return;
    }
    NavigationStateRecord nav = DefaultNavigationState();
    nav.LocalDate = DateFromParts(2024, 3, 15, 12, 0, 0);
    nav.Lat = 40.0;
    nav.Lon = -20.0;
    SightLines lines;
    lines.Body = {0, -8, -2, 2491};
    lines.Time = {"12:00:00", "11:30:00", "11:00:00", "10:30:00"};
    lines.Altitude = {"45-00.0", "30-00.0", "30-00.0", "20-00.0"};
    lines.LowerLimb = {true, true, true, true};
    for (auto _ : state) benchmark::DoNotOptimize(CalcPosition(lines, nav));
}
BENCHMARK(BM_CalcPositionFourLines);
