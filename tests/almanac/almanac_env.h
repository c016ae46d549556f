// Loads the planetary data file of the build tree once for the almanac tests.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/mFiles.h"
#include "core/mPlanet.h"

class PlanetDataEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        const LoadStatus st = LoadPlanetData();
        ASSERT_TRUE(st.ok) << st.message;
    }
};
