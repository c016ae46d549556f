// The sight log's store: a fix and its sights back exactly, nothing of a fix after a failed
// write, damaged files set aside, the schema version and the migration of an older file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "support/csv.h"
#include "support/log_fixture.h"

namespace fs = std::filesystem;

namespace {

using testsupport::SampleFix;

// Every field, compared exactly.
auto Fields(const LoggedFix& f) {
    const NavigationStateRecord& w = f.Working;
    return std::make_tuple(f.UT, f.ZoneTime, w.LocalDate, w.TZ, w.Lat, w.Lon, w.Course, w.Speed, w.Temp, w.Pressure,
                           w.hEye, w.i_s, f.DRLat, f.DRLon, f.FixLat, f.FixLon, f.EllipseA, f.EllipseB,
                           f.EllipseAlpha, f.CourseFromDR, f.DistanceFromDR, f.Version, f.Note, f.Passes,
                           f.PassShift);
}
auto Fields(const LoggedSight& s) {
    return std::make_tuple(s.Line, s.Body, s.BodyName, s.TimeText, s.AltitudeText, s.LowerLimb, s.UT, s.Hs, s.Hc,
                           s.Zn, s.Intercept, s.Lat, s.Lon, s.Gha, s.Dec, s.Dip, s.Refr, s.TP, s.SemiD, s.Parallax,
                           s.Ho, s.Residual);
}
void ExpectSame(const LoggedFix& a, const LoggedFix& b) {
    EXPECT_TRUE(Fields(a) == Fields(b));
    ASSERT_EQ(a.Sights.size(), b.Sights.size());
    for (size_t i = 0; i < a.Sights.size(); ++i) EXPECT_TRUE(Fields(a.Sights[i]) == Fields(b.Sights[i])) << i;
}

// Runs sql on the file behind the log's back; the first column of the last row it gives (-1: none).
int RawExec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* err = nullptr;
    int n = -1;
    auto first = [](void* out, int, char** v, char**) {
        *static_cast<int*>(out) = v[0] ? std::atoi(v[0]) : -1;
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), first, &n, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    return n;
}

class SightLogStore : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "sightlog-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        path = (dir / "sightlog.db").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    std::string path;
};

}  // namespace

TEST_F(SightLogStore, FourLineFixComesBackExactlyAcrossAReopen) {
    LoggedFix in = SampleFix();
    {
        SightLog log;
        ASSERT_TRUE(log.Open(path).Ok);
        EXPECT_GT(log.Record(in), 0);
    }
    SightLog log;
    ASSERT_TRUE(log.Open(path).Ok);
    const std::vector<LoggedFixSummary> all = log.ListAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(all[0].Id == in.Id && all[0].BodyCount == 4 && all[0].BodyNames == "Sun, Mirfak, Moon, Jupiter");
    ExpectSame(log.Load(in.Id), in);
    // The lines go back to the position window as they were typed.
    const SightLines lines = SightLinesOf(in);
    EXPECT_TRUE(lines.Body[1] == 1017 && lines.Altitude[3] == "13-54.0" && lines.LowerLimb[1]);
}

// A write that fails part-way leaves nothing of it; a note or delete on a fix another
// connection deleted fails and changes nothing.
TEST_F(SightLogStore, AFailedWriteOrAFixDeletedElsewhereLeavesTheLogAsItWas) {
    SightLog log, other;
    ASSERT_TRUE(log.Open(path).Ok && other.Open(path).Ok);
    EXPECT_THROW(log.Load(1), SightLogError);
    LoggedFix first = SampleFix(), second = SampleFix();
    log.Record(first);
    // The third sight's write fails after the fix row and two sights were written.
    RawExec(path,
            "CREATE TRIGGER fail_line3 BEFORE INSERT ON sight WHEN NEW.line = 3 "
            "BEGIN SELECT RAISE(ABORT, 'simulated write failure'); END;");
    EXPECT_THROW(log.Record(second), SightLogError);
    EXPECT_EQ(second.Id, 0);
    EXPECT_EQ(RawExec(path, "SELECT count(*) FROM fix"), 1);
    EXPECT_EQ(RawExec(path, "SELECT count(*) FROM sight"), 4);
    // The log goes on working afterwards.
    RawExec(path, "DROP TRIGGER fail_line3");
    log.Record(second);
    EXPECT_EQ(log.ListAll().size(), 2u);
    // A delete of both that fails at the second leaves both.
    RawExec(path, "CREATE TRIGGER keep BEFORE DELETE ON fix WHEN OLD.id = " + std::to_string(second.Id) +
                      " BEGIN SELECT RAISE(ABORT, 'simulated write failure'); END;");
    EXPECT_THROW(log.Delete({first.Id, second.Id}), SightLogError);
    EXPECT_EQ(log.ListAll().size(), 2u);
    RawExec(path, "DROP TRIGGER keep");
    other.Delete({first.Id});
    EXPECT_THROW(log.SetNote(first.Id, std::string(40000, 'n')), SightLogError);
    EXPECT_THROW(log.Delete({second.Id, first.Id}), SightLogError);
    EXPECT_EQ(log.ListAll().size(), 1u);  // nothing was deleted
    log.SetNote(second.Id, std::string(40000, 'n'));
    EXPECT_EQ(other.Load(second.Id).Note.size(), 40000u);
}

