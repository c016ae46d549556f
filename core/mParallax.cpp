#include "core/mParallax.h"

#include "core/mMath.h"

namespace {
// sin HP: the Earth's equatorial radius over the distance; beyond 1 the arcsine faults.
double SinHP(double distance) {
    const double x = kEarthRadiusKm / (distance * kKmPerAU);
    ArcSin(x);  // a distance below one Earth radius is an invalid operation
    return x;
}
}  // namespace

double HorizontalParallax(double distance) { return RadToDeg(ArcSin(SinHP(distance))); }

double Parallax(double distance, double h) { return RadToDeg(ArcSin(SinHP(distance) * CosD(h))); }
