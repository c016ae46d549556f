// The Earth's radius seen from a body: the horizontal parallax and the parallax in
// altitude, for the sight reduction, the rise and set of the Moon and the daily pages.
#pragma once

// Kilometres in one astronomical unit and the Earth's equatorial radius (IAU 1976).
inline constexpr double kKmPerAU = 149597870.691;
inline constexpr double kEarthRadiusKm = 6378.137;

// Given: distance, AU (Earth centre to body).
// Returned: the horizontal parallax HP = asin(6378.137 km / distance), degrees
// (spherical Earth; the Moon's equatorial HP, exact for the model).
// A distance below one Earth radius throws ArithmeticFault.
double HorizontalParallax(double distance);
// Given: distance, AU; h, the body's topocentric airless altitude, degrees.
// Returned: parallax in altitude asin(sin HP cos h), degrees. Throws as
// HorizontalParallax.
double Parallax(double distance, double h);
