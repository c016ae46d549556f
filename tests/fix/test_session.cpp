// The twilight session against simulated sessions from the Swiss Ephemeris
// (tests/data/session_sights.csv and identify_reference.csv, written by
// tests/data/make_session_reference.sh), and the distribution functions against
// published tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "core/mStatistics.h"
#include "fix/mIdentify.h"
#include "fix/mReduceCommand.h"
#include "fix/mSessionFix.h"
#include "log/mSessionLog.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// Sights from the exact inverse of the program's corrections, not rounded: what is
// left is the ephemerides (stars and planets about 1", the Moon about 10").
constexpr double kTolPerfectNm = 0.05;
constexpr double kTolWithoutBlunderNm = 0.1;
constexpr double kBlunderArcmin = 5.0;
constexpr double kSeriesBlunderArcmin = 3.0;
constexpr double kSightErrorArcmin = 0.5;
constexpr int kCalibrationSessions = 1000;

struct Session {
    int id = 0;
    std::string kind;
    bool moving = false;
    double trueLat = 0.0, trueLon = 0.0;
    SessionConditions c;
    std::vector<SessionSight> sights;
    std::vector<std::string> names;
};

std::vector<Session> ReadSessions() {
    const testsupport::CsvTable t = testsupport::ReadCsv(testsupport::TestData("session_sights.csv"));
    std::vector<Session> out;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const int id = static_cast<int>(t.Num(r, "session"));
        if (out.empty() || out.back().id != id) {
            Session s;
            s.id = id;
            s.kind = t.Text(r, "kind");
            s.moving = t.Num(r, "moving") != 0.0;
            s.trueLat = t.Num(r, "true_lat");
            s.trueLon = t.Num(r, "true_lon");
            EXPECT_TRUE(ParseIsoUT(t.Text(r, "fix_ut"), s.c.FixUT));
            s.c.DRLat = t.Num(r, "dr_lat");
            s.c.DRLon = t.Num(r, "dr_lon");
            s.c.Course = t.Num(r, "course");
            s.c.Speed = t.Num(r, "speed");
            s.c.Temp = t.Num(r, "temp");
            s.c.Pressure = t.Num(r, "pressure");
            s.c.HeightOfEye = t.Num(r, "heye");
            s.c.IndexArcmin = t.Num(r, "ic");
            out.push_back(s);
        }
        SessionSight sight;
        EXPECT_TRUE(ParseIsoUT(t.Text(r, "ut"), sight.UT));
        sight.Body = static_cast<int>(t.Num(r, "code"));
        sight.Hs = t.Num(r, "hs");
        out.back().sights.push_back(sight);
        out.back().names.push_back(t.Text(r, "body"));
    }
    return out;
}

double MissNm(const Session& s, double lat, double lon) { return testsupport::NmBetween(lat, lon, s.trueLat, s.trueLon); }

class Session_ : public testsupport::NavFixture {
protected:
    static void SetUpTestSuite() {
        testsupport::NavFixture::SetUpTestSuite();
        sessions_ = new std::vector<Session>(ReadSessions());
    }
    static void TearDownTestSuite() { delete sessions_; }
    static const std::vector<Session>& Sessions() { return *sessions_; }

private:
    static std::vector<Session>* sessions_;
};
std::vector<Session>* Session_::sessions_ = nullptr;

}  // namespace

TEST(SessionStatistics, QuantilesMatchPublishedTables) {
    // Student's t (two-sided 5% and 1%) and F(2, nu) at 95%: Abramowitz and Stegun, tables 26.10 and 26.9.
    const struct { double p, nu, t; } tTable[] = {{0.975, 1, 12.706}, {0.975, 2, 4.303}, {0.975, 5, 2.571},
                                                  {0.975, 10, 2.228}, {0.975, 30, 2.042}, {0.995, 3, 5.841},
                                                  {0.995, 60, 2.660}, {0.025, 4, -2.776}};
    for (const auto& e : tTable) EXPECT_NEAR(StudentTQuantile(e.p, e.nu), e.t, 0.0015) << e.p << " " << e.nu;
    const struct { double nu, f; } fTable[] = {{1, 199.5}, {2, 19.00}, {5, 5.786}, {10, 4.103}, {20, 3.493}, {120, 3.072}};
    for (const auto& e : fTable) EXPECT_NEAR(FQuantile2(0.95, e.nu), e.f, 0.0015 * e.f) << e.nu;
    EXPECT_TRUE(std::isnan(StudentTQuantile(1.0, 3.0)));
}

