#include "map/mStarMap.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/mStar.h"
#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"

std::vector<MapMark> StarMarks(double jd, double lat, double lon, StarChoice choice, double magnitudeLimit) {
    std::vector<MapMark> marks;
    // One frame and one sidereal time for every star of the instant.
    const StarFrame frame = StarFrameAt(jd);
    const double lst = SiderealTime(jd, lon);
    // The first record of each number (StarIndex's answer), met in ascending order.
    std::unordered_map<int, int> firstOf;
    for (int s = 1; s <= kStarCount; ++s) {
        const StarRecord& star = Stars[static_cast<size_t>(s)];
        firstOf.emplace(star.Number, s);
        if (star.Number <= 0) continue;  // a record the file did not reach
        bool chosen = false;
        switch (choice) {
            case StarChoice::NavStars: chosen = star.NavNumber > 0; break;
            case StarChoice::MaeStars: chosen = star.MaeNumber > 0; break;
            case StarChoice::Magnitude: chosen = magnitudeLimit > star.Magnitude; break;
        }
        if (!chosen) continue;
        // A number held twice reduces the first record holding it, as StarPosition does.
        const int first = firstOf[star.Number];
        const Coord3 hz = AltAzimuthAt(lst, StarPlaceAt(frame, Stars[static_cast<size_t>(first)]), lat);
        if (!(hz.y > 0.0)) continue;
        MapMark m;
        m.IsStar = true;
        m.Tag = s;
        m.Code = star.Number;
        m.Name = StarName(s);
        m.Alt = hz.y;
        m.Az = hz.x;
        marks.push_back(m);
    }
    return marks;
}

std::vector<MapMark> BodyMarks(double jd, double lat, double lon) {
    std::vector<MapMark> marks;
    const std::vector<std::string>& names = BodyNames();
    const EphemerisInstant at(jd);  // the Earth and the nutation once for the nine bodies
    const double lst = SiderealTime(jd, lon);
    for (int k = 0; k <= 8; ++k) {
        const Coord3 hz = AltAzimuthAt(lst, BodyPosition(at, BodyIdOfCode(-k)), lat);
        if (!(hz.y > 0.0)) continue;
        MapMark m;
        m.IsStar = false;
        m.Tag = k;
        m.Code = -k;
        m.Name = static_cast<size_t>(k) < names.size() ? names[static_cast<size_t>(k)] : std::string();
        m.Alt = hz.y;
        m.Az = hz.x;
        marks.push_back(m);
    }
    return marks;
}

std::string BodyListText(BodyCode code) {
    if (IsStarCode(code)) {
        const int s = StarIndex(code);
        return s > 0 ? StarName(s) : std::string();
    }
    const std::vector<std::string>& names = BodyNames();
    const size_t k = static_cast<size_t>(-static_cast<long>(code));
    if (!LineInUse(code) || k >= names.size() || k > 8) return std::string();
    return "Planet: " + names[k];
}

ChartPoint ChartPosition(double alt, double az, double w, double h) {
    const double r = std::nearbyint(std::min(w, h) / 2.0);
    const double k = (1.0 - alt / 90.0) * r;
    ChartPoint p;
    p.x = static_cast<int>(std::nearbyint(w / 2.0 + k * SinD(az)));
    p.y = static_cast<int>(std::nearbyint(h / 2.0 - k * CosD(az)));
    return p;
}

StarInfo ComputeStarInfo(double jd, int tableIndex, double lat, double lon, double hEye) {
    StarInfo info;
    if (tableIndex < 1 || tableIndex > kStarCount) return info;
    const StarRecord& star = Stars[static_cast<size_t>(tableIndex)];
    const Coord3 place = StarPosition(jd, star.Number);
    const Coord3 hz = AltAzimuth(jd, place, lat, lon);
    info.Magnitude = star.Magnitude;
    info.Parallax = place.z;
    info.Tau = Norm360(360.0 - place.x);
    info.Dec = place.y;
    info.Altitude = hz.y + Dip(hEye) + Refraction(hz.y);
    info.Azimuth = Norm360(hz.x);
    return info;
}

BodyInfo ComputeBodyInfo(double jd, int k, double lat, double lon, const Horizon& horizon) {
    BodyInfo info;
    const int id = BodyIdOfListIndex(k);
    const Coord3 place = BodyPosition(jd, id);  // reports a k that names no body
    if (id < 0) return info;
    const Coord3 hz = AltAzimuth(jd, place, lat, lon);
    const double sd = SemiDiameter(id, hz.z);
    info.Gha = Norm360(SiderealTime(jd, 0.0) - place.x);
    info.Dec = place.y;
    info.Altitude = SextantAltitudeFor(hz.y, horizon, id, hz.z, true);
    info.Azimuth = Norm360(hz.x);
    info.Distance = hz.z;
    info.DiameterArcmin = sd * 120.0;
    return info;
}
