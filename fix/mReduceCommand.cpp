#include "fix/mReduceCommand.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/mFault.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mStar.h"
#include "core/mWorkingData.h"
#include "core/mSailing.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// A whole number of exactly `digits` digits at s[pos].
bool Digits(const std::string& s, size_t& pos, size_t digits, int& value) {
    value = 0;
    for (size_t k = 0; k < digits; ++k, ++pos) {
        if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos]))) return false;
        value = value * 10 + (s[pos] - '0');
    }
    return true;
}

// A plain decimal number filling the whole text.
bool Number(const std::string& text, double& value) {
    const std::string s = Trim(text);
    if (s.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return false;
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+')) return false;
    value = v;
    return true;
}

// A latitude or longitude: "dd-mm.mH" / "ddd-mm.mH" or signed decimal degrees.
bool Position(const std::string& text, bool latitude, double& value) {
    const std::string s = Trim(text);
    const double limit = latitude ? 90.0 : 180.0;
    double v = 0.0;
    if (Number(s, v)) {
        if (std::fabs(v) > limit) return false;
        value = v;
        return true;
    }
    if (s.size() < 4) return false;
    const char h = static_cast<char>(std::toupper(static_cast<unsigned char>(s.back())));
    const bool positive = latitude ? h == 'N' : h == 'E';
    const bool negative = latitude ? h == 'S' : h == 'W';
    if (!positive && !negative) return false;
    const size_t dash = s.find('-');
    if (dash == std::string::npos || dash == 0) return false;
    double deg = 0.0, min = 0.0;
    if (!Number(s.substr(0, dash), deg) || !Number(s.substr(dash + 1, s.size() - dash - 2), min)) return false;
    if (deg < 0.0 || deg != std::floor(deg) || min < 0.0 || min >= 60.0) return false;
    v = deg + min / 60.0;
    if (v > limit) return false;
    value = negative ? -v : v;
    return true;
}

bool ParseAltitudeRow(const SightRow& row, ReduceInput& input, std::string& why) {
    SessionSight s;
    if (!ParseIsoUT(row.Ut, s.UT)) {
        why = "column ut: \"" + row.Ut + "\" is not an ISO 8601 UT (YYYY-MM-DDThh:mm:ss)";
        return false;
    }
    s.Body = BodyCodeOfName(row.Body);
    if (s.Body == kNoBody) {
        why = "column body: no body or star is called \"" + row.Body + "\"";
        return false;
    }
    double hs = 0.0;
    if (!(ParseSightAltitude(row.Hs, hs) || (Number(row.Hs, hs) && hs >= 0.0 && hs <= 90.0)) || hs <= 0.0) {
        why = "column hs: \"" + row.Hs + "\" is not a sextant altitude (dd-mm.m or decimal degrees, 0 to 90)";
        return false;
    }
    s.Hs = hs;
    const std::string limb = Lower(Trim(row.Limb));
    if (limb == "upper") {
        s.LowerLimb = false;
    } else if (!limb.empty() && limb != "lower") {
        why = "column limb: \"" + row.Limb + "\" is neither lower nor upper";
        return false;
    }
    const std::string use = Lower(Trim(row.Use));
    if (use == "0" || use == "no" || use == "false") {
        s.Use = false;
    } else if (!use.empty() && use != "1" && use != "yes" && use != "true") {
        why = "column use: \"" + row.Use + "\" is not 1/0, yes/no or true/false";
        return false;
    }
    input.Sights.push_back(s);
    input.BodyName.push_back(Trim(row.Body));
    return true;
}

// An arc "ddd-mm.m" or decimal degrees, 0 < value < limit.
bool Arc(const std::string& text, double limit, double& value) {
    const std::string s = Trim(text);
    double v = 0.0;
    const size_t dash = s.find('-');
    if (dash == std::string::npos || dash == 0) {
        if (!Number(s, v)) return false;
    } else {
        double deg = 0.0, min = 0.0;
        if (!Number(s.substr(0, dash), deg) || !Number(s.substr(dash + 1), min) || deg < 0.0 || deg != std::floor(deg) ||
            min < 0.0 || min >= 60.0)
            return false;
        v = deg + min / 60.0;
    }
    if (!(v > 0.0 && v < limit)) return false;
    value = v;
    return true;
}

bool NearFar(const std::string& text, const char* column, bool& far, std::string& why) {
    const std::string v = Lower(Trim(text));
    far = v == "far";
    if (v == "near" || v == "far") return true;
    why = std::string("column ") + column + ": \"" + text + "\" is neither near nor far";
    return false;
}

bool ParseLunarRow(const SightRow& row, ReduceInput& input, std::string& why) {
    LunarObservation o;
    if (!ParseIsoUT(row.Ut, o.watch)) {
        why = "column ut: \"" + row.Ut + "\" is not an ISO 8601 UT (YYYY-MM-DDThh:mm:ss)";
        return false;
    }
    o.body = BodyCodeOfName(row.Body);
    if (o.body == kNoBody || (o.body < 0 && o.body != -2 && o.body != -3 && o.body != -4 && o.body != -5)) {
        why = "column body: \"" + row.Body + "\" is not the Sun, Venus, Mars, Jupiter, Saturn or a star";
        return false;
    }
    if (!NearFar(row.MoonLimb, "moon_limb", o.moonFarLimb, why)) return false;
    if (o.body == 0) {
        if (!NearFar(row.Limb, "limb", o.bodyFarLimb, why)) return false;
    } else if (!Trim(row.Limb).empty()) {
        why = "column limb: a planet or star has no limb; leave it empty";
        return false;
    }
    if (!Arc(row.Distance, 180.0, o.distance)) {
        why = "column distance: \"" + row.Distance + "\" is not a sextant distance (ddd-mm.m or decimal degrees)";
        return false;
    }
    const std::string* alts[] = {&row.HsMoon, &row.Hs};
    std::optional<double>* into[] = {&o.hsMoon, &o.hsBody};
    const char* names[] = {"hs_moon", "hs"};
    for (int k = 0; k < 2; ++k) {
        if (Trim(*alts[k]).empty()) continue;
        double h = 0.0;
        if (!(ParseSightAltitude(*alts[k], h) || Arc(*alts[k], 90.0, h)) || h <= 0.0) {
            why = std::string("column ") + names[k] + ": \"" + *alts[k] +
                  "\" is not a sextant altitude (dd-mm.m or decimal degrees, 0 to 90), nor empty for the DR's";
            return false;
        }
        *into[k] = h;
    }
    input.Lunars.push_back(o);
    input.LunarBodyName.push_back(Trim(row.Body));
    return true;
}

// Splits one CSV line; double quotes around a field protect its commas.
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            out.emplace_back();
        } else if (c != '\r') {
            out.back() += c;
        }
    }
    return out;
}

