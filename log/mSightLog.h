// The sight log: every calculated fix with the working data and the sights it
// was reduced from, kept in one SQLite database file (write-ahead log, one
// transaction per fix, the schema version in PRAGMA user_version).
#pragma once
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/mWorkingData.h"
#include "fix/mCalcPosition.h"

// The most sights one fix can have: the position window's four lines, a session's many.
inline constexpr int kMaxLoggedSights = 999;

// One sight of a logged fix. Angles in degrees.
struct LoggedSight {
    int Line = 1;                 // "Line No." 1..4, or the row 1..kMaxLoggedSights of a session
    BodyCode Body = kNoBody;      // as in SightLines
    std::string BodyName;         // "Sun", "Vega", ...
    std::string TimeText;         // UT time of day as typed, "hh:mm:ss"
    std::string AltitudeText;     // sextant altitude as typed, "dd-mm.m"
    bool LowerLimb = false;       // the Sun's or Moon's lower limb (false for a star or planet: no limb)
    DateValue UT = 0.0;           // instant of the sight
    double Hs = 0.0;              // sextant altitude
    // The reduction from the DR position at the sight (the navigator's workings);
    // NaN where a log of schema 2 or older did not keep it.
    double Lat = NAN, Lon = NAN;  // the DR at the sight
    double Gha = NAN, Dec = NAN;
    double Dip = NAN, Refr = NAN, TP = NAN, SemiD = NAN, Parallax = NAN;  // degrees, as applied: Ho = Hs +
    double Ho = NAN;              // i_s/60 - Dip - Refr - TP + SemiD + Parallax
    double Hc = 0.0;              // computed altitude
    double Zn = 0.0;              // azimuth, [0, 360) from north through east
    double Intercept = 0.0;       // Ho - Hc from the DR, arc minutes, + toward the body (schema 2 and
                                  // older: of the fix's last pass)
    double Residual = NAN;        // what is left of the line at the fix, arc minutes
};

// One logged fix.
struct LoggedFix {
    std::int64_t Id = 0;          // set by the log
    DateValue UT = 0.0;           // instant of the fix
    DateValue ZoneTime = 0.0;     // the same instant in zone time (UT + TZ hours)
    NavigationStateRecord Working;  // the working data as used (LocalDate = ZoneTime; StateLoaded not kept)
    double DRLat = 0.0, DRLon = 0.0;    // dead-reckoning position at the fix time
    double FixLat = 0.0, FixLon = 0.0;  // the fix
    double EllipseA = 0.0, EllipseB = 0.0, EllipseAlpha = 0.0;  // arc minutes, arc minutes, degrees
    double CourseFromDR = 0.0;    // degrees, as FixCourseDistance gives it
    double DistanceFromDR = 0.0;  // nautical miles
    int Passes = 0;               // 1: one pass; more: iterated; 0: not kept (schema 2 or older)
    std::vector<double> PassShift;  // how far each pass moved the position, nautical miles
    std::string Version;          // the program's version
    std::string Note;             // the user's line of text
    std::vector<LoggedSight> Sights;
};

// A row of the listing: the fix without its working data, with its bodies.
struct LoggedFixSummary {
    std::int64_t Id = 0;
    DateValue UT = 0.0, ZoneTime = 0.0;
    double FixLat = 0.0, FixLon = 0.0;
    double EllipseA = 0.0, EllipseB = 0.0, EllipseAlpha = 0.0;
    int BodyCount = 0;
    std::string BodyNames;  // in line order, ", " between
    std::string Note;
    std::string Fault;  // what is wrong with the stored record; empty when it is sound
};

// What is wrong with a record read back from the log ("its UT is not a date from 1899 to
// 2101"), or empty when every value lies in its range: times within the years the
// working data allows (zone dates 1900-2100, a day either side for UT and the sights),
// the working data within its ranges, positions within +-90 / +-180 degrees, altitudes
// within +-90, azimuths 0-360, lines 1 to kMaxLoggedSights in order, bodies that exist, sizes finite and
// not negative.
std::string FaultOf(const LoggedFix& fix);
std::string FaultOf(const LoggedFixSummary& row);

