// The daily pages' numbers: one three-day spread (72 hours of Aries, the four planets, the
// Sun and the Moon, the 58 stars, the rise and set table of 31 latitudes, the foot).
//   ./build/bench/bench_daily_pages
// The PDF of a year of spreads is measured by bench_daily_pages_pdf.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "almanac/mDailyPages.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"

namespace {

void LoadOnce() {
    static const bool loaded = [] {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        for (const LoadStatus& st : {LoadPlanetData(), LoadStarFile(), LoadMoonFile()}) {
            if (!st.ok) {
                std::fprintf(stderr, "%s\n", st.message.c_str());
                std::exit(1);
            }
        }
        return true;
    }();
    (void)loaded;
}

// Consecutive spreads from 2025-01-01, as a year's pages are made.
void BM_DailySpread(benchmark::State& state) {
    LoadOnce();
    DateValue day = DateFromParts(2025, 1, 1);
    DailySpread spread;
    for (auto _ : state) {
        ComputeDailySpread(day, spread);
        benchmark::DoNotOptimize(spread.latitudes.data());
        day += kSpreadDays;
    }
}
BENCHMARK(BM_DailySpread)->Unit(benchmark::kMillisecond);

}  // namespace
