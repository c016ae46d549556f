#include "log/mSightLog.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <sys/stat.h>

#include "core/mTextForms.h"
#include "core/mStar.h"
#include "core/mPlanet.h"

namespace {

// One prepared statement, finalized on every way out.
class Stmt {
public:
    Stmt(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &s_, nullptr); }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool Ok() const { return rc_ == SQLITE_OK; }
    void Reset() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Stmt& Bind(int i, double v) { return Check(sqlite3_bind_double(s_, i, v)); }
    // A number that may be missing: NaN is kept as NULL.
    Stmt& BindReal(int i, double v) {
        return Check(std::isnan(v) ? sqlite3_bind_null(s_, i) : sqlite3_bind_double(s_, i, v));
    }
    Stmt& Bind(int i, std::int64_t v) { return Check(sqlite3_bind_int64(s_, i, v)); }
    Stmt& Bind(int i, int v) { return Check(sqlite3_bind_int(s_, i, v)); }
    Stmt& Bind(int i, const std::string& v) {
        return Check(sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
    }
    // SQLITE_ROW, SQLITE_DONE or the error code.
    int Step() { return rc_ == SQLITE_OK ? sqlite3_step(s_) : rc_; }
    // A REAL column read back; NaN when the stored value is not a number (text, blob,
    // null), so the record's check refuses it.
    double D(int i) const {
        const int type = sqlite3_column_type(s_, i);
        return type == SQLITE_FLOAT || type == SQLITE_INTEGER ? sqlite3_column_double(s_, i)
                                                              : std::numeric_limits<double>::quiet_NaN();
    }
    // An optional REAL column (absent in older records): NaN when null.
    double Real(int i) const { return D(i); }
    int I(int i) const { return sqlite3_column_int(s_, i); }
    std::int64_t L(int i) const { return sqlite3_column_int64(s_, i); }
    std::string T(int i) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, i));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s_, i))) : std::string();
    }

private:
    Stmt& Check(int rc) {
        if (rc_ == SQLITE_OK && rc != SQLITE_OK) rc_ = rc;
        return *this;
    }
    sqlite3_stmt* s_ = nullptr;
    int rc_ = SQLITE_OK;
};

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// "dir/sightlog.db" -> "dir/sightlog.damaged.db", then "...damaged-2.db", ...
std::string AsidePath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? path.substr(0, dot) : path;
    const std::string ext = hasExt ? path.substr(dot) : std::string();
    for (int n = 1;; ++n) {
        const std::string candidate = stem + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n)) + ext;
        if (!FileExists(candidate) && !FileExists(candidate + "-wal")) return candidate;
    }
}

// The user's words for an SQLite failure.
std::string Reason(sqlite3* db, int rc) {
    switch (rc & 0xff) {
        case SQLITE_READONLY: return "the file or its folder is read-only";
        case SQLITE_FULL: return "the disk is full";
        case SQLITE_CANTOPEN: return "the file or its folder cannot be reached or written";
        case SQLITE_PERM: return "permission denied";
        default: return db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    }
}

// The passes' shifts as stored: "59.812 0.205 0.000" with every digit of the double.
std::string ShiftsText(const std::vector<double>& shifts) {
    std::string out;
    for (double v : shifts) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        if (!out.empty()) out += ' ';
        out.append(buf, r.ptr);
    }
    return out;
}

std::vector<double> ShiftsOf(const std::string& text) {
    std::vector<double> out;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        while (p < end && *p == ' ') ++p;
        double v = 0.0;
        const auto r = std::from_chars(p, end, v);
        if (r.ec != std::errc()) break;
        out.push_back(v);
        p = r.ptr;
    }
    return out;
}

