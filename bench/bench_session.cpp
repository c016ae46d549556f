// The twilight session: a fix from 50 sights (twelve stars, some in series),
// reduced from a DR 10 nm off and repeated about the fix until it stands still;
// and the least-squares solution of 50 reduced sights alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/mFiles.h"
#include "core/mPlanet.h"
#include "core/mStar.h"
#include "core/mWorkingData.h"
#include "fix/mSessionFix.h"

namespace {

constexpr int kSights = 50;

bool Setup(std::vector<SessionSight>& sights, SessionConditions& c) {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    if (!LoadPlanetData().ok || !LoadStarFile().ok) return false;
    const NavigationStateRecord working = DefaultNavigationState();
    const double trueLat = 40.0, trueLon = -20.0;
    c.FixUT = DateFromParts(2024, 3, 15, 19, 30, 0);
    c.DRLat = trueLat + 10.0 / 60.0;
    c.DRLon = trueLon;
    c.HeightOfEye = working.hEye;
    // Navigational stars between 15 and 75 degrees at the fix time, each sighted in turn.
    std::vector<int> stars;
    for (int i = 1; i <= kStarCount && stars.size() < 12; ++i) {
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        if (s.NavNumber < 1) continue;
        const SightReduction r = ReduceSight(s.Number, c.FixUT, 30.0, true, trueLat, trueLon, working);
        if (r.Hc > 15.0 && r.Hc < 75.0) stars.push_back(s.Number);
    }
    if (stars.size() < 3) return false;
    for (int k = 0; k < kSights; ++k) {
        SessionSight s;
        s.Body = stars[static_cast<size_t>(k / 2) % stars.size()];  // pairs: series of two
        s.UT = c.FixUT - (kSights - k) * 20.0 / 86400.0;
        s.Hs = ReduceSight(s.Body, s.UT, 30.0, true, trueLat, trueLon, working).PresetHs() + ((k % 3) - 1) * 0.2 / 60.0;
        sights.push_back(s);
    }
    return true;
}

void BM_SessionFix50Sights(benchmark::State& state) {
    std::vector<SessionSight> sights;
    SessionConditions c;
    if (!Setup(sights, c)) {
        state.SkipWithError("data files missing");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CalcSession(sights, c));
    state.counters["passes"] = CalcSession(sights, c).Passes;
}
BENCHMARK(BM_SessionFix50Sights)->Unit(benchmark::kMicrosecond);

void BM_SolveSession50Lines(benchmark::State& state) {
    std::vector<SessionSight> sights;
    SessionConditions c;
    if (!Setup(sights, c)) {
        state.SkipWithError("data files missing");
        return;
    }
    const SessionFix f = CalcSession(sights, c, 1);
    std::vector<SessionShot> shots;
    for (size_t i = 0; i < sights.size(); ++i)
        shots.push_back({sights[i].Body, (sights[i].UT - c.FixUT) * 1440.0, f.Reduced[i].Az, f.Reduced[i].Intercept});
    for (auto _ : state) benchmark::DoNotOptimize(SolveSession(shots));
}
BENCHMARK(BM_SolveSession50Lines)->Unit(benchmark::kMicrosecond);

}  // namespace