TEST(SessionSolve, SeriesAndLinesAndAmbiguousBlunder) {
    // A north and a south line, the north one 5' out, and two-shot series east and
    // west: only the north and south lines fix the latitude and they carry the
    // blunder equally, so either may be it.
    std::vector<SessionShot> shots = {{1, 0, 0, 5.0},   {2, 1, 90, 0.0},  {2, 2, 90, 0.0},
                                      {3, 3, 180, 0.0}, {4, 4, 270, 0.0}, {4, 5, 270, 0.0}};
    SessionSolution s = SolveSession(shots);
    ASSERT_EQ(s.Refusal, "");
    ASSERT_EQ(s.Lines.size(), 4u);
    EXPECT_NEAR(s.dN, 2.5, 1e-9);
    EXPECT_TRUE(s.Lines[0].Outlier && s.Lines[2].Outlier);
    EXPECT_FALSE(s.Lines[1].Outlier || s.Lines[3].Outlier);
    EXPECT_EQ(s.Lines[0].CannotTellFrom, std::vector<int>{2});
    EXPECT_EQ(s.Without.size(), 2u);
    EXPECT_NEAR(s.Geometric.A, std::sqrt(0.5), 1e-9);  // north-south, from the two single lines
    EXPECT_NEAR(s.Geometric.Azimuth, 0.0, 1e-9);
    // Two shots of one body a minute apart are one line of weight 2; a third body
    // twenty minutes on is a line of its own; an unused shot is left out.
    shots = {{7, 0, 10, 1.0}, {7, 1, 12, 2.0}, {9, 3, 100, 0.0}, {7, 20, 14, 4.0}, {11, 2, 200, 9.0, false}};
    s = SolveSession(shots);
    ASSERT_EQ(s.Lines.size(), 3u);
    EXPECT_EQ(s.Lines[0].Shots, (std::vector<int>{0, 1}));
    EXPECT_NEAR(s.Lines[0].Intercept, 1.5, 1e-12);
    EXPECT_NEAR(s.Lines[0].Scatter, std::sqrt(0.5), 1e-12);
    EXPECT_EQ(s.ShotsUsed, 4);
    EXPECT_TRUE(s.HasRegion);
    EXPECT_EQ(SolveSession({{7, 0, 10, 1.0}, {7, 1, 12, 2.0}}).Refusal, kInsufficientLines);
    EXPECT_NE(SolveSession({{7, 0, 10, 1.0}, {8, 1, 190, 2.0}}).Refusal, "");
    EXPECT_NEAR(MarkUT(1000.0, 86.4), 1000.0 - 0.001, 1e-12);
}

TEST(SessionSolve, TheRegionAndTheBlunderTestAgainstPublishedQuantiles) {
    // Four lines round the compass, north and south each 1' off the fix: sigma = sqrt(2/2) = 1',
    // the geometric semi-axes 1/sqrt(2), the 95% region sqrt(2 F(2, 2)) = sqrt(2 x 19.00) times that.
    SessionSolution s = SolveSession({{1, 0, 0, 1.0}, {2, 1, 90, 0.0}, {3, 2, 180, 1.0}, {4, 3, 270, 0.0}});
    ASSERT_EQ(s.Dof, 2);
    EXPECT_NEAR(s.Sigma, 1.0, 1e-12);
    EXPECT_NEAR(s.Region95.A, std::sqrt(19.0), 1e-3);
    EXPECT_NEAR(s.Region95.B, std::sqrt(19.0), 1e-3);
    // Five single lines, one with a growing blunder: it is flagged when its t exceeds Student's
    // t at 1 - 0.05/(2 x 5) with the 2 degrees of freedom left, 9.925 (Abramowitz and Stegun,
    // table 26.10), and it is more than 1' out; the sweep passes through 6.965 < t < 9.925,
    // where a 10% test would already flag it.
    int between = 0;
    for (double b = 1.0; b < 12.0; b += 0.25) {
        s = SolveSession({{1, 0, 0, b}, {2, 1, 72, 0.3}, {3, 2, 144, -0.2}, {4, 3, 216, 0.1}, {5, 4, 288, -0.25}});
        const SessionLine& l = s.Lines[0];
        ASSERT_EQ(l.Body, 1);
        EXPECT_EQ(l.Outlier, std::fabs(l.T) > 9.925 && std::fabs(l.Residual) > 1.0) << b;
        between += std::fabs(l.T) > 6.965 && std::fabs(l.T) < 9.925 && std::fabs(l.Residual) > 1.0;
    }
    EXPECT_GT(between, 0);
}

