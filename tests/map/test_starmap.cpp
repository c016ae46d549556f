// The numbers of the star map: the chart's geometry, which stars and bodies get
// marks, the information boxes.
#include <gtest/gtest.h>

#include <climits>

#include "core/mReport.h"
#include "map/mStarMap.h"
#include "reduction/mAltAz.h"
#include "support/nav_fixture.h"

namespace {
using StarMap = testsupport::NavFixture;

double Jd(int y, int m, int d, int h) { return JulianDay(DateFromParts(y, m, d, h, 0, 0), false, false); }

int g_invalidIndexReports = 0;
void CountReport(const std::string&, const std::string& text) { g_invalidIndexReports += text == "Invalid planet index!"; }
}  // namespace

TEST_F(StarMap, ABodyNumberThatNamesNoBodyIsReportedNeverNegated) {
    // -INT_MIN is no int: the body numbers are checked first.
    const ReportHook old = SetReportHook(&CountReport);
    g_invalidIndexReports = 0;
    const double jd = Jd(2024, 3, 15, 12);
    EXPECT_EQ(ComputeBodyInfo(jd, INT_MIN, 40.0, 0.0, Horizon{0.0, 10.0, 1010.0}).Distance, 0.0);
    EXPECT_EQ(BodyIdOfCode(INT_MIN), -1);
    EXPECT_EQ(BodyIdOfListIndex(INT_MAX), -1);
    SetReportHook(old);
    EXPECT_EQ(g_invalidIndexReports, 1);
}

TEST(ChartGeometry, ZenithCentreHorizonRimNorthUpEastRight) {
    struct Case {
        double alt, az, w, h;
        int x, y;
    };
    const Case cases[] = {
        {90.0, 123.0, 300, 300, 150, 150},     // the zenith at the centre
        {0.0, 0.0, 300, 300, 150, 0},          // north on the horizon: top
        {0.0, 90.0, 300, 300, 300, 150},       // east: right
        {45.0, 180.0, 300, 300, 150, 225},     // south at 45 degrees: half way down
        {60.0, 270.0, 300, 200, 150 - 33, 100},  // a wide chart: R from the height, 100/3 = 33.3
        {90.0, 0.0, 5, 5, 2, 2},               // halves round to even
    };
    for (const Case& c : cases) {
        const ChartPoint p = ChartPosition(c.alt, c.az, c.w, c.h);
        EXPECT_TRUE(p.x == c.x && p.y == c.y) << c.alt << " " << c.az << ": " << p.x << " " << p.y;
    }
}

TEST_F(StarMap, NavigationalListAndHorizon) {
    const double jd = Jd(2024, 1, 15, 0);
    const std::vector<MapMark> marks = StarMarks(jd, 40.0, -20.0, StarChoice::NavStars, 0.0);
    int last = 0;
    for (const MapMark& m : marks) {  // up, named, in ascending table order
        const StarRecord& s = Stars[static_cast<size_t>(m.Tag)];
        EXPECT_TRUE(s.NavNumber > 0 && m.Alt > 0.0 && m.Code == s.Number && m.Name == StarName(m.Tag) && m.Tag > last)
            << m.Name;
        last = m.Tag;
    }
    // Every navigational star above the horizon is there, none below.
    size_t above = 0;
    for (int s = 1; s <= kStarCount; ++s) {
        const StarRecord& star = Stars[static_cast<size_t>(s)];
        if (star.NavNumber > 0 && AltAzimuth(jd, StarPosition(jd, star.Number), 40.0, -20.0).y > 0.0) ++above;
    }
    EXPECT_EQ(marks.size(), above);
    EXPECT_TRUE(above > 0u && above < 58u) << above;
}

TEST_F(StarMap, MagnitudeLimitIsStrict) {
    // Nekkar (HR 5602, magnitude 3.50) at the zenith shows for a limit of 3.51, not for 3.5.
    const double jd = Jd(2024, 6, 1, 22);
    const Coord3 p = StarPosition(jd, 5602);
    const double lat = p.y, lon = Norm360(p.x - SiderealTime(jd, 0.0) + 180.0) - 180.0;
    auto has = [&](double limit) {
        for (const MapMark& m : StarMarks(jd, lat, lon, StarChoice::Magnitude, limit))
            if (m.Code == 5602) return true;
        return false;
    };
    EXPECT_FALSE(has(3.5));
    EXPECT_TRUE(has(3.51));
    // The second list and the magnitude limit are different selections.
    for (const MapMark& m : StarMarks(jd, lat, lon, StarChoice::MaeStars, 0.0))
        EXPECT_GT(Stars[static_cast<size_t>(m.Tag)].MaeNumber, 0);
    EXPECT_TRUE(StarMarks(jd, lat, lon, StarChoice::Magnitude, -2.0).empty());
}

TEST_F(StarMap, BodiesAboveTheHorizonInDisplayOrder) {
    // Noon at Greenwich in March: the Sun is up and first.
    const std::vector<MapMark> marks = BodyMarks(Jd(2024, 3, 15, 12), 0.0, 0.0);
    ASSERT_FALSE(marks.empty());
    EXPECT_TRUE(marks.front().Name == "Sun" && marks.front().Tag == 0);
    int last = -1;
    for (const MapMark& m : marks) {
        EXPECT_TRUE(!m.IsStar && m.Tag > last && m.Code == -m.Tag && m.Alt > 0.0) << m.Name;
        last = m.Tag;
    }
    // At midnight the Sun is not on the map.
    for (const MapMark& m : BodyMarks(Jd(2024, 3, 15, 0), 0.0, 0.0)) EXPECT_NE(m.Tag, 0);
}

TEST_F(StarMap, InformationBoxesGiveTheSextantReading) {
    // Sirius: the sextant reads more than the computed altitude, by the dip of 15 m
    // (6.8') and the refraction.
    const double jd = Jd(2024, 1, 15, 0);
    const StarInfo info = ComputeStarInfo(jd, StarIndex(2491), 40.0, 0.0, 15.0);
    const double alt = AltAzimuth(jd, StarPosition(jd, 2491), 40.0, 0.0).y;
    EXPECT_TRUE(info.Altitude > alt + 6.8 / 60.0 && info.Altitude < alt + 8.5 / 60.0) << (info.Altitude - alt) * 60.0;
    // The Sun in mid-March: diameter about 32.1', distance 0.9946 AU.
    const BodyInfo sun = ComputeBodyInfo(Jd(2024, 3, 15, 12), 0, 40.0, 0.0, Horizon{0.0, 10.0, 1010.0});
    EXPECT_NEAR(sun.DiameterArcmin, 32.1, 0.1);
    EXPECT_NEAR(sun.Distance, 0.9946, 0.001);
}
