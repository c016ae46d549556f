#include "log/mSessionLog.h"

#include <cmath>
#include <cstdio>

#include "core/mMath.h"
#include "core/mTextForms.h"

LoggedFix MakeLoggedSession(const NavigationStateRecord& working, const SessionFix& fix, const std::string& version) {
    LoggedFix f;
    f.Working = working;
    f.Working.StateLoaded = false;
    f.UT = fix.Conditions.FixUT;
    f.ZoneTime = f.UT + static_cast<double>(working.TZ) / 24.0;
    f.Working.LocalDate = f.ZoneTime;
    f.DRLat = fix.Conditions.DRLat;
    f.DRLon = fix.Conditions.DRLon;
    f.FixLat = fix.FixLat;
    f.FixLon = fix.FixLon;
    const SessionSolution& s = fix.Solution;
    f.EllipseA = s.Geometric.A;
    f.EllipseB = s.Geometric.B;
    f.EllipseAlpha = s.Geometric.Azimuth;
    const double dLat = f.FixLat - f.DRLat;
    const double dEast = std::remainder(f.FixLon - f.DRLon, 360.0) * CosD(0.5 * (f.FixLat + f.DRLat));
    f.DistanceFromDR = 60.0 * std::hypot(dLat, dEast);
    f.CourseFromDR = f.DistanceFromDR > 0.0 ? Norm360(RadToDeg(std::atan2(dEast, dLat))) : 0.0;
    f.Version = version;
    char note[160];
    if (s.HasRegion)
        std::snprintf(note, sizeof note, "Session of %d sights; 95%% region %.2f' x %.2f' at %.1f deg, sight error %.2f'",
                      s.ShotsUsed, s.Region95.A, s.Region95.B, s.Region95.Azimuth, s.Sigma);
    else
        std::snprintf(note, sizeof note, "Session of %d sights", s.ShotsUsed);
    f.Note = note;
    for (size_t i = 0; i < fix.Sights.size(); ++i) {
        const SessionSight& x = fix.Sights[i];
        LoggedSight l;
        l.Line = SightNumber(x, i);
        l.Body = x.Body;
        l.BodyName = BodyNameOfCode(x.Body);
        const CalendarDate d = DateToParts(x.UT + 0.5 / 86400.0);
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", d.hour, d.minute, static_cast<int>(std::floor(d.second)));
        l.TimeText = text;
        const DegMin hs = SplitDegMin(x.Hs, 1);
        std::snprintf(text, sizeof text, "%02ld-%04.1f", hs.degrees, hs.minutes);
        l.AltitudeText = text;
        l.LowerLimb = HasLimb(x.Body) && x.LowerLimb;  // a star or a planet has no limb
        l.UT = x.UT;
        l.Hs = x.Hs;
        SetWorkings(l, fix.LinePosDR[i], fix.ReducedDR[i]);
        if (fix.ShotLine[i] >= 0) l.Residual = fix.ShotResidual[i];
        f.Sights.push_back(l);
    }
    return f;
}

bool IsLoggedSession(const LoggedFix& fix) {
    if (fix.Sights.size() > 4) return true;
    for (const LoggedSight& s : fix.Sights)
        if (s.Line > 4) return true;
    return false;
}

std::vector<SessionSight> SessionSightsOf(const LoggedFix& fix) {
    std::vector<SessionSight> out;
    for (const LoggedSight& l : fix.Sights) {
        SessionSight s;
        s.Body = l.Body;
        s.UT = l.UT;
        s.Hs = l.Hs;
        s.LowerLimb = l.LowerLimb || !HasLimb(l.Body);  // the rows' default for a body without a limb
        s.Use = !std::isnan(l.Residual);
        s.Number = l.Line;
        out.push_back(s);
    }
    return out;
}
