#include <gtest/gtest.h>

#include <cmath>

#include "app/mPublicVars.h"
#include "core/mFault.h"
#include "reduction/mCorrection.h"
#include "support/csv.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;
constexpr double kTolArcsec = 0.05;
// ERFA's A tan z + B tan^3 z against the cotangent series above 15 degrees.
constexpr double kTolRefractionVsErfaArcsec = 3.0;

class Corrections : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = NavigationState;
        NavigationState = DefaultNavigationState();
    }
    void TearDown() override { NavigationState = saved_; }
    NavigationStateRecord saved_;
};
}  // namespace

TEST_F(Corrections, RefractionBranchValues) {
    EXPECT_NEAR(Refraction(0.0) / kAs, 1735.0, 1e-9);
    EXPECT_NEAR(Refraction(5.0) / kAs, 574.625, 1e-6);
    EXPECT_NEAR(Refraction(45.0) / kAs, 58.23, kTolArcsec);
    EXPECT_EQ(Refraction(90.0), 0.0);
    EXPECT_NEAR(Refraction(-1.0) / kAs, 1190.1, 0.1);
}

TEST_F(Corrections, RefractionIsContinuousAtTheBranchEnds) {
    // The polynomial meets the horizon branch at -0.575 deg and the tangent series at
    // 5 deg; the tangent series meets the cotangent series at 15 deg.
    const double eps = 1e-9;
    EXPECT_NEAR(Refraction(-0.575) / kAs, 2069.7, 0.1);
    EXPECT_NEAR(Refraction(-0.575 - eps) / kAs, 2069.9, 0.1);
    EXPECT_NEAR(Refraction(5.0 + eps) / kAs, 576.3, 0.1);
    EXPECT_NEAR(Refraction(15.0) / kAs, 213.3, 0.1);
    EXPECT_NEAR(Refraction(15.0 + eps) / kAs, 214.1, 0.1);
    // No step anywhere larger than 2" on a fine sweep (the old 2035 constant jumped 300").
    double prev = Refraction(-0.575);
    for (double h = -0.575 + 0.001; h <= 90.0; h += 0.001) {
        const double r = Refraction(h);
        EXPECT_LT(std::fabs(r - prev) / kAs, 2.0) << h;
        prev = r;
    }
}

TEST_F(Corrections, RefractionAgreesWithErfaAboveFifteenDegrees) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("refraction_reference.csv"));
    testsupport::ErrorStats err;
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const double d = Refraction(ref.Num(i, "alt_deg")) / kAs - ref.Num(i, "refraction_arcsec");
        err.Add(d);
        EXPECT_LT(std::fabs(d), kTolRefractionVsErfaArcsec) << ref.Num(i, "alt_deg");
    }
    std::printf("refraction vs ERFA refco above 15 deg: max %.2f\" rms %.2f\"\n", err.max, err.Rms());
}

TEST_F(Corrections, TemperatureAndPressure) {
    const double r = Refraction(2.0);
    EXPECT_EQ(RefractionTP(r), 0.0);  // 10 C, 1010 mB
    NavigationState.Temp = -10.0f;
    NavigationState.Pressure = 1030.0f;
    EXPECT_NEAR(RefractionTP(r) / r, 0.0974, 0.0005);
    EXPECT_GT(RefractionTP(r), 0.0);  // cold dense air refracts more
    NavigationState.Temp = 35.0f;
    NavigationState.Pressure = 990.0f;
    EXPECT_LT(RefractionTP(r), 0.0);
}

TEST_F(Corrections, DipParallaxSemidiameter) {
    EXPECT_NEAR(Dip(15.0) * 60.0, 6.84, 0.005);
    EXPECT_EQ(Dip(0.0), 0.0);
    EXPECT_THROW(Dip(-1.0), ArithmeticFault);
    EXPECT_NEAR(Parallax(0.00257, 0.0) * 60.0, 57.0, 0.05);
    EXPECT_NEAR(Parallax(0.00257, 90.0), 0.0, 1e-15);
    EXPECT_NEAR(Parallax(1.0, 0.0) / kAs, 8.794, 0.001);  // the Sun's horizontal parallax
    EXPECT_THROW(Parallax(1e-6, 0.0), ArithmeticFault);    // inside the Earth
    EXPECT_NEAR(SemiDiameter(0, 1.0) * 60.0, 16.0, 0.01);
    EXPECT_NEAR(SemiDiameter(9, 0.00257) * 60.0, 15.54, 0.01);
    EXPECT_EQ(SemiDiameter(3, 1.0), 0.0);
    EXPECT_EQ(SemiDiameter(-1, 1.0), 0.0);
    EXPECT_EQ(SemiDiameter(424, 1.0), 0.0);
    EXPECT_EQ(SemiDiameter(10, 1.0), 0.0);
}
