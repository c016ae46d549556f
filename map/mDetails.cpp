#include "map/mDetails.h"

#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"

DetailsLine ComputeDetailsLine(const FixResult& fix, const SightLines& lines, int i) {
    DetailsLine d;
    if (i < 0 || i > 3) return d;
    const size_t n = static_cast<size_t>(i);
    const BodyCode code = lines.Body[n];
    if (!LineInUse(code)) return d;
    d.InUse = true;
    d.IsStar = IsStarCode(code);
    d.Time = fix.LineTime[n];
    const double jd = JulianDay(fix.LineTime[n], false, false);
    const LatLon pos = fix.LinePos[n];
    Coord3 place;
    if (d.IsStar) {
        d.Name = StarName(StarIndex(code));
        place = StarPosition(jd, code);
    } else {
        const std::vector<std::string>& names = BodyNames();
        const size_t k = static_cast<size_t>(-code);
        d.Name = k < names.size() ? names[k] : std::string();
        place = BodyPosition(jd, BodyIdOfCode(code));
    }
    const double aries = Norm360(SiderealTime(jd, 0.0));
    if (d.IsStar) {
        d.GhaAries = aries;
        d.Tau = Norm360(360.0 - place.x);
        d.Gha = Norm360(d.GhaAries + d.Tau);
    } else {
        d.Gha = Norm360(aries - place.x);
    }
    d.Lon = pos.Lon;
    d.Lha = Norm180(SiderealTime(jd, pos.Lon) - place.x);
    d.Dec = place.y;

    const NavigationStateRecord& nav = NavigationState;
    d.Hs = fix.Hs[n];
    d.IndexCorr = nav.i_s;
    const Coord3 hz = AltAzimuth(jd, place, pos.Lat, pos.Lon);
    const AltitudeCorrections k = CorrectSextantAltitude(d.Hs, nav.i_s, Dip(nav.hEye), d.IsStar ? -1 : BodyIdOfCode(code),
                                                         hz.z, lines.LowerLimb[n]);
    d.Dip = k.Dip;
    d.H = k.H;
    d.Refr = k.Refr;
    d.Parallax = k.Parallax;
    d.TP = k.TP;
    d.SemiD = k.SemiD;
    d.Hc = fix.Hc[n];
    d.Intercept = fix.Intercept[n];
    d.Ho = d.Intercept / 60.0 + d.Hc;
    d.Az = Norm360(fix.Az[n]);
    return d;
}