struct Usage {
    std::string message;
};

std::string Num(double v, int decimals) {
    if (!std::isfinite(v)) return "null";
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", c);
            out += b;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string IsoOf(DateValue ut) {
    const CalendarDate d = DateToParts(ut + 0.5 / 86400.0);  // to the nearest second
    char b[32];
    std::snprintf(b, sizeof b, "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year, d.month, d.day, d.hour, d.minute,
                  static_cast<int>(std::floor(d.second)));
    return b;
}

std::string EllipseJson(const ErrorEllipse& e) {
    return "{\"a_nm\": " + Num(e.A, 3) + ", \"b_nm\": " + Num(e.B, 3) + ", \"azimuth_deg\": " + Num(e.Azimuth, 1) + "}";
}

std::string PositionJson(double lat, double lon) {
    return "{\"lat\": " + Num(lat, 6) + ", \"lon\": " + Num(lon, 6) + "}";
}

void PrintFix(const SessionFix& f, const ReduceInput& in, std::ostream& out) {
    const SessionSolution& s = f.Solution;
    out << "{\n  \"fix\": " << PositionJson(f.FixLat, f.FixLon) << ",\n";
    out << "  \"ellipse95\": " << (s.HasRegion ? EllipseJson(s.Region95) : "null") << ",\n";
    out << "  \"ellipse_geometric\": " << EllipseJson(s.Geometric) << ",\n";
    out << "  \"sigma_arcmin\": " << (s.HasRegion ? Num(s.Sigma, 3) : "null") << ",\n";
    out << "  \"passes\": " << f.Passes << ",\n  \"lines\": [";
    for (size_t i = 0; i < f.Sights.size(); ++i) {
        const SightReduction& r = f.ReducedDR[i];  // from the DR: Ho - Hc is the intercept
        const bool used = f.ShotLine[i] >= 0;
        out << (i ? ",\n" : "\n") << "    {\"ut\": " << Quote(IsoOf(f.Sights[i].UT)) << ", \"body\": " << Quote(in.BodyName[i])
            << ", \"use\": " << (f.Sights[i].Use ? "true" : "false") << ", \"ho_deg\": " << Num(r.Ho, 5)
            << ", \"hc_deg\": " << Num(r.Hc, 5) << ", \"zn_deg\": " << Num(r.Az, 2)
            << ", \"intercept_arcmin\": " << Num(r.Intercept, 2)
            << ", \"residual_arcmin\": " << (used ? Num(f.ShotResidual[i], 2) : "null")
            << ", \"series\": " << (used ? std::to_string(f.ShotLine[i]) : "null")
            << ", \"outlier\": " << (f.ShotOutlier[i] ? "true" : "false") << "}";
    }
    out << "\n  ],\n  \"series\": [";
    for (size_t l = 0; l < s.Lines.size(); ++l) {
        const SessionLine& line = s.Lines[l];
        out << (l ? ",\n" : "\n") << "    {\"body\": " << Quote(in.BodyName[static_cast<size_t>(line.Shots.front())])
            << ", \"sights\": [";
        for (size_t k = 0; k < line.Shots.size(); ++k) out << (k ? ", " : "") << line.Shots[k];
        out << "], \"zn_deg\": " << Num(line.Az, 2) << ", \"intercept_arcmin\": " << Num(line.Intercept, 2)
            << ", \"scatter_arcmin\": " << (line.Shots.size() >= 2 ? Num(line.Scatter, 2) : "null")
            << ", \"weight\": " << Num(line.Weight, 0) << ", \"residual_arcmin\": " << Num(line.Residual, 2)
            << ", \"t\": " << Num(line.T, 2) << ", \"outlier\": " << (line.Outlier ? "true" : "false")
            << ", \"outlier_sight\": "
            << (line.OutlierShot >= 0 ? std::to_string(line.Shots[static_cast<size_t>(line.OutlierShot)]) : "null")
            << ", \"cannot_tell_apart_from\": [";
        for (size_t k = 0; k < line.CannotTellFrom.size(); ++k) out << (k ? ", " : "") << line.CannotTellFrom[k];
        out << "]}";
    }
    out << "\n  ],\n  \"blunders\": [";
    for (size_t b = 0; b < s.Without.size(); ++b) {
        const FixWithout& w = s.Without[b];
        out << (b ? ",\n" : "\n") << "    {\"series\": " << w.Line
            << ", \"sight\": " << (w.Shot >= 0 ? std::to_string(w.Shot) : "null")
            << ", \"fix_without\": " << (w.Ok ? PositionJson(f.WithoutPos[b].Lat, f.WithoutPos[b].Lon) : "null") << "}";
    }
    out << "\n  ]";
}

// The lunars of the file as a JSON member (with its leading comma when after others);
// the count of those cleared.
int PrintLunars(const ReduceInput& in, const SessionConditions& c, bool first, std::ostream& out) {
    if (in.Lunars.empty()) return 0;
    int cleared = 0;
    out << (first ? "\n" : ",\n") << "  \"lunars\": [";
    for (size_t i = 0; i < in.Lunars.size(); ++i) {
        const LunarObservation& o = in.Lunars[i];
        const LatLon dr = RunAlongCourse(LatLon{c.DRLat, c.DRLon}, c.Course, c.Speed * (o.watch - c.FixUT) * 24.0);
        LunarConditions lc;
        lc.lat = dr.Lat;
        lc.lon = dr.Lon;
        lc.indexArcmin = c.IndexArcmin;
        lc.horizon = Horizon{c.HeightOfEye, c.Temp, c.Pressure};
        LunarResult r;
        try {
            r = ClearLunar(o, lc);
        } catch (const ArithmeticFault& e) {
            r.refusal = e.what();
        }
        out << (i ? ",\n" : "\n") << "    {\"ut_watch\": " << Quote(IsoOf(o.watch)) << ", \"body\": " << Quote(in.LunarBodyName[i]);
        if (!r.refusal.empty()) {
            out << ", \"refusal\": " << Quote(r.refusal) << "}";
            continue;
        }
        ++cleared;
        out << ", \"cleared_distance\": " << Num(r.cleared, 6) << ", \"ut\": " << Quote(IsoOf(r.ut))
            << ", \"watch_error_s\": " << Num(r.watchErrorSeconds, 1)
            << ", \"seconds_per_tenth_arcmin\": " << Num(r.secondsPerTenthArcmin, 1)
            << ", \"longitude\": " << (r.longitude ? Num(*r.longitude, 4) : "null")
            << ", \"longitude_note\": " << Quote(r.longitudeNote) << "}";
    }
    out << "\n  ]";
    return cleared;
}

}  // namespace

