#include "reduction/mCorrection.h"

#include <cmath>

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

double RefractionTP(double r, double tempC, double pressureMb) {
    return r * ((283.0 / (273.0 + tempC)) * (pressureMb / 1010.0) - 1.0);
}

double Dip(double height) {
    if (!(height >= 0.0)) throw ArithmeticFault(kFaultInvalidCall);
    return 1.766 * std::sqrt(height) / 60.0;
}

namespace {
constexpr int kBodySunId = 0, kBodyEarthId = 3, kBodyMoonId = 9;

// sin HP: the Earth's equatorial radius over the distance; beyond 1 the arcsine faults.
double SinHP(double distance) {
    const double x = kEarthRadiusKm / (distance * kKmPerAU);
    ArcSin(x);  // a distance below one Earth radius is an invalid operation
    return x;
}
}  // namespace

double Parallax(double distance, double h) { return RadToDeg(ArcSin(SinHP(distance) * CosD(h))); }

AltitudeCorrections CorrectSextantAltitude(double hs, double indexArcmin, const Horizon& horizon, int body,
                                           double distance, bool lowerLimb) {
    AltitudeCorrections c;
    const double dip = Dip(horizon.HeightOfEye);
    c.Dip = dip;
    c.H = hs + indexArcmin / 60.0 - dip;
    c.Refr = Refraction(c.H);
    c.TP = RefractionTP(c.Refr, horizon.TempC, horizon.PressureMb);
    const double limb = c.H - c.Refr - c.TP;  // topocentric airless altitude of what was observed
    if (body < 0 || body > 9 || body == kBodyEarthId) {
        c.Ho = limb;
        return c;
    }
    const double sinHP = SinHP(distance);
    if (body == kBodySunId || body == kBodyMoonId) {
        double sd = SemiDiameter(body, distance);
        if (body == kBodyMoonId) sd *= 1.0 + sinHP * SinD(limb + (lowerLimb ? sd : -sd));
        c.SemiD = lowerLimb ? sd : -sd;
    }
    c.Parallax = Parallax(distance, limb + c.SemiD);
    c.Ho = limb + c.SemiD + c.Parallax;
    return c;
}

double SextantAltitudeFor(double ho, const Horizon& horizon, int body, double distance, bool lowerLimb) {
    double hs = ho;
    for (int i = 0; i < 8; ++i) {
        const double step = ho - CorrectSextantAltitude(hs, 0.0, horizon, body, distance, lowerLimb).Ho;
        hs += step;
        if (std::fabs(step) < 1e-10) break;
    }
    return hs;
}

double SemiDiameter(int body, double distance) {
    // Diameters in km by BodyId; the Earth (3) has none.
    static constexpr double kDiameterKm[] = {1392000.0, 4879.0, 12104.0, 0.0,     6794.0,
                                             142980.0,  120540.0, 51120.0, 49530.0, 3475.0};
    if (body < 0 || body > 9 || body == 3) return 0.0;
    return RadToDeg(kDiameterKm[body] / (distance * kKmPerAU)) / 2.0;
}