// Puts a sight's workings into its record: the position it was reduced from and every
// step of the reduction r (GHA, Dec, the corrections, Ho, Hc, Zn and the intercept).
void SetWorkings(LoggedSight& s, const LatLon& from, const SightReduction& r);

// The log's record of a fix just calculated (not refused): its working data,
// lines and numbers as the fix record holds them, and the program's version.
LoggedFix MakeLoggedFix(const FixResult& fix, const std::string& version);
// The lines of a logged fix as the position window takes them.
SightLines SightLinesOf(const LoggedFix& fix);

// A failure of the log; what() is a sentence for the user.
class SightLogError : public std::runtime_error {
public:
    explicit SightLogError(const std::string& what) : std::runtime_error(what) {}
};

struct sqlite3;

class SightLog {
public:
    // The schema this program writes. 1: fixes and sights; 2: the note and the
    // zone-time index; 3: the passes of the fix, and each sight's reduction from
    // the DR with its residual.
    static constexpr int kSchemaVersion = 3;

    SightLog() = default;
    ~SightLog();
    SightLog(const SightLog&) = delete;
    SightLog& operator=(const SightLog&) = delete;

    // What Open did.
    struct OpenReport {
        bool Ok = false;
        std::string SetAsidePath;  // a damaged file was moved here and a new log started
        std::string Error;         // why the log cannot be used (Ok false)
    };
    // Opens or creates the log at path (its folder must exist), checks it and
    // brings its schema up to date. A file that is not a database, fails the
    // integrity check or has a damaged header (IsDamaged) is renamed to "<stem>.damaged[-n]<ext>" (with its -wal
    // and -shm files) and a new log is started. A file written by a later
    // version, or one that cannot be read (permissions), is left alone.
    OpenReport Open(const std::string& path);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& Path() const { return path_; }
    // The schema version of the open file (PRAGMA user_version).
    int SchemaVersion();

    // Writes the fix and its sights in one transaction; returns its id and sets
    // fix.Id. Throws SightLogError, leaving nothing of the fix in the log
    // (read-only file, full disk, any failure part way).
    std::int64_t Record(LoggedFix& fix);
    // The fixes whose zone date-time lies in [fromZone, toZone), newest first
    // (by UT, then by id).
    std::vector<LoggedFixSummary> List(DateValue fromZone, DateValue toZone);
    std::vector<LoggedFixSummary> ListAll();
    // The whole fix; throws SightLogError when there is none with this id, or when a value
    // read back fails FaultOf (a damaged record: the message says which value).
    LoggedFix Load(std::int64_t id);
    // Removes the fixes with their sights, in one transaction. Throws SightLogError, deleting
    // nothing, when one of them is no longer there (another instance deleted it).
    void Delete(const std::vector<std::int64_t>& ids);
    // Throws SightLogError when the fix is no longer there.
    void SetNote(std::int64_t id, const std::string& note);

private:
    void Exec(const char* sql);
    void Migrate();
    // Whether the open file is damaged: pages that fail the check, not a database, a
    // negative schema number or a schema without its tables. *unreadable is set (and
    // false returned) when the file cannot be read at all.
    bool IsDamaged(std::string* unreadable);
    std::string GoneMessage(std::int64_t id, const std::string& outcome) const;
    [[noreturn]] void Fail(const std::string& doing);

    sqlite3* db_ = nullptr;
    std::string path_;
};

// The CSV export: a header line, then one row per sight with the fix's columns
// repeated; numbers in decimal degrees (and minutes, hours) with "." and the
// text forms beside them; fields quoted where needed; lines end with CR LF. The
// corrections are arc minutes with the sign they are applied with (Ho = Hs +
// i_s + dip + refraction + tp + semidiameter + parallax), the intercept is from
// the DR, the limb empty for a star or planet, and a number not kept empty.
std::string SightLogCsv(const std::vector<LoggedFix>& fixes);
