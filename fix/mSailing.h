// Dead reckoning: a position run along a course.
#pragma once

// A position on the Earth.
struct LatLon {
    double Lat = 0.0;  // degrees, north positive
    double Lon = 0.0;  // degrees, east positive
};

// Given: lat, lon, the start, degrees (north, east positive); course, degrees true;
// distanceNm, nautical miles (negative runs back along the course).
// Returned: the end of the run on the rhumb line (Mercator sailing: the longitude
// from the difference of meridional parts, the parallel sailing's cos lat on an
// east-west course), not normalised: the caller folds a latitude beyond a pole and
// the longitude. Exact on the sphere of the nautical mile. A run that starts or ends
// within a degree of a pole, where no rhumb line is defined, spreads the departure
// over the start's meridian (cos of the start latitude).
LatLon RunAlongCourse(double lat, double lon, double course, double distanceNm);
