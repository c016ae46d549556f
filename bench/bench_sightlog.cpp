// The sight log: recording one fix of four sights (one transaction, synchronous
// write-ahead log, in a file under the system's temporary folder) and listing a
// log of 10,000 fixes newest first with their bodies.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "log/mSightLog.h"

namespace fs = std::filesystem;

namespace {

LoggedFix FourSightFix() {
    LoggedFix f;
    f.UT = 46000.5;
    f.ZoneTime = f.UT + 0.125;
    f.Working = DefaultNavigationState();
    f.Working.LocalDate = f.ZoneTime;
    f.FixLat = 40.01;
    f.FixLon = -19.98;
    f.EllipseA = 1.2;
    f.EllipseB = 0.6;
    f.EllipseAlpha = 35.0;
    f.Version = "0.1.0";
    const char* names[4] = {"Sun", "Moon", "Venus", "Alpha Bootis (Arcturus)"};
    for (int i = 0; i < 4; ++i) {
        LoggedSight s;
        s.Line = i + 1;
        s.Body = i < 3 ? -i * 4 : 5340;
        s.BodyName = names[i];
        s.TimeText = "12:00:00";
        s.AltitudeText = "45-00.0";
        s.UT = f.UT;
        s.Hs = 45.0;
        s.Hc = 44.9;
        s.Zn = 90.0 * i;
        s.Intercept = 0.5;
        f.Sights.push_back(s);
    }
    return f;
}

struct TempLog {
    TempLog() {
        std::string tmpl = (fs::temp_directory_path() / "bench-sightlog-XXXXXX").string();
        if (mkdtemp(tmpl.data())) dir = tmpl;
        path = (dir / "sightlog.db").string();
    }
    ~TempLog() {
        if (!dir.empty()) fs::remove_all(dir);
    }
    fs::path dir;
    std::string path;
};

}  // namespace

static void BM_RecordFourSightFix(benchmark::State& state) {
    TempLog tmp;
    SightLog log;
    if (tmp.dir.empty() || !log.Open(tmp.path).Ok) {
        state.SkipWithError("cannot open a log in the temporary folder");
        return;
    }
    LoggedFix f = FourSightFix();
    for (auto _ : state) benchmark::DoNotOptimize(log.Record(f));
}
BENCHMARK(BM_RecordFourSightFix)->Unit(benchmark::kMillisecond);

static void BM_ListTenThousandFixes(benchmark::State& state) {
    TempLog tmp;
    SightLog log;
    if (tmp.dir.empty() || !log.Open(tmp.path).Ok) {
        state.SkipWithError("cannot open a log in the temporary folder");
        return;
    }
    LoggedFix f = FourSightFix();
    log.Record(f);
    // 9,999 copies of the first fix a minute apart, with its sights, in one transaction.
    sqlite3* db = nullptr;
    sqlite3_open(tmp.path.c_str(), &db);
    const char* fill =
        "BEGIN;"
        "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 9999)"
        " INSERT INTO fix(ut, zone_time, tz, dr_lat, dr_lon, course, speed, temperature, pressure, height_of_eye,"
        " index_correction, fix_dr_lat, fix_dr_lon, fix_lat, fix_lon, ellipse_a, ellipse_b, ellipse_alpha,"
        " course_from_dr, distance_from_dr, version, note)"
        " SELECT ut + n / 1440.0, zone_time + n / 1440.0, tz, dr_lat, dr_lon, course, speed, temperature, pressure,"
        " height_of_eye, index_correction, fix_dr_lat, fix_dr_lon, fix_lat, fix_lon, ellipse_a, ellipse_b,"
        " ellipse_alpha, course_from_dr, distance_from_dr, version, note FROM fix, c WHERE fix.id = 1;"
        "INSERT INTO sight SELECT f.id, s.line, s.body, s.body_name, s.time_text, s.altitude_text, s.lower_limb,"
        " s.ut, s.hs, s.hc, s.zn, s.intercept FROM fix f, sight s WHERE s.fix_id = 1 AND f.id > 1;"
        "COMMIT;";
    const bool filled = sqlite3_exec(db, fill, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!filled || log.ListAll().size() != 10000) {
        state.SkipWithError("cannot fill the log");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(log.ListAll());
}
BENCHMARK(BM_ListTenThousandFixes)->Unit(benchmark::kMillisecond);
