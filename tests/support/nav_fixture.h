// The fixture of the tests that need the data files and the working data: the
// files load once, and each test starts from the default working data in `nav`,
// which it passes to the computations.
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
    NavigationStateRecord s = DefaultNavigationState();
    s.LocalDate = local;
    s.TZ = tz;
    s.Lat = lat;
    s.Lon = lon;
    s.Course = course;
    s.Speed = speed;
    s.StateLoaded = true;
    return s;
}

// Distance in nautical miles (plane sailing, the longitude difference taken the short way).
inline double NmBetween(double lat, double lon, double refLat, double refLon) {
    double dLon = lon - refLon;
    if (dLon > 180.0) dLon -= 360.0;
    if (dLon < -180.0) dLon += 360.0;
    const double dN = (lat - refLat) * 60.0, dE = dLon * 60.0 * CosD(refLat);
    return std::sqrt(dN * dN + dE * dE);
}

class NavFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadDataFiles(); }
    NavigationStateRecord nav = DefaultNavigationState();
};

}  // namespace testsupport