TEST_F(SightLogStore, SchemaVersionRecordedAndOlderFileMigrated) {
    // A file of schema 1, as the first version of the log wrote it, with one fix.
    RawExec(path,
            "CREATE TABLE fix(id INTEGER PRIMARY KEY, ut REAL NOT NULL, zone_time REAL NOT NULL, tz REAL NOT NULL,"
            " dr_lat REAL NOT NULL, dr_lon REAL NOT NULL, course REAL NOT NULL, speed REAL NOT NULL,"
            " temperature REAL NOT NULL, pressure REAL NOT NULL, height_of_eye REAL NOT NULL,"
            " index_correction REAL NOT NULL, fix_dr_lat REAL NOT NULL, fix_dr_lon REAL NOT NULL,"
            " fix_lat REAL NOT NULL, fix_lon REAL NOT NULL, ellipse_a REAL NOT NULL, ellipse_b REAL NOT NULL,"
            " ellipse_alpha REAL NOT NULL, course_from_dr REAL NOT NULL, distance_from_dr REAL NOT NULL,"
            " version TEXT NOT NULL);"
            "CREATE INDEX fix_ut ON fix(ut);"
            "CREATE TABLE sight(fix_id INTEGER NOT NULL REFERENCES fix(id) ON DELETE CASCADE,"
            " line INTEGER NOT NULL, body INTEGER NOT NULL, body_name TEXT NOT NULL, time_text TEXT NOT NULL,"
            " altitude_text TEXT NOT NULL, lower_limb INTEGER NOT NULL, ut REAL NOT NULL, hs REAL NOT NULL,"
            " hc REAL NOT NULL, zn REAL NOT NULL, intercept REAL NOT NULL, PRIMARY KEY(fix_id, line)) WITHOUT ROWID;"
            "INSERT INTO fix VALUES(7, 45000.5, 45000.625, 3, 43.1, 131.9, 45, 12.5, 10, 1013, 15, -1.2,"
            " 43.1, 131.9, 43.2, 132.0, 1.5, 0.5, 30, 35.2, 7.3, '0.0.9');"
            "INSERT INTO sight VALUES(7, 1, 0, 'Sun', '12:00:00', '30-00.0', 1, 45000.5, 30, 29.9, 180, 1.2);"
            "PRAGMA user_version=1;");
    SightLog log;
    ASSERT_TRUE(log.Open(path).Ok);
    EXPECT_EQ(log.SchemaVersion(), SightLog::kSchemaVersion);
    const LoggedFix old = log.Load(7);
    ASSERT_EQ(old.Sights.size(), 1u);
    EXPECT_TRUE(old.FixLat == 43.2 && old.Note.empty() && old.Sights[0].BodyName == "Sun");
    EXPECT_EQ(old.Passes, 0);  // not kept then, nor the residual and Ho
    EXPECT_TRUE(std::isnan(old.Sights[0].Residual) && std::isnan(old.Sights[0].Ho));
    log.SetNote(7, "migrated");
    EXPECT_EQ(log.List(45000.0, 45001.0).size(), 1u);
}

