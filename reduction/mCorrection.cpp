#include "reduction/mCorrection.h"

#include <cmath>

#include "app/mPublicVars.h"
#include "core/mFault.h"
#include "core/mMath.h"

double Refraction(double h) {
    if (h < -0.575) return -20.774 / TanD(h) / 3600.0;
    if (h <= 5.0) {
        const double arcsec = 1735.0 - 518.2 * h + 103.4 * h * h - 12.79 * h * h * h + 0.711 * h * h * h * h;
        return arcsec / 3600.0;
    }
    if (h <= 15.0) {
        const double t = TanD(h);
        return (58.1 / t - 0.07 / (t * t * t) + 0.000086 / (t * t * t * t * t)) / 3600.0;
    }
    const double cot = TanD(90.0 - h);
    return (0.9716 * cot - 0.0011 * cot * cot * cot) / 60.0;
}

double RefractionTP(double r) {
    const double t = NavigationState.Temp;
    const double p = NavigationState.Pressure;
    return r * ((283.0 / (273.0 + t)) * (p / 1010.0) - 1.0);
}

double Dip(double height) {
    if (!(height >= 0.0)) throw ArithmeticFault(kFaultInvalidCall);
    return 1.766 * std::sqrt(height) / 60.0;
}

double Parallax(double distance, double h) {
    const double hp = RadToDeg(ArcSin(kEarthRadiusKm / (distance * kKmPerAU)));
    return hp * CosD(h);
}

double SemiDiameter(int body, double distance) {
    // Diameters in km by BodyId; the Earth (3) has none.
    static constexpr double kDiameterKm[] = {1392000.0, 4879.0, 12104.0, 0.0,     6794.0,
                                             142980.0,  120540.0, 51120.0, 49530.0, 3475.0};
    if (body < 0 || body > 9 || body == 3) return 0.0;
    return RadToDeg(kDiameterKm[body] / (distance * kKmPerAU)) / 2.0;
}
