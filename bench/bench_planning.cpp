// The sight plan of an evening twilight (the twilight times at a moving DR, the
// bodies between 15 and 75 degrees, the best three and four of them) and the fix
// iterated from a DR 60 nm out against its one pass.
#include <benchmark/benchmark.h>

#include <string>

#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "planning/mPlanning.h"

namespace {
bool Load(benchmark::State& state) {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    if (LoadPlanetData().ok && LoadStarFile().ok && LoadMoonFile().ok) return true;
    state.SkipWithError("data files missing");
    return false;
}
}  // namespace

static void BM_EveningSightPlan(benchmark::State& state) {
    if (!Load(state)) return;
    const NavigationStateRecord nav = DefaultNavigationState();
    const DateValue ut = DateFromParts(2026, 12, 6, 10, 0, 0);
    const LatLon dr{45.0, -30.0};
    for (auto _ : state) {
        const TwilightPlan p = PlanTwilight(false, ut, dr, ut, 270.0, 20.0, HorizonOf(nav));
        const std::vector<PlanBody> bodies = BodiesInView(p.Observe, p.Position.Lat, p.Position.Lon, nav);
        benchmark::DoNotOptimize(BestBodySet(bodies, 3));
        benchmark::DoNotOptimize(BestBodySet(bodies, 4));
    }
}
BENCHMARK(BM_EveningSightPlan)->Unit(benchmark::kMillisecond);

// Case 1 of tests/data/fix_far_reference.csv: four stars, the DR 60 nm off.
static void BM_FixFromFarDr(benchmark::State& state) {
    if (!Load(state)) return;
    NavigationStateRecord nav = DefaultNavigationState();
    nav.LocalDate = DateFromParts(2022, 11, 5, 20, 52, 17);
    nav.Lat = -14.248771568;
    nav.Lon = 92.192645254;
    SightLines lines;
    lines.Body = {617, 3982, 2326, 2990};
    lines.Time = {"20:52:17", "20:52:17", "20:52:17", "20:52:17"};
    lines.Altitude = {"21-30.8459", "24-10.0513", "50-41.5744", "41-40.2004"};
    const int passes = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(CalcPosition(lines, nav, passes));
}
BENCHMARK(BM_FixFromFarDr)->Arg(1)->Arg(kMaxFixPasses)->Unit(benchmark::kMicrosecond);