TEST_F(Session_, PerfectSightsFixWithinTolerance) {
    // Measured: at most 0.0047 nm at rest, 0.0048 nm under way.
    for (const Session& s : Sessions()) {
        const SessionFix f = CalcSession(s.sights, s.c);
        ASSERT_EQ(f.Refusal, "") << "session " << s.id;
        EXPECT_LT(MissNm(s, f.FixLat, f.FixLon), kTolPerfectNm) << "session " << s.id;
        EXPECT_TRUE(f.Solution.Without.empty()) << "session " << s.id << ": a perfect sight flagged";
    }
}

TEST_F(Session_, BlundersAreFlaggedAndLeftOut) {
    // Every sight of every eight-sight session 5' out in turn (either way), then every
    // shot of every five-shot series 3' out.
    // Measured: every one flagged, the fix without it within 0.0055 nm.
    for (const Session& s : Sessions()) {
        for (size_t k = 0; k < s.sights.size(); ++k) {
            const bool series = s.kind == "series";
            if (series && k >= 5) break;
            std::vector<SessionSight> sights = s.sights;
            sights[k].Hs += (k % 2 ? -1.0 : 1.0) * (series ? kSeriesBlunderArcmin : kBlunderArcmin) / 60.0;
            const SessionFix f = CalcSession(sights, s.c);
            ASSERT_EQ(f.Refusal, "");
            const SessionSolution& sol = f.Solution;
            int found = -1;
            for (size_t w = 0; w < sol.Without.size(); ++w) {
                const FixWithout& x = sol.Without[w];
                const bool isIt = series ? x.Shot == static_cast<int>(k)
                                         : x.Shot < 0 && sol.Lines[static_cast<size_t>(x.Line)].Shots[0] == static_cast<int>(k);
                if (isIt) found = static_cast<int>(w);
            }
            EXPECT_GE(found, 0) << "session " << s.id << " sight " << k;
            if (found < 0) continue;
            EXPECT_TRUE(f.ShotOutlier[k]);
            const LatLon p = f.WithoutPos[static_cast<size_t>(found)];
            EXPECT_LT(MissNm(s, p.Lat, p.Lon), kTolWithoutBlunderNm) << "session " << s.id << " sight " << k;
        }
    }
}

TEST_F(Session_, RegionFromResidualsHoldsTheTruthNinetyFivePercent) {
    // Gaussian sight errors of 0.5' on the eight-sight sessions, 1,000 sessions.
    std::mt19937 rng(20261207u);
    std::normal_distribution<double> error(0.0, kSightErrorArcmin / 60.0);
    int runs = 0, inRegion = 0, inGeometric = 0, flagged = 0;
    while (runs < kCalibrationSessions) {
        for (const Session& s : Sessions()) {
            if (s.kind != "fix" || runs == kCalibrationSessions) continue;
            std::vector<SessionSight> sights = s.sights;
            for (SessionSight& x : sights) x.Hs += error(rng);
            const SessionFix f = CalcSession(sights, s.c);
            ASSERT_EQ(f.Refusal, "");
            ASSERT_TRUE(f.Solution.HasRegion);
            // The truth as seen from the fix, in arc minutes north and east.
            const double dN = (s.trueLat - f.FixLat) * 60.0;
            const double dE = std::remainder(s.trueLon - f.FixLon, 360.0) * 60.0 * CosD(f.FixLat);
            inRegion += EllipseHolds(f.Solution.Region95, dN, dE);
            inGeometric += EllipseHolds(f.Solution.Geometric, dN, dE);
            flagged += !f.Solution.Without.empty();
            ++runs;
        }
    }
    const double rate = 100.0 * inRegion / runs, geometric = 100.0 * inGeometric / runs;
    std::printf("0.5' sights, %d sessions: the 95%% region holds the truth in %.1f%%, the geometric ellipse in %.1f%%; "
                "a good sight flagged in %d\n", runs, rate, geometric, flagged);
    EXPECT_GE(rate, 93.0);
    EXPECT_LE(rate, 97.0);
}