bool IsDamage(int rc) { return (rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT; }

// A float field read back: NaN when the stored double does not fit a float (the check
// then refuses it; the cast itself would be undefined).
float ToFloat(double v) {
    return std::fabs(v) <= std::numeric_limits<float>::max() ? static_cast<float>(v)
                                                              : std::numeric_limits<float>::quiet_NaN();
}

// The schema, one step per version: step k takes a file from version k - 1 to k.
constexpr const char* kMigrations[] = {
    // 1: fixes and their sights.
    "CREATE TABLE fix("
    " id INTEGER PRIMARY KEY,"
    " ut REAL NOT NULL, zone_time REAL NOT NULL, tz REAL NOT NULL,"
    " dr_lat REAL NOT NULL, dr_lon REAL NOT NULL, course REAL NOT NULL, speed REAL NOT NULL,"
    " temperature REAL NOT NULL, pressure REAL NOT NULL, height_of_eye REAL NOT NULL,"
    " index_correction REAL NOT NULL,"
    " fix_dr_lat REAL NOT NULL, fix_dr_lon REAL NOT NULL, fix_lat REAL NOT NULL, fix_lon REAL NOT NULL,"
    " ellipse_a REAL NOT NULL, ellipse_b REAL NOT NULL, ellipse_alpha REAL NOT NULL,"
    " course_from_dr REAL NOT NULL, distance_from_dr REAL NOT NULL, version TEXT NOT NULL);"
    "CREATE INDEX fix_ut ON fix(ut);"
    "CREATE TABLE sight("
    " fix_id INTEGER NOT NULL REFERENCES fix(id) ON DELETE CASCADE, line INTEGER NOT NULL,"
    " body INTEGER NOT NULL, body_name TEXT NOT NULL, time_text TEXT NOT NULL,"
    " altitude_text TEXT NOT NULL, lower_limb INTEGER NOT NULL, ut REAL NOT NULL,"
    " hs REAL NOT NULL, hc REAL NOT NULL, zn REAL NOT NULL, intercept REAL NOT NULL,"
    " PRIMARY KEY(fix_id, line)) WITHOUT ROWID;",
    // 2: the user's note, and the date filter's index.
    "ALTER TABLE fix ADD COLUMN note TEXT NOT NULL DEFAULT '';"
    "CREATE INDEX fix_zone_time ON fix(zone_time);",
    // 3: the passes of an iterated fix (0: not kept), and each sight's reduction
    // from the DR (NULL in the rows of older schemas).
    "ALTER TABLE fix ADD COLUMN passes INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE fix ADD COLUMN pass_shifts TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE sight ADD COLUMN dr_lat REAL;"
    "ALTER TABLE sight ADD COLUMN dr_lon REAL;"
    "ALTER TABLE sight ADD COLUMN gha REAL;"
    "ALTER TABLE sight ADD COLUMN dec REAL;"
    "ALTER TABLE sight ADD COLUMN dip REAL;"
    "ALTER TABLE sight ADD COLUMN refraction REAL;"
    "ALTER TABLE sight ADD COLUMN tp REAL;"
    "ALTER TABLE sight ADD COLUMN semidiameter REAL;"
    "ALTER TABLE sight ADD COLUMN parallax REAL;"
    "ALTER TABLE sight ADD COLUMN ho REAL;"
    "ALTER TABLE sight ADD COLUMN residual REAL;",
};
static_assert(std::size(kMigrations) == SightLog::kSchemaVersion);

// The columns of a table in db, in the order defined; empty when there is no such table.
std::vector<std::string> ColumnsOf(sqlite3* db, const char* table) {
    std::vector<std::string> out;
    Stmt info(db, (std::string("PRAGMA table_info(") + table + ")").c_str());
    while (info.Step() == SQLITE_ROW) out.push_back(info.T(1));
    return out;
}

// The tables and columns a file of this schema version has: what the steps up to it
// build, worked in a database in memory. A file claiming the version without all of
// them is damaged (a table or a column missing would fail every listing).
std::vector<std::pair<std::string, std::vector<std::string>>> SchemaOfVersion(int version) {
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    sqlite3* mem = nullptr;
    if (sqlite3_open(":memory:", &mem) != SQLITE_OK) {
        sqlite3_close(mem);
        return out;
    }
    for (int v = 0; v < version; ++v) sqlite3_exec(mem, kMigrations[v], nullptr, nullptr, nullptr);
    for (const char* table : {"fix", "sight"}) {
        std::vector<std::string> columns = ColumnsOf(mem, table);
        if (!columns.empty()) out.emplace_back(table, std::move(columns));
    }
    sqlite3_close(mem);
    return out;
}

// The listing in two scans: the fixes, then their sights' bodies in line order.
constexpr const char* kSummaryFixes =
    "SELECT f.id, f.ut, f.zone_time, f.fix_lat, f.fix_lon, f.ellipse_a, f.ellipse_b, f.ellipse_alpha, f.note"
    " FROM fix f WHERE f.zone_time >= ?1 AND f.zone_time < ?2 ORDER BY f.ut DESC, f.id DESC";
constexpr const char* kSummaryBodies =
    "SELECT s.fix_id, s.body_name FROM sight s JOIN fix f ON f.id = s.fix_id"
    " WHERE f.zone_time >= ?1 AND f.zone_time < ?2 ORDER BY s.fix_id, s.line";

}  // namespace

