// The numbers of the star map: the magnitude text, the chart's geometry, which
// stars and bodies get marks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/mPublicVars.h"
#include "bodies/mStar.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "almanac/mCompass.h"
#include "map/mStarMap.h"
#include "reduction/mAltAz.h"

namespace {
class StarMap : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadPlanetData().ok);
        ASSERT_TRUE(LoadStarFile().ok);
    }
    void SetUp() override {
        saved_ = NavigationState;
        NavigationState = DefaultNavigationState();
    }
    void TearDown() override { NavigationState = saved_; }
    NavigationStateRecord saved_;
};

// The position under a star at jd: latitude its declination, longitude where its
// local hour angle is 0 (so it stands at the zenith).
void UnderStar(double jd, int number, double& lat, double& lon) {
    const Coord3 p = StarPosition(jd, number);
    lat = p.y;
    lon = Norm360(p.x - SiderealTime(jd, 0.0) + 180.0) - 180.0;
}
}  // namespace

TEST(MagnitudeText, LeadingNumberWithAPoint) {
    EXPECT_EQ(LeadingNumber("3.5"), 3.5);
    EXPECT_EQ(LeadingNumber("3.5abc"), 3.5);
    EXPECT_EQ(LeadingNumber("4"), 4.0);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("3,5"), 3.0);  // the comma ends the number
    EXPECT_EQ(LeadingNumber("-1.5"), -1.5);
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber("  2.25"), 2.25);
}

TEST(ChartGeometry, ZenithCentreHorizonRimNorthUpEastRight) {
    // A 300 x 300 chart: R = 150.
    ChartPoint p = ChartPosition(90.0, 123.0, 300, 300);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 150);
    p = ChartPosition(0.0, 0.0, 300, 300);  // north on the horizon: top
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 0);
    p = ChartPosition(0.0, 90.0, 300, 300);  // east: right
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 150);
    p = ChartPosition(45.0, 180.0, 300, 300);  // south at 45 degrees: half way down
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 225);
    p = ChartPosition(60.0, 270.0, 300, 200);  // a wide chart: R from the height
    EXPECT_EQ(p.x, 150 - 33);                  // 100 * (1/3) = 33.3
    EXPECT_EQ(p.y, 100);
    // Halves round to even: x = 2.5 on a 5-wide chart.
    p = ChartPosition(90.0, 0.0, 5, 5);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 2);
}

TEST_F(StarMap, NavigationalListAndHorizon) {
    const double jd = JulianDay(DateFromParts(2024, 1, 15, 0, 0, 0), false, false);
    const std::vector<MapMark> marks = StarMarks(jd, 40.0, -20.0, StarChoice::NavStars, 0.0);
    ASSERT_FALSE(marks.empty());
    int last = 0;
    for (const MapMark& m : marks) {
        const StarRecord& s = Stars[static_cast<size_t>(m.Tag)];
        EXPECT_GT(s.NavNumber, 0);
        EXPECT_GT(m.Alt, 0.0);
        EXPECT_EQ(m.Code, s.Number);
        EXPECT_EQ(m.Name, StarName(m.Tag));
        EXPECT_GT(m.Tag, last) << "ascending table index";
        last = m.Tag;
    }
    // Every navigational star above the horizon is there, none below.
    int above = 0;
    for (int s = 1; s <= kStarCount; ++s) {
        if (Stars[static_cast<size_t>(s)].NavNumber <= 0) continue;
        const Coord3 hz = AltAzimuth(jd, StarPosition(jd, Stars[static_cast<size_t>(s)].Number), 40.0, -20.0);
        if (hz.y > 0.0) ++above;
    }
    EXPECT_EQ(static_cast<int>(marks.size()), above);
    EXPECT_LT(above, 58);
}

TEST_F(StarMap, MagnitudeLimitIsStrict) {
    // Nekkar (HR 5602) has magnitude 3.50: at the zenith it shows for a limit of
    // 3.51, not for 3.5.
    const double jd = JulianDay(DateFromParts(2024, 6, 1, 22, 0, 0), false, false);
    double lat = 0, lon = 0;
    UnderStar(jd, 5602, lat, lon);
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
    // Noon at Greenwich in March: the Sun is up, the lists come in display order.
    const double jd = JulianDay(DateFromParts(2024, 3, 15, 12, 0, 0), false, false);
    const std::vector<MapMark> marks = BodyMarks(jd, 0.0, 0.0);
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks.front().Tag, 0);
    EXPECT_EQ(marks.front().Code, 0);
    EXPECT_EQ(marks.front().Name, "Sun");
    int last = -1;
    for (const MapMark& m : marks) {
        EXPECT_FALSE(m.IsStar);
        EXPECT_GT(m.Tag, last);
        EXPECT_EQ(m.Code, -m.Tag);
        EXPECT_GT(m.Alt, 0.0);
        last = m.Tag;
    }
    // At midnight the Sun is not on the map.
    for (const MapMark& m : BodyMarks(JulianDay(DateFromParts(2024, 3, 15, 0, 0, 0), false, false), 0.0, 0.0))
        EXPECT_NE(m.Tag, 0);
}

TEST_F(StarMap, InformationBoxNumbers) {
    const double jd = JulianDay(DateFromParts(2024, 1, 15, 0, 0, 0), false, false);
    const int s = StarIndex(2491);  // Sirius
    const StarInfo info = ComputeStarInfo(jd, s, 40.0, 0.0, 15.0);
    const Coord3 place = StarPosition(jd, 2491);
    const Coord3 hz = AltAzimuth(jd, place, 40.0, 0.0);
    EXPECT_EQ(info.Magnitude, Stars[static_cast<size_t>(s)].Magnitude);
    EXPECT_NEAR(info.Tau, 360.0 - place.x, 1e-9);
    // The sextant would read more than the computed altitude: dip and refraction.
    EXPECT_GT(info.Altitude, hz.y + 6.8 / 60.0);
    EXPECT_LT(info.Altitude, hz.y + 8.5 / 60.0);
    // The Sun's lower limb reads about 16' below its centre, and its diameter is about 32'.
    const BodyInfo sun = ComputeBodyInfo(JulianDay(DateFromParts(2024, 3, 15, 12, 0, 0), false, false), 0, 40.0,
                                         0.0, 0.0);
    EXPECT_NEAR(sun.DiameterArcmin, 32.1, 0.1);
    EXPECT_NEAR(sun.Distance, 0.9946, 0.001);
}