TEST_F(Session_, ReduceCommandPrintsTheFix) {
    const Session& s = Sessions()[1];  // under way
    ASSERT_TRUE(s.moving);
    const std::string path = ::testing::TempDir() + "veltrano_reduce_sights.csv";
    auto iso = [](DateValue t) {  // to the nearest second
        const CalendarDate d = DateToParts(t + 0.5 / 86400.0);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                      static_cast<int>(d.second));
        return std::string(buf);
    };
    {
        std::ofstream f(path);
        f << "ut,body,hs,limb,kind\n";
        for (size_t i = 0; i < s.sights.size(); ++i)
            f << iso(s.sights[i].UT) << "Z," << s.names[i] << "," << std::to_string(s.sights[i].Hs) << ",,\n";
    }
    std::vector<std::string> args = {path, "--dr", std::to_string(s.c.DRLat), std::to_string(s.c.DRLon), "--dr-time",
                                     iso(s.c.FixUT), "--course", std::to_string(s.c.Course), "--speed", std::to_string(s.c.Speed),
                                     "--eye", std::to_string(s.c.HeightOfEye), "--ic", std::to_string(s.c.IndexArcmin),
                                     "--temp", std::to_string(s.c.Temp), "--pressure", std::to_string(s.c.Pressure)};
    std::ostringstream out, err;
    ASSERT_EQ(RunReduce(args, out, err), 0) << err.str();
    const std::string json = out.str();
    double lat = 0.0, lon = 0.0;
    ASSERT_EQ(std::sscanf(json.c_str() + json.find("\"fix\""), "\"fix\": {\"lat\": %lf, \"lon\": %lf", &lat, &lon), 2);
    EXPECT_LT(MissNm(s, lat, lon), kTolPerfectNm);
    for (const char* key : {"\"ellipse95\": {\"a_nm\"", "\"ellipse_geometric\": {", "\"sigma_arcmin\": ", "\"lines\": [",
                            "\"outlier\": false", "\"residual_arcmin\""})
        EXPECT_NE(json.find(key), std::string::npos) << key;

    // Bad usage names the line and the column; a fix refused exits 1.
    const struct { const char* row; const char* says; } bad[] = {{"2026-01-01T10:00:00,Vega,91.0", ":3: column hs"},
                                                                 {"2026-01-01T25:00:00,Vega,40.0", ":3: column ut"},
                                                                 {"2026-01-01T10:00:00,Nosuch,40.0", ":3: column body"},
                                                                 {"2026-01-01T10:00:00,Vega,40.0,,noon", ":3: column kind"}};
    for (const auto& b : bad) {
        std::ofstream(path) << "ut,body,hs,limb,kind\n2026-01-01T09:59:00,Arcturus,30-00.0\n" << b.row << "\n";
        std::ostringstream o, e;
        EXPECT_EQ(RunReduce({path, "--dr", "41-20.5N", "070-05.2W"}, o, e), 2) << b.row;
        EXPECT_NE(e.str().find(b.says), std::string::npos) << e.str();
    }
    std::ofstream(path) << "ut,body,hs\n2026-01-01T09:59:00,Arcturus,30-00.0\n";
    std::ostringstream o, e;
    EXPECT_EQ(RunReduce({path, "--dr", "41-20.5N", "070-05.2W"}, o, e), 1);
    EXPECT_NE(o.str().find("\"refusal\""), std::string::npos);
    EXPECT_EQ(RunReduce({path}, o, e), 2);
    std::remove(path.c_str());
}