void SetWorkings(LoggedSight& s, const LatLon& from, const SightReduction& r) {
    s.Lat = from.Lat;
    s.Lon = from.Lon;
    s.Gha = r.Gha;
    s.Dec = r.Dec;
    s.Dip = r.Dip;
    s.Refr = r.Refr;
    s.TP = r.TP;
    s.SemiD = r.SemiD;
    s.Parallax = r.Parallax;
    s.Ho = r.Ho;
    s.Hc = r.Hc;
    s.Zn = r.Az;
    s.Intercept = r.Intercept;
}

LoggedFix MakeLoggedFix(const FixResult& fix, const std::string& version) {
    const NavigationStateRecord& working = fix.Working;
    const SightLines& lines = fix.Lines;
    LoggedFix f;
    f.Working = working;
    f.Working.LocalDate = fix.FixTime;
    f.Working.StateLoaded = false;
    f.ZoneTime = fix.FixTime;
    f.UT = fix.FixTime - static_cast<double>(working.TZ) / 24.0;
    f.DRLat = fix.DRLat;
    f.DRLon = fix.DRLon;
    f.FixLat = fix.FixLat;
    f.FixLon = fix.FixLon;
    f.EllipseA = fix.EllipseA;
    f.EllipseB = fix.EllipseB;
    f.EllipseAlpha = fix.EllipseAlpha;
    const CourseDistance& cd = fix.FromDR;
    f.CourseFromDR = cd.C;
    f.DistanceFromDR = cd.Dist;
    f.Passes = fix.Passes;
    for (int k = 0; k < fix.Passes && k < kMaxFixPasses; ++k) f.PassShift.push_back(fix.PassShift[static_cast<size_t>(k)]);
    f.Version = version;
    for (size_t i = 0; i < 4; ++i) {
        if (!LineInUse(lines.Body[i])) continue;
        LoggedSight s;
        s.Line = static_cast<int>(i) + 1;
        s.Body = lines.Body[i];
        s.BodyName = BodyNameOfCode(s.Body);
        s.TimeText = lines.Time[i];
        s.AltitudeText = lines.Altitude[i];
        s.LowerLimb = HasLimb(s.Body) && lines.LowerLimb[i];
        s.UT = fix.LineTime[i];
        s.Hs = fix.Hs[i];
        SetWorkings(s, fix.LinePos[i], fix.Reduction[i]);  // Hc, Az and Intercept as the fix used them
        s.Residual = fix.Residual[i];
        f.Sights.push_back(s);
    }
    return f;
}

SightLines SightLinesOf(const LoggedFix& fix) {
    SightLines lines;
    for (const LoggedSight& s : fix.Sights) {
        if (s.Line < 1 || s.Line > 4) continue;
        const size_t i = static_cast<size_t>(s.Line - 1);
        lines.Body[i] = s.Body;
        lines.Time[i] = s.TimeText;
        lines.Altitude[i] = s.AltitudeText;
        lines.LowerLimb[i] = s.LowerLimb;
    }
    return lines;
}

// ---- Checking what is read back ----

namespace {

// The span a logged instant may lie in: the working data's zone dates 1900-2100, with a
// day either side for the zone and for sights taken before the fix.
bool LoggedTime(DateValue v) {
    static const DateValue first = DateFromParts(1899, 12, 31), last = DateFromParts(2101, 1, 2);
    return v >= first && v <= last;  // false for NaN
}

bool Within(double v, double lo, double hi) { return v >= lo && v <= hi; }  // false for NaN

// The first failing check's words, or empty.
struct Checks {
    std::string fault;
    Checks& operator()(bool ok, const char* what) {
        if (!ok && fault.empty()) fault = what;
        return *this;
    }
};

}  // namespace

