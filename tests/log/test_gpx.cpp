// The GPX export read back with an XML parser: positions, times, the ellipse and sights in the
// description, a track in time order; the file written whole or not at all; the command line.
#include <gtest/gtest.h>

#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <filesystem>

#include "core/mFiles.h"
#include "log/mGpx.h"
#include "support/csv.h"
#include "support/log_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTolDeg = 1e-6;          // the file's six decimals
constexpr double kTolSeconds = 0.5;       // whole seconds

using testsupport::SampleFix;

struct GpxPoint {
    QString tag;
    double lat = 0, lon = 0;
    QMap<QString, QString> text;  // name, desc, time
};

// Every wpt and trkpt of a document; fails the test when the XML is not well formed.
std::vector<GpxPoint> Parse(const std::string& text) {
    std::vector<GpxPoint> out;
    QXmlStreamReader x(QString::fromStdString(text));
    bool inPoint = false;
    while (!x.atEnd()) {
        x.readNext();
        const QString n = x.name().toString();
        const bool point = n == QLatin1String("wpt") || n == QLatin1String("trkpt");
        if (x.isEndElement() && point) inPoint = false;
        if (!x.isStartElement()) continue;
        EXPECT_TRUE(n != QLatin1String("gpx") || x.attributes().value(QLatin1String("version")) == QLatin1String("1.1"));
        if (point) {
            out.push_back({n, x.attributes().value(QLatin1String("lat")).toDouble(),
                           x.attributes().value(QLatin1String("lon")).toDouble(), {}});
            inPoint = true;
        } else if (inPoint) {
            out.back().text[n] = x.readElementText();
        }
    }
    EXPECT_FALSE(x.hasError()) << x.errorString().toStdString();
    return out;
}

// Seconds of the date epoch from "2025-06-01T14:37:42Z".
double Seconds(const QString& iso) {
    int y, mo, d, h, mi, s;
    EXPECT_EQ(std::sscanf(iso.toLatin1().constData(), "%d-%d-%dT%d:%d:%dZ", &y, &mo, &d, &h, &mi, &s), 6) << iso.toStdString();
    return DateFromParts(y, mo, d, h, mi, s) * 86400.0;
}

}  // namespace

TEST(Gpx, FixesReadBackAsWaypointsAndATrackInTimeOrder) {
    const std::vector<LoggedFix> fixes{
        SampleFix(DateFromParts(2025, 6, 1, 14, 37, 42.4), 3, 41.5 + 1.0 / 3.0, -70.123456789, "Off Nantucket <shoals> & \"fog\""),
        SampleFix(DateFromParts(2025, 5, 31, 23, 59, 59.6), 3, -33.9, 179.9999996, ""),
        SampleFix(DateFromParts(2025, 6, 2, 0, 0, 0.0), 3, 0.0, -0.000001, "Equator"),
    };
    const std::vector<GpxPoint> pts = Parse(GpxDocument(fixes, true));
    ASSERT_EQ(pts.size(), 6u);
    const int order[3] = {1, 0, 2};
    for (size_t i = 0; i < 6; ++i) {
        const LoggedFix& f = fixes[static_cast<size_t>(order[i % 3])];
        EXPECT_EQ(pts[i].tag, i < 3 ? QStringLiteral("wpt") : QStringLiteral("trkpt"));
        EXPECT_NEAR(pts[i].lat, f.FixLat, kTolDeg);
        EXPECT_NEAR(pts[i].lon, f.FixLon, kTolDeg);
        EXPECT_NEAR(Seconds(pts[i].text.value("time")), f.UT * 86400.0, kTolSeconds);
        EXPECT_EQ(pts[i].text.value("name").toStdString(), GpxFixName(f));
    }
    EXPECT_EQ(pts[1].text.value("name"), QStringLiteral("FIX 0601 1437"));
    EXPECT_EQ(pts[0].text.value("time"), QStringLiteral("2025-06-01T00:00:00Z"));  // 23:59:59.6 rounds into the next day
    for (const char* part : {"Off Nantucket <shoals> & \"fog\"", "a = 0.33', b = 0.10', alpha = 179.",
                             "Line 1: Sun lower limb at 06:00:37 UT, Hs 10°54.0'", "Line 2: Mirfak at", "Line 3: Moon upper limb"})
        EXPECT_TRUE(pts[1].text.value("desc").contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(Parse(GpxDocument({}, true)).empty());
}

TEST(Gpx, FileWrittenWholeOrTheOldOneLeft) {
    const QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();
    const std::string text = GpxDocument({SampleFix(45000.5, 3, 10, 20)}, false);
    std::string error;
    ASSERT_TRUE(WriteWholeFile((dir / "a.gpx").string(), text, &error)) << error;
    EXPECT_EQ(testsupport::ReadAll(dir / "a.gpx"), text);
    // A target that cannot be replaced (a folder) and a missing folder: the reason, nothing left behind.
    fs::create_directories(dir / "b.gpx");
    EXPECT_FALSE(WriteWholeFile((dir / "b.gpx").string(), text, &error));
    EXPECT_EQ(error.rfind("Cannot write " + (dir / "b.gpx").string(), 0), 0u) << error;
    EXPECT_FALSE(WriteWholeFile((dir / "none" / "c.gpx").string(), text, &error));
    EXPECT_TRUE(fs::is_directory(dir / "b.gpx"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // a.gpx and b.gpx: no temporary file
}

TEST(Gpx, CommandLineExportsTheLogOrItsRange) {
    const QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();
    const std::string logPath = (dir / "sightlog.db").string();
    {
        SightLog log;
        ASSERT_TRUE(log.Open(logPath).Ok);
        for (int d = 1; d <= 3; ++d) {
            LoggedFix f = SampleFix(DateFromParts(2025, 6, d, 12), 3, 40.0 + d, -60.0 - d);
            log.Record(f);
        }
    }
    const std::string out = (dir / "fixes.gpx").string();
    std::string msg;
    ASSERT_EQ(LogGpxCommand({out, "--from", "2025-06-02", "--to", "2025-06-03"}, logPath, &msg), 0) << msg;
    std::vector<GpxPoint> pts = Parse(testsupport::ReadAll(out));
    ASSERT_EQ(pts.size(), 4u);  // two waypoints, two track points
    EXPECT_NEAR(pts[0].lat, 42.0, kTolDeg);
    EXPECT_NEAR(pts[1].lon, -63.0, kTolDeg);
    ASSERT_EQ(LogGpxCommand({out}, logPath, &msg), 0) << msg;
    EXPECT_EQ(Parse(testsupport::ReadAll(out)).size(), 6u);

    const struct {
        std::vector<std::string> args;
        const char* error;
    } bad[] = {
        {{}, "--log-gpx needs FILE.gpx"},
        {{out, "--from", "2025-06-02"}, "--from and --to go together"},
        {{out, "--from", "2025-06-31", "--to", "2025-07-01"}, "--from takes a date"},
        {{out, "--from", "2025-06-03", "--to", "2025-06-02"}, "--to is before --from"},
        {{out, "extra.gpx"}, "unexpected argument extra.gpx"},
    };
    for (const auto& b : bad) {
        EXPECT_EQ(LogGpxCommand(b.args, logPath, &msg), 2);
        EXPECT_EQ(msg.rfind(b.error, 0), 0u) << msg;
    }
    EXPECT_EQ(LogGpxCommand({out}, (dir / "missing.db").string(), &msg), 1);
    EXPECT_FALSE(fs::exists(dir / "missing.db"));
}