TEST_F(Session_, IdentifyPutsTheRightStarFirst) {
    const testsupport::CsvTable t = testsupport::ReadCsv(testsupport::TestData("identify_reference.csv"));
    // The corners of the stated errors. Two bodies closer together than those errors
    // (Acrux and Gacrux, Hadar and Rigil Kentaurus, a planet by a star) cannot always be
    // told apart: then the right star must still be listed second, and the first body
    // must lie within the stated errors too.
    const double kWithinErrors = std::sqrt(2.0) + 1e-6;
    int trials = 0, first = 0;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        // The catalogue star at the reference's J2000 place.
        int number = 0;
        for (int i = 1; i <= kStarCount; ++i) {
            const StarRecord& s = Stars[static_cast<size_t>(i)];
            const double dRa = std::remainder(s.RA - t.Num(r, "ra2000"), 360.0) * CosD(s.Dec);
            if (std::hypot(dRa, s.Dec - t.Num(r, "dec2000")) < 0.1) number = s.Number;
        }
        ASSERT_NE(number, 0) << t.Text(r, "star");
        DateValue ut = 0.0;
        ASSERT_TRUE(ParseIsoUT(t.Text(r, "ut"), ut));
        for (const double dh : {-0.5, 0.5})
            for (const double dz : {-3.0, 3.0}) {
                const std::vector<IdentifyCandidate> c =
                    IdentifyBody(ut, t.Num(r, "lat"), t.Num(r, "lon"), t.Num(r, "alt") + dh, t.Num(r, "az") + dz);
                ++trials;
                ASSERT_GE(c.size(), 1u);
                if (c[0].Code == number) {
                    ++first;
                    continue;
                }
                ASSERT_GE(c.size(), 2u);
                EXPECT_EQ(c[1].Code, number);
                EXPECT_LE(c[0].Nearness, kWithinErrors) << c[0].Name;
            }
        // Without the errors, always first.
        const std::vector<IdentifyCandidate> c = IdentifyBody(ut, t.Num(r, "lat"), t.Num(r, "lon"), t.Num(r, "alt"), t.Num(r, "az"));
        ASSERT_GE(c.size(), 1u);
        EXPECT_EQ(c[0].Code, number) << t.Text(r, "star");
    }
    EXPECT_GE(first, trials * 99 / 100);  // measured: 3,899 of 3,908
}

TEST_F(Session_, SightLogKeepsEverySightOfTheSession) {
    const Session& s = Sessions().back();  // a five-shot series and four more: nine sights
    ASSERT_EQ(s.sights.size(), 9u);
    const SessionFix f = CalcSession(s.sights, s.c);
    ASSERT_EQ(f.Refusal, "");
    NavigationStateRecord working = DefaultNavigationState();
    working.TZ = 3.0f;
    LoggedFix in = MakeLoggedSession(working, f, "test");
    const std::string path = ::testing::TempDir() + "veltrano_session_log.db";
    std::remove(path.c_str());
    {
        SightLog log;
        ASSERT_TRUE(log.Open(path).Ok);
        ASSERT_GT(log.Record(in), 0);
        const LoggedFix back = log.Load(in.Id);
        ASSERT_EQ(back.Sights.size(), 9u);
        EXPECT_EQ(back.Sights[8].Line, 9);
        EXPECT_EQ(back.Sights[0].BodyName, BodyNameOfCode(s.sights[0].Body));
        EXPECT_NEAR(back.FixLat, f.FixLat, 1e-12);
        EXPECT_NEAR(back.ZoneTime - back.UT, 3.0 / 24.0, 1e-9);
        const std::string csv = SightLogCsv({back});
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 10);  // the header and nine sights
        // Each sight's workings are one reduction from the DR: Ho - Hc is its intercept.
        for (const LoggedSight& l : back.Sights) EXPECT_NEAR(60.0 * (l.Ho - l.Hc), l.Intercept, 1e-9) << l.Line;
        // Reopened, the session window gets every sight as taken, with its Use tick.
        EXPECT_TRUE(IsLoggedSession(back));
        LoggedFix four = back;  // four sights: the position window's
        four.Sights.resize(4);
        EXPECT_FALSE(IsLoggedSession(four));
        const std::vector<SessionSight> again = SessionSightsOf(back);
        ASSERT_EQ(again.size(), s.sights.size());
        for (size_t i = 0; i < again.size(); ++i) {
            EXPECT_EQ(again[i].Body, s.sights[i].Body);
            EXPECT_NEAR(again[i].UT, s.sights[i].UT, 1e-9);
            EXPECT_EQ(again[i].Hs, s.sights[i].Hs);
            EXPECT_EQ(again[i].Use, s.sights[i].Use);
            EXPECT_EQ(again[i].Number, static_cast<int>(i) + 1);
        }
    }
    std::remove(path.c_str());
}