std::string FaultOf(const LoggedFixSummary& r) {
    Checks c;
    c(LoggedTime(r.UT), "its UT is not a date from 1899 to 2101");
    c(LoggedTime(r.ZoneTime) && std::fabs(r.ZoneTime - r.UT) <= 14.0 / 24.0 + 1e-9,
      "its zone time is not within 14 hours of its UT");
    c(Within(r.FixLat, -90, 90) && Within(r.FixLon, -180, 180), "its position is off the globe");
    c(Within(r.EllipseA, 0, 1e6) && Within(r.EllipseB, 0, 1e6) && Within(r.EllipseAlpha, -360, 360),
      "its error ellipse is not a size");
    return c.fault;
}

std::string FaultOf(const LoggedFix& f) {
    LoggedFixSummary r;
    r.UT = f.UT;
    r.ZoneTime = f.ZoneTime;
    r.FixLat = f.FixLat;
    r.FixLon = f.FixLon;
    r.EllipseA = f.EllipseA;
    r.EllipseB = f.EllipseB;
    r.EllipseAlpha = f.EllipseAlpha;
    Checks c;
    c.fault = FaultOf(r);
    const NavigationStateRecord& w = f.Working;
    c(kZoneRange.Holds(w.TZ) && kCourseRange.Holds(w.Course) && kSpeedRange.Holds(w.Speed) &&
          kTempRange.Holds(w.Temp) && kPressureRange.Holds(w.Pressure) && kEyeRange.Holds(w.hEye) &&
          kIndexCorrRange.Holds(w.i_s),
      "its working data lie outside their ranges");
    c(Within(w.Lat, -90, 90) && Within(w.Lon, -180, 180) && Within(f.DRLat, -90, 90) && Within(f.DRLon, -180, 180),
      "its dead-reckoning position is off the globe");
    c(Within(f.CourseFromDR, -360, 360) && Within(f.DistanceFromDR, 0, 1e6), "its course and distance are not a run");
    c(f.Sights.size() <= static_cast<size_t>(kMaxLoggedSights), "it has more sights than a fix can have");
    c(f.Passes >= 0 && f.Passes <= 1000 && std::all_of(f.PassShift.begin(), f.PassShift.end(), [](double v) {
          return Within(v, 0, 1e6);
      }), "its passes are not a count of moves");
    int lastLine = 0;
    for (const LoggedSight& s : f.Sights) {
        c(s.Line > lastLine && s.Line <= kMaxLoggedSights, "a sight's line number is out of order or too large");
        lastLine = s.Line;
        // A star's number must be in the catalogue (once it is loaded) and in 16 bits.
        const bool catalogue = Stars[1].Number != 0;
        c((s.Body <= 0 && s.Body >= -8) || (s.Body > 0 && s.Body <= 32767 && (!catalogue || StarIndex(s.Body) != 0)),
          "a sight's body is unknown");
        c(LoggedTime(s.UT), "a sight's UT is not a date from 1899 to 2101");
        c(Within(s.Hs, -90, 90) && Within(s.Hc, -90, 90), "a sight's altitude is beyond 90 degrees");
        c(Within(s.Zn, 0, 360) && Within(s.Intercept, -1e6, 1e6), "a sight's azimuth or intercept is not an angle");
        // The steps of the reduction: absent (NaN) in older records, else finite angles.
        for (double v : {s.Lat, s.Lon, s.Gha, s.Dec, s.Dip, s.Refr, s.TP, s.SemiD, s.Parallax, s.Ho, s.Residual})
            c(std::isnan(v) || Within(v, -1e6, 1e6), "a step of a sight's reduction is not a number");
    }
    return c.fault;
}

SightLog::~SightLog() { Close(); }

void SightLog::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SightLog::Fail(const std::string& doing) {
    const int rc = sqlite3_extended_errcode(db_);
    throw SightLogError("The sight log " + path_ + " could not " + doing + ": " + Reason(db_, rc) + ".");
}

void SightLog::Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail("be updated");
}

int SightLog::SchemaVersion() {
    Stmt s(db_, "PRAGMA user_version");
    return s.Step() == SQLITE_ROW ? s.I(0) : -1;
}