const std::vector<SightRowKind>& SightRowKinds() {
    static const std::vector<SightRowKind> kinds = {{"", ParseAltitudeRow}, {"altitude", ParseAltitudeRow}, {"lunar", ParseLunarRow}};
    return kinds;
}

bool ParseIsoUT(const std::string& text, DateValue& ut) {
    std::string s = Trim(text);
    if (!s.empty() && (s.back() == 'Z' || s.back() == 'z')) s.pop_back();
    if (s.size() > 6 && (s.compare(s.size() - 6, 6, "+00:00") == 0 || s.compare(s.size() - 6, 6, "-00:00") == 0))
        s.resize(s.size() - 6);
    size_t pos = 0;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    if (!Digits(s, pos, 4, y) || pos >= s.size() || s[pos++] != '-' || !Digits(s, pos, 2, mo) || pos >= s.size() ||
        s[pos++] != '-' || !Digits(s, pos, 2, d))
        return false;
    if (pos >= s.size() || (s[pos] != 'T' && s[pos] != 't' && s[pos] != ' ')) return false;
    ++pos;
    if (!Digits(s, pos, 2, h) || pos >= s.size() || s[pos++] != ':' || !Digits(s, pos, 2, mi)) return false;
    double fraction = 0.0;
    if (pos < s.size()) {
        if (s[pos++] != ':' || !Digits(s, pos, 2, sec)) return false;
        if (pos < s.size()) {
            if (s[pos] != '.' && s[pos] != ',') return false;
            double scale = 0.1;
            for (++pos; pos < s.size(); ++pos, scale /= 10.0) {
                if (!std::isdigit(static_cast<unsigned char>(s[pos]))) return false;
                fraction += (s[pos] - '0') * scale;
            }
        }
    }
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] || h > 23 || mi > 59 || sec > 59) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (mo == 2 && d == 29 && !leap) return false;
    ut = DateFromParts(y, mo, d, h, mi, sec + fraction);
    return true;
}

