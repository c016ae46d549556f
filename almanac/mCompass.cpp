#include "almanac/mCompass.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "core/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "reduction/mAltAz.h"
#include "riseset/mRiseSet.h"

std::vector<CompassItem> CompassBodyList() {
    std::vector<CompassItem> items;
    for (int i = 1; i <= kStarCount; ++i) {
        if (Stars[static_cast<size_t>(i)].MaeNumber >= 1) items.push_back({StarName(i), Stars[static_cast<size_t>(i)].Number});
    }
    const auto& names = BodyNames();
    for (size_t k = 0; k < names.size(); ++k) items.push_back({"Planet: " + names[k], -static_cast<int>(k)});
    return items;
}

int BodyIdFromListIndex(int k) { return BodyIdOfListIndex(k); }

CompassPlace CompassItemPlace(double jd, int value, double lat, double lon, const Horizon& horizon) {
    const int body = value >= 1 ? -1 : value >= -8 ? BodyIdFromListIndex(-value) : -1;
    const Coord3 place = value >= 1 ? StarPosition(jd, value) : BodyPosition(jd, body);
    const Coord3 hz = AltAzimuth(jd, place, lat, lon);
    CompassPlace p;
    p.Azimuth = Norm360(hz.x);
    p.Altitude = hz.y;
    const double base = value >= 1 ? kPlanetBaseThresholdDeg : BaseThreshold(body);  // a star: refraction only
    p.AboveHorizon = hz.y > ThresholdAltitude(base, horizon);
    return p;
}

double CompassItemAzimuth(double jd, int value, double lat, double lon) {
    // A value below -8 names no body (and -INT_MIN has no int).
    const Coord3 place = value >= 1    ? StarPosition(jd, value)
                         : value >= -8 ? BodyPosition(jd, BodyIdFromListIndex(-value))
                                       : BodyPosition(jd, -1);
    return Norm360(AltAzimuth(jd, place, lat, lon).x);
}

SunBearingEvent SunRiseSetAzimuth(DateValue start, double lat, double lon, bool rise, const Horizon& horizon) {
    const RiseSetResult r = RiseSetTimes(start, lat, lon, 0, false, horizon);
    SunBearingEvent e;
    if (rise ? r.HasRise() : r.HasSet()) {
        e.Found = true;
        e.Time = rise ? r.Rise : r.Set;
        const double jd = JulianDay(e.Time, false, false);
        e.Azimuth = Norm360(AltAzimuth(jd, BodyPosition(jd, 0), lat, lon).x);
    } else if (r.NoCrossing()) {
        e.Marker = r.Rise > 0.0 ? 1 : (r.Rise < 0.0 ? -1 : 0);
    }
    return e;
}

// The words stand in the time box and the azimuth label, which are as wide as
// "00:00:00" and "000.0": short enough to be read whole there.
std::string SunEventTimeWords(const SunBearingEvent&, bool rise) { return rise ? "No Rise" : "No Set"; }

std::string SunEventAzimuthWords(const SunBearingEvent& e, bool rise) {
    if (e.Marker > 0) return "Up 24 h";
    if (e.Marker < 0) return "Down 24 h";
    return rise ? "No sunrise" : "No sunset";
}

bool ParseTimeOfDay(const std::string& text, double& dayFraction) {
    int h = 0, m = 0, s = 0;
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    h = (text[0] - '0') * 10 + (text[1] - '0');
    m = (text[3] - '0') * 10 + (text[4] - '0');
    s = (text[6] - '0') * 10 + (text[7] - '0');
    if (h > 23 || m > 59 || s > 59) return false;
    dayFraction = (h * 3600.0 + m * 60.0 + s) / 86400.0;
    return true;
}

DateValue BearingInstant(DateValue localDate, double tz, double dayFraction) {
    return DateWholeDays(localDate - tz / 24.0) + dayFraction;
}

double LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (std::isdigit(static_cast<unsigned char>(ch))) { number += ch; digits = true; }
        else if (ch == '.' && !point) { number += ch; point = true; }
        else break;
    }
    if (!digits) return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

float CompassCorrection(double azimuth, double bearing) {
    if (!(std::fabs(azimuth) <= FLT_MAX && std::fabs(bearing) <= FLT_MAX)) return std::nanf("");
    float c = static_cast<float>(azimuth) - static_cast<float>(bearing);
    if (std::fabs(c) > 180.0f) c -= std::copysign(360.0f, c);
    return c;
}

std::string FormatCorrection(float c) {
    if (!std::isfinite(c)) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%05.1f", static_cast<double>(std::fabs(c)));
    const std::string digits = buf;
    if (digits == "000.0") return digits;  // a value that rounds to zero shows no sign
    return (c > 0.0f ? "+" : "-") + digits;
}

std::string FormatAzimuth(double azimuth) {
    if (!std::isfinite(azimuth)) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%05.1f", azimuth);
    std::string text = buf;
    if (text == "360.0") text = "000.0";  // 359.95 and above round to north
    return text;
}
