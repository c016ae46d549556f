// The printed pages' table of lunar distances: for a UT day, the geocentric distances of
// the Moon's centre from the Sun, the planets and the navigational stars every three
// hours, as the old almanacs tabulated them. Plain C++.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "core/mTime.h"

// One body's line: its distances (degrees, geocentric, centre to centre) at 0, 3, ..., 21 h
// UT; shown[k] is false where the distance is outside 15-120 degrees (printed blank).
struct LunarTableRow {
    std::string name;
    std::array<double, 8> distance{};
    std::array<bool, 8> shown{};
};

// Given: day, a UT date (its fraction is dropped).
// Returned: the Sun, Venus, Mars, Jupiter, Saturn (in that order), then the navigational
// stars by name, that are 15-120 degrees from the Moon at one of the eight hours at least.
// Accuracy that of GeocentricLunarDistance (0.01' against the Swiss Ephemeris).
std::vector<LunarTableRow> LunarTableRows(DateValue day);

// A distance in degrees as the table prints it: degrees, a space, minutes to 0.1' ("45 07.3").
std::string LunarTableText(double deg);