SightLog::OpenReport SightLog::Open(const std::string& path) {
    Close();
    path_ = path;
    OpenReport report;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            report.Error = "The sight log " + path + " cannot be opened: " + Reason(db_, rc) + ".";
            Close();
            return report;
        }
        sqlite3_busy_timeout(db_, 2000);
        std::string unreadable;
        const bool damaged = IsDamaged(&unreadable);
        if (!unreadable.empty()) {
            report.Error = "The sight log " + path + " cannot be read: " + unreadable + ".";
            Close();
            return report;
        }
        if (!damaged) break;
        Close();
        if (attempt > 0) {
            report.Error = "The sight log " + path + " is still damaged after a new one was started.";
            return report;
        }
        const std::string aside = AsidePath(path);
        if (std::rename(path.c_str(), aside.c_str()) != 0) {
            report.Error = "The sight log " + path + " is damaged and could not be moved aside.";
            return report;
        }
        for (const char* suffix : {"-wal", "-shm"})
            if (FileExists(path + suffix)) std::rename((path + suffix).c_str(), (aside + suffix).c_str());
        report.SetAsidePath = aside;
    }
    // A later version's file is left exactly as it is: nothing is written to it, not
    // even the journal mode.
    const int version = SchemaVersion();
    if (version > kSchemaVersion) {
        report.Error = "The sight log " + path + " was written by a later version of Veltrano (schema " +
                       std::to_string(version) + "); it is left as it is and no fix is recorded.";
        Close();
        return report;
    }
    const bool readOnly = sqlite3_db_readonly(db_, "main") == 1;
    if (!readOnly) {
        sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db_, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr);
    try {
        if (version < kSchemaVersion) Migrate();
    } catch (const SightLogError& e) {
        report.Error = e.what();
        Close();
        return report;
    }
    report.Ok = true;
    return report;
}

bool SightLog::IsDamaged(std::string* unreadable) {
    // Pages that fail the check, or a file that is not a database.
    Stmt check(db_, "PRAGMA quick_check(1)");
    const int step = check.Step();
    if (step != SQLITE_ROW) {
        if (IsDamage(step) || IsDamage(sqlite3_extended_errcode(db_))) return true;
        *unreadable = Reason(db_, step);
        return false;
    }
    if (check.T(0) != "ok") return true;
    // A header no version of the program writes: a negative schema number, or a schema
    // whose tables or columns are missing.
    const int version = SchemaVersion();
    if (version < 0) return true;
    if (version > kSchemaVersion) return false;  // a later version's business
    for (const auto& [table, columns] : SchemaOfVersion(version)) {
        const std::vector<std::string> has = ColumnsOf(db_, table.c_str());
        for (const std::string& c : columns)
            if (std::find(has.begin(), has.end(), c) == has.end()) return true;
    }
    return false;
}

void SightLog::Migrate() {
    for (int v = SchemaVersion(); v < kSchemaVersion; ++v) {
        Exec("BEGIN IMMEDIATE");
        const std::string sql = std::string(kMigrations[v]) + "PRAGMA user_version=" + std::to_string(v + 1) + ";";
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            const std::string reason = Reason(db_, sqlite3_extended_errcode(db_));
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw SightLogError("The sight log " + path_ + " could not be brought to schema " +
                                std::to_string(v + 1) + ": " + reason + ".");
        }
        Exec("COMMIT");
    }
}

