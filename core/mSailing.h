// Dead reckoning: a position run along a course, the one sailing of the program
// (the fix's assumed positions, the plans' positions ahead).
#pragma once

struct LatLon {
    double Lat = 0.0;  // degrees, north positive
    double Lon = 0.0;  // degrees, east positive
};

// Given: lat, lon, degrees, of any size.
// Returned: the same place with the latitude in [-90, 90] and the longitude in
// (-180, 180]: a latitude run past a pole comes back down the far meridian (a
// latitude of any size is first taken round the whole meridian circle).
LatLon OverThePole(double lat, double lon);

// Given: from, the start, degrees (north, east positive); course, degrees true;
// distanceNm, nautical miles (negative runs back along the course).
// Returned: the end of the run on the rhumb line (Mercator sailing: the longitude
// from the difference of meridional parts, the parallel sailing's cos lat on an
// east-west course), folded by OverThePole. Exact on the sphere of the nautical
// mile. A run that starts or ends within a degree of a pole, where no rhumb line is
// defined, spreads the departure over the start's meridian (cos of the start latitude).
LatLon RunAlongCourse(const LatLon& from, double course, double distanceNm);
