// The numbers of the details table: they add up to the fix's own intercept.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/mPublicVars.h"
#include "bodies/mStar.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "map/mDetails.h"
#include "reduction/mCorrection.h"

namespace {
constexpr double kTolDeg = 1e-9;

class Details : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadPlanetData().ok);
        ASSERT_TRUE(LoadStarFile().ok);
    }
    void SetUp() override {
        saved_ = NavigationState;
        NavigationState = DefaultNavigationState();
        NavigationState.LocalDate = DateFromParts(2024, 1, 15, 2, 0, 0);
        NavigationState.TZ = 2.0f;
        NavigationState.Lat = 40.0;
        NavigationState.Lon = -10.0;
        NavigationState.Course = 45.0f;
        NavigationState.Speed = 12.0f;
        NavigationState.Temp = -5.0f;
        NavigationState.Pressure = 1025.0f;
        NavigationState.i_s = -1.2f;
        // Lines 2 and 3 only: Sirius and the Moon, line 3 by its upper limb.
        lines_.Body = {kNoBody, 2491, -8, kNoBody};
        lines_.Time = {"", "23:30:00", "23:50:00", ""};
        lines_.Altitude = {"", "33-10.0", "40-20.0", ""};
        lines_.LowerLimb = {false, true, false, false};
        fix_ = CalcPosition(lines_);
    }
    void TearDown() override { NavigationState = saved_; }
    NavigationStateRecord saved_;
    SightLines lines_;
    FixResult fix_;
};
}  // namespace

TEST_F(Details, OnlyTheLinesInUse) {
    EXPECT_FALSE(ComputeDetailsLine(fix_, lines_, 0).InUse);
    EXPECT_FALSE(ComputeDetailsLine(fix_, lines_, 3).InUse);
    EXPECT_FALSE(ComputeDetailsLine(fix_, lines_, 4).InUse);
    const DetailsLine star = ComputeDetailsLine(fix_, lines_, 1);
    const DetailsLine moon = ComputeDetailsLine(fix_, lines_, 2);
    ASSERT_TRUE(star.InUse);
    ASSERT_TRUE(moon.InUse);
    EXPECT_TRUE(star.IsStar);
    EXPECT_FALSE(moon.IsStar);
    EXPECT_EQ(star.Name, StarName(StarIndex(2491)));
    EXPECT_EQ(moon.Name, "Moon");
    // The sight's UT: the fix is at 00:00 UT on the 15th, the sights at 23:30 and
    // 23:50 UT, half an hour and ten minutes before it, on the 14th.
    EXPECT_NEAR(star.Time, DateFromParts(2024, 1, 14, 23, 30, 0), 1e-9);
    EXPECT_EQ(moon.GhaAries, 0.0);
    EXPECT_EQ(moon.Tau, 0.0);
}

TEST_F(Details, TheColumnAddsUpToTheIntercept) {
    for (int i : {1, 2}) {
        const DetailsLine d = ComputeDetailsLine(fix_, lines_, i);
        const size_t n = static_cast<size_t>(i);
        // LHA = GHA + longitude, west positive, in (-180, 180].
        double lha = Norm360(d.Gha + d.Lon);
        if (lha > 180.0) lha -= 360.0;
        EXPECT_NEAR(d.Lha, lha, 1e-6);
        EXPECT_EQ(d.Lon, fix_.LinePos[n].Lon);
        if (d.IsStar) {
            EXPECT_NEAR(d.Gha, Norm360(d.GhaAries + d.Tau), kTolDeg);
        }
        EXPECT_NEAR(d.H, d.Hs - d.Dip + (-1.2f) / 60.0, kTolDeg);
        // Ho = H + semidiameter - refraction - its air part + parallax, and Ho - Hc is the intercept.
        EXPECT_NEAR(d.Ho, d.H + d.SemiD - d.Refr - d.TP + d.Parallax, 1e-9);
        EXPECT_NEAR((d.Ho - d.Hc) * 60.0, fix_.Intercept[n], 1e-9);
        EXPECT_GT(d.TP, 0.0);  // cold dense air
        EXPECT_EQ(d.Az, fix_.Az[n]);
    }
    const DetailsLine star = ComputeDetailsLine(fix_, lines_, 1);
    EXPECT_EQ(star.SemiD, 0.0);
    EXPECT_EQ(star.Parallax, 0.0);
    const DetailsLine moon = ComputeDetailsLine(fix_, lines_, 2);
    EXPECT_LT(moon.SemiD, -14.0 / 60.0);  // the upper limb: a negative semidiameter
    EXPECT_GT(moon.Parallax, 40.0 / 60.0 * CosD(moon.Hc) * 0.9);
}