std::int64_t SightLog::Record(LoggedFix& fix) {
    if (!db_) throw SightLogError("The sight log is not open.");
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) Fail("record the fix");
    try {
        const NavigationStateRecord& w = fix.Working;
        Stmt f(db_,
               "INSERT INTO fix(ut, zone_time, tz, dr_lat, dr_lon, course, speed, temperature, pressure,"
               " height_of_eye, index_correction, fix_dr_lat, fix_dr_lon, fix_lat, fix_lon, ellipse_a, ellipse_b,"
               " ellipse_alpha, course_from_dr, distance_from_dr, version, note, passes, pass_shifts)"
               " VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        f.Bind(1, fix.UT).Bind(2, fix.ZoneTime).Bind(3, double(w.TZ)).Bind(4, w.Lat).Bind(5, w.Lon);
        f.Bind(6, double(w.Course)).Bind(7, double(w.Speed)).Bind(8, double(w.Temp)).Bind(9, double(w.Pressure));
        f.Bind(10, double(w.hEye)).Bind(11, double(w.i_s)).Bind(12, fix.DRLat).Bind(13, fix.DRLon);
        f.Bind(14, fix.FixLat).Bind(15, fix.FixLon).Bind(16, fix.EllipseA).Bind(17, fix.EllipseB);
        f.Bind(18, fix.EllipseAlpha).Bind(19, fix.CourseFromDR).Bind(20, fix.DistanceFromDR);
        f.Bind(21, fix.Version).Bind(22, fix.Note).Bind(23, fix.Passes).Bind(24, ShiftsText(fix.PassShift));
        if (f.Step() != SQLITE_DONE) Fail("record the fix");
        const std::int64_t id = sqlite3_last_insert_rowid(db_);
        Stmt one(db_,
                 "INSERT INTO sight(fix_id, line, body, body_name, time_text, altitude_text, lower_limb, ut, hs, hc,"
                 " zn, intercept, dr_lat, dr_lon, gha, dec, dip, refraction, tp, semidiameter, parallax, ho, residual)"
                 " VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        for (const LoggedSight& l : fix.Sights) {
            one.Reset();
            one.Bind(1, id).Bind(2, l.Line).Bind(3, l.Body).Bind(4, l.BodyName).Bind(5, l.TimeText);
            one.Bind(6, l.AltitudeText).Bind(7, l.LowerLimb ? 1 : 0).Bind(8, l.UT).Bind(9, l.Hs).Bind(10, l.Hc);
            one.Bind(11, l.Zn).Bind(12, l.Intercept);
            const double more[] = {l.Lat, l.Lon, l.Gha, l.Dec, l.Dip, l.Refr, l.TP, l.SemiD, l.Parallax, l.Ho, l.Residual};
            for (size_t k = 0; k < std::size(more); ++k) one.BindReal(13 + static_cast<int>(k), more[k]);
            if (one.Step() != SQLITE_DONE) Fail("record the sights of the fix");
        }
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) Fail("record the fix");
        fix.Id = id;
        return id;
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<LoggedFixSummary> SightLog::List(DateValue fromZone, DateValue toZone) {
    if (!db_) return {};
    std::vector<LoggedFixSummary> out;
    std::unordered_map<std::int64_t, size_t> row;
    Stmt q(db_, kSummaryFixes);
    q.Bind(1, fromZone).Bind(2, toZone);
    if (!q.Ok()) Fail("be read");
    while (q.Step() == SQLITE_ROW) {
        LoggedFixSummary r;
        r.Id = q.L(0);
        r.UT = q.D(1);
        r.ZoneTime = q.D(2);
        r.FixLat = q.D(3);
        r.FixLon = q.D(4);
        r.EllipseA = q.D(5);
        r.EllipseB = q.D(6);
        r.EllipseAlpha = q.D(7);
        r.Note = q.T(8);
        r.Fault = FaultOf(r);
        row.emplace(r.Id, out.size());
        out.push_back(std::move(r));
    }
    Stmt b(db_, kSummaryBodies);
    b.Bind(1, fromZone).Bind(2, toZone);
    if (!b.Ok()) Fail("be read");
    while (b.Step() == SQLITE_ROW) {
        const auto it = row.find(b.L(0));
        if (it == row.end()) continue;
        LoggedFixSummary& r = out[it->second];
        if (r.BodyCount++ > 0) r.BodyNames += ", ";
        r.BodyNames += b.T(1);
    }
    return out;
}

std::vector<LoggedFixSummary> SightLog::ListAll() {
    return List(-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity());
}

LoggedFix SightLog::Load(std::int64_t id) {
    if (!db_) throw SightLogError("The sight log is not open.");
    Stmt q(db_,
           "SELECT ut, zone_time, tz, dr_lat, dr_lon, course, speed, temperature, pressure, height_of_eye,"
           " index_correction, fix_dr_lat, fix_dr_lon, fix_lat, fix_lon, ellipse_a, ellipse_b, ellipse_alpha,"
           " course_from_dr, distance_from_dr, version, note, passes, pass_shifts FROM fix WHERE id = ?");
    q.Bind(1, id);
    if (q.Step() != SQLITE_ROW) throw SightLogError("The sight log holds no fix number " + std::to_string(id) + ".");
    LoggedFix f;
    f.Id = id;
    f.UT = q.D(0);
    f.ZoneTime = q.D(1);
    NavigationStateRecord& w = f.Working;
    w.LocalDate = f.ZoneTime;
    w.TZ = ToFloat(q.D(2));
    w.Lat = q.D(3);
    w.Lon = q.D(4);
    w.Course = ToFloat(q.D(5));
    w.Speed = ToFloat(q.D(6));
    w.Temp = ToFloat(q.D(7));
    w.Pressure = ToFloat(q.D(8));
    w.hEye = ToFloat(q.D(9));
    w.i_s = ToFloat(q.D(10));
    f.DRLat = q.D(11);
    f.DRLon = q.D(12);
    f.FixLat = q.D(13);
    f.FixLon = q.D(14);
    f.EllipseA = q.D(15);
    f.EllipseB = q.D(16);
    f.EllipseAlpha = q.D(17);
    f.CourseFromDR = q.D(18);
    f.DistanceFromDR = q.D(19);
    f.Version = q.T(20);
    f.Note = q.T(21);
    f.Passes = q.I(22);
    f.PassShift = ShiftsOf(q.T(23));
    Stmt s(db_,
           "SELECT line, body, body_name, time_text, altitude_text, lower_limb, ut, hs, hc, zn, intercept,"
           " dr_lat, dr_lon, gha, dec, dip, refraction, tp, semidiameter, parallax, ho, residual"
           " FROM sight WHERE fix_id = ? ORDER BY line");
    s.Bind(1, id);
    while (s.Step() == SQLITE_ROW) {
        LoggedSight l;
        l.Line = s.I(0);
        l.Body = s.I(1);
        l.BodyName = s.T(2);
        l.TimeText = s.T(3);
        l.AltitudeText = s.T(4);
        l.LowerLimb = s.I(5) != 0;
        l.UT = s.D(6);
        l.Hs = s.D(7);
        l.Hc = s.D(8);
        l.Zn = s.D(9);
        l.Intercept = s.D(10);
        double* more[] = {&l.Lat, &l.Lon, &l.Gha, &l.Dec, &l.Dip, &l.Refr, &l.TP, &l.SemiD, &l.Parallax, &l.Ho, &l.Residual};
        for (size_t k = 0; k < std::size(more); ++k) *more[k] = s.Real(11 + static_cast<int>(k));
        f.Sights.push_back(std::move(l));
    }
    if (const std::string why = FaultOf(f); !why.empty())
        throw SightLogError("Fix number " + std::to_string(id) + " in the sight log is damaged: " + why + ".");
    return f;
}

void SightLog::Delete(const std::vector<std::int64_t>& ids) {
    if (!db_) throw SightLogError("The sight log is not open.");
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) Fail("delete the fixes");
    try {
        for (std::int64_t id : ids) {
            Stmt d(db_, "DELETE FROM fix WHERE id = ?");
            d.Bind(1, id);
            if (d.Step() != SQLITE_DONE) Fail("delete the fixes");
            if (sqlite3_changes(db_) == 0) throw SightLogError(GoneMessage(id, "nothing was deleted"));
        }
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) Fail("delete the fixes");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SightLog::SetNote(std::int64_t id, const std::string& note) {
    if (!db_) throw SightLogError("The sight log is not open.");
    Stmt u(db_, "UPDATE fix SET note = ? WHERE id = ?");
    u.Bind(1, note).Bind(2, id);
    if (u.Step() != SQLITE_DONE) Fail("keep the note");
    if (sqlite3_changes(db_) == 0) throw SightLogError(GoneMessage(id, "the note was not kept"));
}

std::string SightLog::GoneMessage(std::int64_t id, const std::string& outcome) const {
    return "Fix number " + std::to_string(id) + " is no longer in the sight log " + path_ +
           " (deleted elsewhere, perhaps by another Veltrano); " + outcome + ".";
}

// ---- CSV ----

namespace {

template <typename T>
std::string Num(T v) {
    if (!std::isfinite(v)) return std::string();
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// A text a spreadsheet would take for a formula (=, +, -, @, or a tab or CR first) gets a
// leading apostrophe, unless the whole text is a plain number ("-12.5" stays a number).
std::string Inert(const std::string& s) {
    if (s.empty() || std::string("=+-@\t\r").find(s[0]) == std::string::npos) return s;
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s[0] == '-' && r.ec == std::errc() && r.ptr == s.data() + s.size()) return s;
    return "'" + s;
}

// A text field: made inert, then quoted where needed.
std::string Field(const std::string& raw) {
    const std::string s = Inert(raw);
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string DateTimeText(DateValue v) {
    if (!(std::fabs(v) < kMaxDateValueDays)) return std::string();
    const CalendarDate p = DateToParts(std::round(v * 86400.0) / 86400.0);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  static_cast<int>(std::lround(p.second)) % 60);
    return buf;
}

std::string LatLonText(double deg, bool lat) {
    if (!std::isfinite(deg)) return std::string();
    const DegMin dm = SplitDegMin(std::fabs(deg), 1);
    return FormatNumberPattern(double(dm.degrees), lat ? "00" : "000", ".") + "-" +
           FormatNumberPattern(dm.minutes, "00.0", ".") + (lat ? (deg >= 0 ? "N" : "S") : (deg >= 0 ? "E" : "W"));
}

std::string AltitudeText(double deg) {
    if (!std::isfinite(deg)) return std::string();
    const DegMin dm = SplitDegMin(std::fabs(deg), 1);
    return std::string(deg < 0 ? "-" : "") + FormatNumberPattern(double(dm.degrees), "00", ".") + "-" +
           FormatNumberPattern(dm.minutes, "00.0", ".");
}

}  // namespace

std::string SightLogCsv(const std::vector<LoggedFix>& fixes) {
    std::string out =
        "fix_id,zone_time,ut,zone_hours,dr_lat,dr_lon,dr_lat_text,dr_lon_text,course,speed_kn,temperature_c,"
        "pressure_mb,height_of_eye_m,index_correction_min,fix_lat,fix_lon,fix_lat_text,fix_lon_text,"
        "ellipse_a_nm,ellipse_b_nm,ellipse_alpha,course_from_dr,distance_from_dr_nm,passes,pass_shifts_nm,version,"
        "note,line,body,sight_ut,sight_time_text,hs,hs_text,limb,dip_min,refraction_min,tp_min,semidiameter_min,"
        "parallax_min,ho,ho_text,hc,hc_text,zn,intercept_min,residual_min,sight_dr_lat,sight_dr_lon,gha,dec\r\n";
    for (const LoggedFix& f : fixes) {
        const NavigationStateRecord& w = f.Working;
        const std::string fixColumns =
            std::to_string(f.Id) + "," + DateTimeText(f.ZoneTime) + "," + DateTimeText(f.UT) + "," + Num(w.TZ) +
            "," + Num(w.Lat) + "," + Num(w.Lon) + "," + LatLonText(w.Lat, true) + "," + LatLonText(w.Lon, false) +
            "," + Num(w.Course) + "," + Num(w.Speed) + "," + Num(w.Temp) + "," + Num(w.Pressure) + "," +
            Num(w.hEye) + "," + Num(w.i_s) + "," + Num(f.FixLat) + "," + Num(f.FixLon) + "," +
            LatLonText(f.FixLat, true) + "," + LatLonText(f.FixLon, false) + "," + Num(f.EllipseA) + "," +
            Num(f.EllipseB) + "," + Num(f.EllipseAlpha) + "," + Num(f.CourseFromDR) + "," +
            Num(f.DistanceFromDR) + "," + (f.Passes > 0 ? std::to_string(f.Passes) : std::string()) + "," +
            ShiftsText(f.PassShift) + "," + Field(f.Version) + "," + Field(f.Note);
        for (const LoggedSight& s : f.Sights) {
            out += fixColumns + "," + std::to_string(s.Line) + "," + Field(s.BodyName) + "," + DateTimeText(s.UT) +
                   "," + Field(s.TimeText) + "," + Num(s.Hs) + "," + Field(AltitudeText(s.Hs)) + "," +
                   (!HasLimb(s.Body) ? "" : s.LowerLimb ? "lower" : "upper") + "," + Num(-60.0 * s.Dip) + "," +
                   Num(-60.0 * s.Refr) + "," + Num(-60.0 * s.TP) + "," + Num(60.0 * s.SemiD) + "," +
                   Num(60.0 * s.Parallax) + "," + Num(s.Ho) + "," + Field(AltitudeText(s.Ho)) + "," + Num(s.Hc) + "," +
                   Field(AltitudeText(s.Hc)) + "," + Num(s.Zn) + "," + Num(s.Intercept) + "," + Num(s.Residual) + "," +
                   Num(s.Lat) + "," + Num(s.Lon) + "," + Num(s.Gha) + "," + Num(s.Dec) + "\r\n";
        }
    }
    return out;
}