// Damaged files: each is set aside under the next free name with a fresh log started, or
// (a later version's) left exactly as it is, journal mode included; never a crash.
TEST_F(SightLogStore, DamagedFilesAreSetAsideOrLeftAlone) {
    const struct {
        const char* sql;  // makes the file; none: bytes that are no database
        bool setAside;
    } cases[] = {
        {nullptr, true},
        {nullptr, true},  // a second one, set aside beside the first
        {"CREATE TABLE x(a); PRAGMA user_version=-100000;", true},
        {"CREATE TABLE x(a); PRAGMA user_version=-1;", true},
        {"CREATE TABLE x(a); PRAGMA user_version=2;", true},  // schema 2 without its tables
        {"CREATE TABLE fix(a); PRAGMA user_version=1;", true},
        // Schema 3's tables with a column of the sight table missing (its residual).
        {"CREATE TABLE fix(id INTEGER PRIMARY KEY, ut, zone_time, tz, dr_lat, dr_lon, course, speed, temperature,"
         " pressure, height_of_eye, index_correction, fix_dr_lat, fix_dr_lon, fix_lat, fix_lon, ellipse_a, ellipse_b,"
         " ellipse_alpha, course_from_dr, distance_from_dr, version, note, passes, pass_shifts);"
         "CREATE TABLE sight(fix_id, line, body, body_name, time_text, altitude_text, lower_limb, ut, hs, hc, zn,"
         " intercept, dr_lat, dr_lon, gha, dec, dip, refraction, tp, semidiameter, parallax, ho);"
         "PRAGMA user_version=3;", true},
        {"CREATE TABLE x(a); PRAGMA user_version=99;", false},  // a later version
    };
    int asides = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql ? c.sql : "not a database");
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
        if (c.sql)
            RawExec(path, c.sql);
        else
            std::ofstream(path, std::ios::binary) << "This is not an SQLite database" << std::string(4096, 'x');
        SightLog log;
        const SightLog::OpenReport r = log.Open(path);
        EXPECT_EQ(r.Ok, c.setAside) << r.Error;
        if (c.setAside) {
            ++asides;
            const std::string n = asides == 1 ? "" : "-" + std::to_string(asides);
            EXPECT_EQ(r.SetAsidePath, (dir / ("sightlog.damaged" + n + ".db")).string());
            EXPECT_EQ(testsupport::ReadAll(r.SetAsidePath).rfind(c.sql ? "SQLite format 3" : "This is not an SQLite database", 0), 0u);
            EXPECT_EQ(log.SchemaVersion(), SightLog::kSchemaVersion);
            EXPECT_TRUE(log.ListAll().empty());
            LoggedFix f = SampleFix();
            EXPECT_GT(log.Record(f), 0);
        } else {
            EXPECT_TRUE(r.SetAsidePath.empty());
            EXPECT_NE(r.Error.find("later version"), std::string::npos);
            EXPECT_FALSE(fs::exists(path + "-wal"));
            EXPECT_EQ(testsupport::ReadAll(path).at(18), 1);  // still the rollback journal, not WAL (2)
        }
    }
}

// Damaged records: every value read back is checked; the record is reported, listed as
// damaged, and the others still load.
TEST_F(SightLogStore, DamagedRecordsAreReportedNotFatal) {
    const struct {
        const char* sql;    // damages fix 1
        const char* fault;  // the report's words
        bool listed;        // the listing shows it damaged too
    } cases[] = {
        {"UPDATE fix SET ut = 1e300, zone_time = 1e300 WHERE id = 1", "UT is not a date", true},
        {"UPDATE fix SET zone_time = -4e7 WHERE id = 1", "zone time", true},
        {"UPDATE fix SET ut = x'00112233445566778899aabbccddeeff' WHERE id = 1", "UT is not a date", true},
        {"UPDATE fix SET fix_lat = 'north' WHERE id = 1", "off the globe", true},
        {"UPDATE fix SET tz = 1e300 WHERE id = 1", "working data", false},
        {"UPDATE sight SET body = -9 WHERE fix_id = 1 AND line = 2", "body is unknown", false},
        {"UPDATE sight SET ut = 1e20 WHERE fix_id = 1 AND line = 3", "sight's UT", false},
        {"UPDATE sight SET hs = 91 WHERE fix_id = 1 AND line = 1", "altitude", false},
        {"UPDATE sight SET line = 1000 WHERE fix_id = 1 AND line = 4", "line number", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
        SightLog log;
        ASSERT_TRUE(log.Open(path).Ok);
        LoggedFix bad = SampleFix(), good = SampleFix();
        log.Record(bad);
        log.Record(good);
        ASSERT_EQ(bad.Id, 1);
        RawExec(path, c.sql);
        try {
            log.Load(bad.Id);
            ADD_FAILURE() << "loaded";
        } catch (const SightLogError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fault), std::string::npos) << e.what();
        }
        ExpectSame(log.Load(good.Id), good);
        const std::vector<LoggedFixSummary> rows = log.ListAll();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const LoggedFixSummary& r) { return !r.Fault.empty(); }),
                  c.listed ? 1 : 0);
    }
}

TEST_F(SightLogStore, CsvTextCannotBeAFormula) {
    LoggedFix f = SampleFix();
    f.Sights.resize(1);
    f.Sights[0].Hs = -0.2;
    f.Sights[0].BodyName = "@Sun";
    const struct { const char* note; const char* field; } cases[] = {
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""}, {"+1", "'+1"}, {"-2+3", "'-2+3"}, {"-12.5", ",-12.5,"},
        {"@SUM(A1)", "'@SUM(A1)"}, {"plain", ",plain,"},
    };
    for (const auto& c : cases) {
        f.Note = c.note;
        const std::string csv = SightLogCsv({f});
        EXPECT_NE(csv.find(c.field), std::string::npos) << csv;
        EXPECT_NE(csv.find(",'@Sun,"), std::string::npos);
        EXPECT_NE(csv.find(",-0.2,'-00-12.0,"), std::string::npos);  // the number stays a number
    }
}
