// The numbers of the details table: lines 2 and 3 only, and each column's
// corrections add up to the fix's own intercept.
#include <gtest/gtest.h>

#include "map/mDetails.h"
#include "support/nav_fixture.h"

namespace {
constexpr double kTolDeg = 1e-9;
using Details = testsupport::NavFixture;
}  // namespace

TEST_F(Details, LinesTwoAndThreeAddUpToTheirIntercepts) {
    NavigationState = testsupport::DrState(DateFromParts(2024, 1, 15, 2, 0, 0), 2.0f, 40.0, -10.0, 45.0f, 12.0f);
    NavigationState.Temp = -5.0f;
    NavigationState.Pressure = 1025.0f;
    NavigationState.i_s = -1.2f;
    // Sirius and the Moon, the Moon by its upper limb.
    SightLines lines;
    lines.Body = {kNoBody, 2491, -8, kNoBody};
    lines.Time = {"", "23:30:00", "23:50:00", ""};
    lines.Altitude = {"", "33-10.0", "40-20.0", ""};
    lines.LowerLimb = {false, true, false, false};
    const FixResult fix = CalcPosition(lines);
    for (int i : {0, 3, 4}) EXPECT_FALSE(ComputeDetailsLine(fix, lines, i).InUse) << i;

    const DetailsLine star = ComputeDetailsLine(fix, lines, 1);
    const DetailsLine moon = ComputeDetailsLine(fix, lines, 2);
    ASSERT_TRUE(star.InUse && moon.InUse);
    EXPECT_EQ(star.Name, StarName(StarIndex(2491)));
    EXPECT_EQ(moon.Name, "Moon");
    // The fix is at 00:00 UT on the 15th: the sight half an hour before it is on the 14th.
    EXPECT_NEAR(star.Time, DateFromParts(2024, 1, 14, 23, 30, 0), 1e-9);
    EXPECT_EQ(moon.GhaAries, 0.0);
    EXPECT_EQ(moon.Tau, 0.0);
    for (const DetailsLine& d : {star, moon}) {
        // LHA from the sidereal time and GHA from Aries: the same angle, west positive, in (-180, 180].
        double lha = Norm360(d.Gha + d.Lon);
        if (lha > 180.0) lha -= 360.0;
        EXPECT_NEAR(d.Lha, lha, 1e-6) << d.Name;
        // The corrections recomputed for the table give the fix's intercept:
        // Ho = H + semidiameter - refraction - its air part + parallax.
        EXPECT_NEAR((d.H + d.SemiD - d.Refr - d.TP + d.Parallax - d.Hc) * 60.0, fix.Intercept[d.IsStar ? 1 : 2],
                    60.0 * kTolDeg)
            << d.Name;
        EXPECT_GT(d.TP, 0.0) << "cold dense air";
    }
    EXPECT_EQ(star.SemiD, 0.0);
    EXPECT_EQ(star.Parallax, 0.0);
    EXPECT_LT(moon.SemiD, -14.0 / 60.0);  // the upper limb: a negative semidiameter
    EXPECT_GT(moon.Parallax, 40.0 / 60.0 * CosD(moon.Hc) * 0.9);
}
