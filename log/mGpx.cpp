#include "log/mGpx.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "core/mFiles.h"
#include "core/mTextForms.h"

namespace {

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters are not allowed in XML 1.0; tab and newlines are.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') out += ' ';
                else out += c;
        }
    }
    return out;
}

// "35°12.3'" for an angle; "N 35°12.345'" style for positions.
std::string Angle(double deg) {
    const DegMin dm = SplitDegMin(std::fabs(deg), 1);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%ld°%04.1f'", deg < 0 ? "-" : "", dm.degrees, dm.minutes);
    return buf;
}
std::string LatLonText(double lat, double lon) {
    const DegMin a = SplitDegMin(std::fabs(lat), 3), b = SplitDegMin(std::fabs(lon), 3);
    char buf[80];
    std::snprintf(buf, sizeof buf, "%02ld°%06.3f'%c %03ld°%06.3f'%c", a.degrees, a.minutes, lat < 0 ? 'S' : 'N', b.degrees,
                  b.minutes, lon < 0 ? 'W' : 'E');
    return buf;
}

// Whole seconds of UT since the date epoch, for the time stamps.
long long WholeSeconds(DateValue ut) { return std::llround(ut * 86400.0); }

std::vector<const LoggedFix*> InTimeOrder(const std::vector<LoggedFix>& fixes) {
    std::vector<const LoggedFix*> v;
    for (const LoggedFix& f : fixes)
        if (std::isfinite(f.FixLat) && std::isfinite(f.FixLon) && std::isfinite(f.UT)) v.push_back(&f);
    std::stable_sort(v.begin(), v.end(), [](const LoggedFix* a, const LoggedFix* b) { return a->UT < b->UT; });
    return v;
}

std::string Point(const char* tag, const LoggedFix& f, bool full) {
    char head[160];
    std::snprintf(head, sizeof head, "<%s lat=\"%.6f\" lon=\"%.6f\">", tag, f.FixLat, f.FixLon);
    std::string s = head;
    s += "<time>" + GpxTime(f.UT) + "</time>";
    s += "<name>" + Escape(GpxFixName(f)) + "</name>";
    if (full) {
        s += "<desc>" + Escape(GpxFixDescription(f)) + "</desc>";
        s += "<sym>Waypoint</sym><type>Celestial fix</type>";
    }
    s += std::string("</") + tag + ">";
    return s;
}

}  // namespace

std::string GpxTime(DateValue ut) {
    const long long secs = WholeSeconds(ut);
    const long long days = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    const long long rest = secs - days * 86400;
    const CalendarDate c = DateToParts(static_cast<double>(days));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02lld:%02lld:%02lldZ", c.year, c.month, c.day, rest / 3600, rest % 3600 / 60,
                  rest % 60);
    return buf;
}

std::string GpxFixName(const LoggedFix& fix) {
    const std::string t = GpxTime(fix.UT);  // yyyy-mm-ddThh:mm:ssZ
    return "FIX " + t.substr(5, 2) + t.substr(8, 2) + " " + t.substr(11, 2) + t.substr(14, 2);
}

std::string GpxFixDescription(const LoggedFix& fix) {
    std::string d = "Celestial fix " + LatLonText(fix.FixLat, fix.FixLon) + " at " + GpxTime(fix.UT) + ".";
    if (!fix.Note.empty()) d += " " + fix.Note;
    char buf[200];
    std::snprintf(buf, sizeof buf, "\nError ellipse: a = %.2f', b = %.2f', alpha = %.1f deg.", fix.EllipseA, fix.EllipseB,
                  fix.EllipseAlpha);
    d += buf;
    for (const LoggedSight& s : fix.Sights) {
        std::snprintf(buf, sizeof buf, "\nLine %d: %s%s at %s UT, Hs %s, Hc %s, Zn %05.1f, intercept %+.1f'", s.Line,
                      s.BodyName.c_str(), s.Body == 0 || s.Body == -8 ? (s.LowerLimb ? " lower limb" : " upper limb") : "",
                      s.TimeText.c_str(), Angle(s.Hs).c_str(), Angle(s.Hc).c_str(), s.Zn, s.Intercept);
        d += buf;
    }
    return d;
}

std::string GpxDocument(const std::vector<LoggedFix>& fixes, bool track) {
    const std::vector<const LoggedFix*> order = InTimeOrder(fixes);
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<gpx version=\"1.1\" creator=\"Veltrano\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
    s += "<metadata><name>Celestial fixes</name><desc>Fixes found by sights, exported by Veltrano</desc>";
    if (!order.empty()) s += "<time>" + GpxTime(order.back()->UT) + "</time>";
    s += "</metadata>\n";
    for (const LoggedFix* f : order) s += Point("wpt", *f, true) + "\n";
    if (track && !order.empty()) {
        s += "<trk><name>Celestial fixes " + GpxTime(order.front()->UT).substr(0, 10) + " to " +
             GpxTime(order.back()->UT).substr(0, 10) + "</name><trkseg>\n";
        for (const LoggedFix* f : order) s += Point("trkpt", *f, false) + "\n";
        s += "</trkseg></trk>\n";
    }
    s += "</gpx>\n";
    return s;
}

LogGpxArgs ParseLogGpxArgs(const std::vector<std::string>& args) {
    LogGpxArgs a;
    bool hasFrom = false, hasTo = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--from" || s == "--to") {
            DateValue d = 0;
            if (i + 1 >= args.size() || !ParseIsoDate(args[i + 1], d)) {
                a.error = s + " takes a date yyyy-mm-dd from 1900-01-01 to 2100-12-31";
                return a;
            }
            (s == "--from" ? a.from : a.to) = d;
            (s == "--from" ? hasFrom : hasTo) = true;
            ++i;
        } else if (s.rfind("--", 0) == 0 || !a.path.empty()) {
            a.error = "unexpected argument " + s;
            return a;
        } else {
            a.path = s;
        }
    }
    if (a.path.empty()) a.error = "--log-gpx needs FILE.gpx";
    else if (hasFrom != hasTo) a.error = "--from and --to go together";
    else if (hasFrom && a.to < a.from) a.error = "--to is before --from";
    a.ranged = hasFrom;
    return a;
}

int LogGpxCommand(const std::vector<std::string>& args, const std::string& logPath, std::string* message) {
    const LogGpxArgs a = ParseLogGpxArgs(args);
    if (!a.error.empty()) {
        if (message) *message = a.error;
        return 2;
    }
    if (::access(logPath.c_str(), F_OK) != 0) {
        if (message) *message = "There is no sight log at " + logPath + ".";
        return 1;
    }
    SightLog log;
    const SightLog::OpenReport report = log.Open(logPath);
    if (!report.Ok) {
        if (message) *message = report.Error;
        return 1;
    }
    std::vector<LoggedFix> fixes;
    try {
        const std::vector<LoggedFixSummary> rows = a.ranged ? log.List(a.from, a.to + 1.0) : log.ListAll();
        for (const LoggedFixSummary& r : rows) fixes.push_back(log.Load(r.Id));
    } catch (const SightLogError& e) {
        if (message) *message = e.what();
        return 1;
    }
    std::string error;
    if (!WriteWholeFile(a.path, GpxDocument(fixes, true), &error)) {
        if (message) *message = error;
        return 1;
    }
    if (message) *message = std::to_string(fixes.size()) + (fixes.size() == 1 ? " fix" : " fixes") + " written to " + a.path;
    return 0;
}