BodyCode BodyCodeOfName(const std::string& name) {
    const std::string key = Lower(Trim(name));
    if (key.empty()) return kNoBody;
    const std::vector<std::string>& bodies = BodyNames();
    for (size_t k = 0; k < bodies.size(); ++k)
        if (Lower(bodies[k]) == key) return -static_cast<int>(k);
    for (int i = 1; i <= kStarCount; ++i) {
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        if (s.Number < 1) continue;
        if ((!s.Name.empty() && Lower(s.Name) == key) || Lower(StarName(i)) == key) return s.Number;
    }
    double number = 0.0;
    if (Number(key, number) && number == std::floor(number) && number >= 1.0 && number <= 32767.0 &&
        StarIndex(static_cast<int>(number)) != 0)
        return static_cast<int>(number);
    return kNoBody;
}

bool ReadSightsFile(const std::string& file, ReduceInput& input, std::string& why) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        why = "cannot open " + file;
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) {
        why = "cannot read " + file;
        return false;
    }
    return ReadSightsText(all.str(), file, input, why);
}

bool ReadSightsText(const std::string& contents, const std::string& file, ReduceInput& input, std::string& why) {
    std::istringstream in(contents);
    std::string text;
    std::vector<std::string> header;
    int lineNo = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        if (Trim(text).empty() || Trim(text)[0] == '#') continue;
        std::vector<std::string> fields = SplitCsv(text);
        if (header.empty()) {
            for (std::string& f : fields) header.push_back(Lower(Trim(f)));
            for (const char* need : {"ut", "body", "hs"}) {
                bool found = false;
                for (const std::string& h : header) found |= h == need;
                if (!found) {
                    why = file + ":" + std::to_string(lineNo) + ": the header has no column " + need;
                    return false;
                }
            }
            continue;
        }
        SightRow row;
        row.Line = lineNo;
        for (size_t k = 0; k < header.size() && k < fields.size(); ++k) {
            const std::string& h = header[k];
            std::string* target = h == "ut" ? &row.Ut : h == "body" ? &row.Body : h == "hs" ? &row.Hs
                                : h == "limb" ? &row.Limb : h == "kind" ? &row.Kind : h == "use" ? &row.Use : h == "moon_limb" ? &row.MoonLimb
                                : h == "distance" ? &row.Distance : h == "hs_moon" ? &row.HsMoon : nullptr;
            if (target) *target = fields[k];
        }
        const std::string kind = Lower(Trim(row.Kind));
        const SightRowKind* handler = nullptr;
        for (const SightRowKind& k : SightRowKinds())
            if (kind == k.Kind) handler = &k;
        if (!handler) {
            why = file + ":" + std::to_string(lineNo) + ": column kind: \"" + row.Kind + "\" is not a kind of sight read here";
            return false;
        }
        std::string reason;
        if (!handler->Parse(row, input, reason)) {
            why = file + ":" + std::to_string(lineNo) + ": " + reason;
            return false;
        }
    }
    if (header.empty()) {
        why = file + ": no header row (ut,body,hs,...)";
        return false;
    }
    return true;
}

