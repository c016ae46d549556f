// A year of daily pages (122 three-day spreads, 244 pages) written to a PDF, as
// `veltrano --almanac-pdf 2025-01-01 2025-12-31 FILE.pdf` writes it.
//   ./build/bench/bench_daily_pages_pdf
#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "almanac/mDailyPages.h"
#include "almanac/mDailyPagesPrint.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"

namespace {

void BM_YearOfPagesToPdf(benchmark::State& state) {
    const QString path = QDir::temp().filePath(QStringLiteral("veltrano-bench-pages.pdf"));
    const DateValue from = DateFromParts(2025, 1, 1), to = DateFromParts(2025, 12, 31);
    for (auto _ : state) {
        QString error;
        if (!WriteDailyPagesPdf(path, from, to, nullptr, {}, &error)) state.SkipWithError(error.toStdString().c_str());
    }
    state.counters["spreads"] = static_cast<double>(SpreadStarts(from, to).size());
    QFile::remove(path);
}
BENCHMARK(BM_YearOfPagesToPdf)->Unit(benchmark::kSecond)->Iterations(1);

// One spread drawn and written (the numbers and the two pages).
void BM_OneSpreadToPdf(benchmark::State& state) {
    const QString path = QDir::temp().filePath(QStringLiteral("veltrano-bench-spread.pdf"));
    DateValue day = DateFromParts(2025, 1, 1);
    for (auto _ : state) {
        WriteDailyPagesPdf(path, day, day, nullptr, {}, nullptr);
        day += kSpreadDays;
    }
    QFile::remove(path);
}
BENCHMARK(BM_OneSpreadToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    for (const LoadStatus& st : {LoadPlanetData(), LoadStarFile(), LoadMoonFile()}) {
        if (!st.ok) {
            std::fprintf(stderr, "%s\n", st.message.c_str());
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
