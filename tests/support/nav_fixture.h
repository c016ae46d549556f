// The fixture of the tests that need the data files (loaded once) and start from the
// default working data in `nav`, which they pass to the computations.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "fix/mCalcPosition.h"

namespace testsupport {

inline void LoadDataFiles() {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    ASSERT_TRUE(LoadPlanetData().ok);
    ASSERT_TRUE(LoadStarFile().ok);
    ASSERT_TRUE(LoadMoonFile().ok);
}

// The working data: local date and time, zone, DR position, course and speed.
inline NavigationStateRecord DrState(DateValue local, float tz, double lat, double lon, float course = 0.0f,
                                     float speed = 0.0f) {
    const NavigationStateRecord d = DefaultNavigationState();
    return {local, tz, lat, lon, course, speed, d.Temp, d.Pressure, d.hEye, d.i_s, d.ClockError, true};
}

// Distance in nautical miles (plane sailing, the longitude difference taken the short way).
inline double NmBetween(double lat, double lon, double refLat, double refLon) {
    const double dN = (lat - refLat) * 60.0, dE = Norm180(lon - refLon) * 60.0 * CosD(refLat);
    return std::sqrt(dN * dN + dE * dE);
}

class NavFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadDataFiles(); }
    NavigationStateRecord nav = DefaultNavigationState();
};

}  // namespace testsupport
