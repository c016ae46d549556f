#include <gtest/gtest.h>

#include <cmath>

#include "app/mPublicVars.h"
#include "core/mFault.h"
#include "reduction/mCorrection.h"
#include "support/csv.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;
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

TEST_F(Corrections, RefractionIsContinuousAndAgreesWithErfa) {
    EXPECT_NEAR(Refraction(45.0) / kAs, 58.23, 0.05);
    EXPECT_EQ(Refraction(90.0), 0.0);
    // The horizon branch meets the polynomial at -0.575 deg; then no step larger than
    // 2" on a fine sweep through the joins at 5 and 15 deg (the old 2035" constant jumped 300").
    EXPECT_NEAR(Refraction(-0.575 - 1e-9) / kAs, Refraction(-0.575) / kAs, 0.3);
    double prev = Refraction(-0.575);
    for (double h = -0.575 + 0.001; h <= 90.0; h += 0.001) {
        const double r = Refraction(h);
        EXPECT_LT(std::fabs(r - prev) / kAs, 2.0) << h;
        prev = r;
    }
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
    EXPECT_GT(RefractionTP(r), 0.0);  // cold dense air refracts more
    NavigationState.Temp = 35.0f;
    NavigationState.Pressure = 990.0f;
    EXPECT_LT(RefractionTP(r), 0.0);
}

TEST_F(Corrections, DipParallaxSemidiameter) {
    struct C { double got, want, tol; };
    const C cases[] = {{Dip(15.0) * 60.0, 6.84, 0.005},
                       {Parallax(0.00257, 0.0) * 60.0, 57.0, 0.05},  // the Moon at 384000 km
                       {Parallax(0.00257, 90.0), 0.0, 1e-15},
                       {Parallax(1.0, 0.0) / kAs, 8.794, 0.001},     // the Sun's horizontal parallax
                       {SemiDiameter(0, 1.0) * 60.0, 16.0, 0.01},
                       {SemiDiameter(9, 0.00257) * 60.0, 15.54, 0.01}};
    for (const C& c : cases) EXPECT_NEAR(c.got, c.want, c.tol) << c.want;
    EXPECT_EQ(Dip(0.0), 0.0);
    EXPECT_THROW(Dip(-1.0), ArithmeticFault);
    EXPECT_THROW(Parallax(1e-6, 0.0), ArithmeticFault);  // inside the Earth
    for (int body : {3, -1, 424, 10}) EXPECT_EQ(SemiDiameter(body, 1.0), 0.0) << body;
}