int RunReduce(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const char* const usage =
        "usage: veltrano --reduce SIGHTS.csv --dr LAT LON [--dr-time UT] [--course DEG] [--speed KN] [--eye M]\n"
        "       [--ic ARCMIN] [--temp C] [--pressure MB] [--no-iterate]\n";
    const NavigationStateRecord defaults = DefaultNavigationState();
    SessionConditions c;
    c.Temp = defaults.Temp;
    c.Pressure = defaults.Pressure;
    c.HeightOfEye = defaults.hEye;
    c.IndexArcmin = defaults.i_s;
    std::string file, drTime;
    bool haveDr = false, iterate = true;
    // "--name=value" (as the program's command line passes options) reads as "--name value";
    // the position's two words may come as one ("--dr=41-20.5N 070-05.2W").
    std::vector<std::string> words;
    for (const std::string& a : args) {
        const size_t eq = a.find('=');
        if (a.size() > 2 && a.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            words.push_back(a.substr(0, eq));
            std::istringstream value(a.substr(eq + 1));
            for (std::string w; value >> w;) words.push_back(w);
        } else {
            words.push_back(a);
        }
    }
    try {
        auto value = [&](size_t& i, const std::string& option) -> std::string {
            if (i + 1 >= words.size()) throw Usage{option + " needs a value"};
            return words[++i];
        };
        auto number = [&](size_t& i, const std::string& option, double lo, double hi) {
            const std::string v = value(i, option);
            double x = 0.0;
            if (!Number(v, x) || x < lo || x > hi)
                throw Usage{option + ": \"" + v + "\" is not a number from " + Num(lo, 0) + " to " + Num(hi, 0)};
            return x;
        };
        for (size_t i = 0; i < words.size(); ++i) {
            const std::string& a = words[i];
            if (a == "--dr") {
                const std::string lat = value(i, a), lon = value(i, a);
                if (!Position(lat, true, c.DRLat)) throw Usage{"--dr: \"" + lat + "\" is not a latitude (41-20.5N)"};
                if (!Position(lon, false, c.DRLon)) throw Usage{"--dr: \"" + lon + "\" is not a longitude (070-05.2W)"};
                haveDr = true;
            } else if (a == "--dr-time") {
                drTime = value(i, a);
                if (!ParseIsoUT(drTime, c.FixUT)) throw Usage{"--dr-time: \"" + drTime + "\" is not an ISO 8601 UT"};
            } else if (a == "--course") {
                c.Course = number(i, a, kCourseRange.lo, kCourseRange.hi);
            } else if (a == "--speed") {
                c.Speed = number(i, a, kSpeedRange.lo, kSpeedRange.hi);
            } else if (a == "--eye") {
                c.HeightOfEye = number(i, a, kEyeRange.lo, kEyeRange.hi);
            } else if (a == "--ic") {
                c.IndexArcmin = number(i, a, kIndexCorrRange.lo, kIndexCorrRange.hi);
            } else if (a == "--temp") {
                c.Temp = number(i, a, kTempRange.lo, kTempRange.hi);
            } else if (a == "--pressure") {
                c.Pressure = number(i, a, kPressureRange.lo, kPressureRange.hi);
            } else if (a == "--no-iterate") {
                iterate = false;
            } else if (!a.empty() && a[0] == '-' && a.size() > 1) {
                throw Usage{"unknown option " + a};
            } else if (file.empty()) {
                file = a;
            } else {
                throw Usage{"more than one sights file: " + a};
            }
        }
        if (file.empty()) throw Usage{"no sights file"};
        if (!haveDr) throw Usage{"--dr LAT LON is needed: the position the sights are reduced from"};
    } catch (const Usage& u) {
        err << "veltrano --reduce: " << u.message << "\n" << usage;
        return 2;
    }

    ReduceInput input;
    std::string why;
    if (!ReadSightsFile(file, input, why)) {
        err << why << "\n";
        return 2;
    }
    if (drTime.empty()) {
        for (const SessionSight& s : input.Sights) c.FixUT = std::max(c.FixUT, s.UT);
        for (const LunarObservation& o : input.Lunars) c.FixUT = std::max(c.FixUT, o.watch);
    }

    if (input.Sights.empty() && !input.Lunars.empty()) {
        out << "{";
        const int cleared = PrintLunars(input, c, true, out);
        out << "\n}\n";
        return cleared > 0 ? 0 : 1;
    }
    const SessionFix f = CalcSession(input.Sights, c, iterate ? kMaxSessionPasses : 1);
    if (!f.Refusal.empty()) {
        out << "{\"refusal\": " << Quote(f.Refusal);
        PrintLunars(input, c, false, out);
        out << "}\n";
        return 1;
    }
    PrintFix(f, input, out);
    PrintLunars(input, c, false, out);
    out << "\n}\n";
    return 0;
}

