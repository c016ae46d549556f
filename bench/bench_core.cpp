// The time and angle core: the calls every window makes many times per refresh.
#include <benchmark/benchmark.h>

#include "core/mApparent.h"
#include "core/mMath.h"
#include "core/mTime.h"
#include "reduction/mAltAz.h"

namespace {

void BM_JulianDay(benchmark::State& state) {
    DateValue v = DateFromParts(2026, 12, 6, 7, 30, 15);
    for (auto _ : state) {
        benchmark::DoNotOptimize(JulianDay(v, false, false));
        v += 1e-3;
    }
}
BENCHMARK(BM_JulianDay);

void BM_DateToParts(benchmark::State& state) {
    DateValue v = DateFromParts(2026, 12, 6, 7, 30, 15);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateToParts(v));
        v += 1e-3;
    }
}
BENCHMARK(BM_DateToParts);

void BM_Nutation(benchmark::State& state) {
    double jd = 2461380.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Nutation(jd, 0));
        jd += 0.01;
    }
}
BENCHMARK(BM_Nutation);

void BM_SiderealTime(benchmark::State& state) {
    double jd = 2461380.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SiderealTime(jd, 12.5));
        jd += 0.01;
    }
}
BENCHMARK(BM_SiderealTime);

// The 24 sidereal times of an hourly almanac page.
void BM_SiderealTimeDay(benchmark::State& state) {
    for (auto _ : state) {
        for (int h = 0; h < 24; ++h) benchmark::DoNotOptimize(SiderealTime(2461380.5 + h / 24.0, 0.0));
    }
}
BENCHMARK(BM_SiderealTimeDay)->Unit(benchmark::kMicrosecond);

void BM_EclToEqu(benchmark::State& state) {
    Coord3 p{123.4, 2.5, 1.0};
    for (auto _ : state) {
        Coord3 q = p;
        EclToEqu(q, 23.44);
        benchmark::DoNotOptimize(q);
    }
}
BENCHMARK(BM_EclToEqu);

void BM_AltAzimuth(benchmark::State& state) {
    const Coord3 place{210.0, -12.0, 1.0};
    for (auto _ : state) benchmark::DoNotOptimize(AltAzimuth(2461380.5, place, 43.1, 131.9));
}
BENCHMARK(BM_AltAzimuth);

}  // namespace
