#include "fix/mCalcPosition.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "core/mStar.h"
#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mFault.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mTextForms.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"

namespace {

// A determinant below this fraction of the squared trace of the normal matrix is
// rounding noise: the lines cross at less than about 0.4" and do not fix a point.
constexpr double kSingularRelative = 1e-12;
// Semi-axes that agree to this fraction of the trace are equal: no direction.
constexpr double kEqualAxesRelative = 1e-9;
constexpr int kMaxBodyDisplayIndex = 8;  // the Moon
// 90 degrees of arc, in arc minutes: the farthest a sight's circle of position
// can pass from the position it was reduced from.
constexpr double kReachArcmin = 5400.0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return s.substr(a, b - a);
}

// Reads 1 or 2 digits at pos; false when there are none or more than two.
bool ReadSmallNumber(const std::string& s, size_t& pos, int& value) {
    size_t start = pos;
    value = 0;
    while (pos < s.size() && IsDigit(s[pos])) {
        if (pos - start < 2) value = value * 10 + (s[pos] - '0');  // more digits are refused below
        ++pos;
    }
    const size_t n = pos - start;
    return n >= 1 && n <= 2;
}

std::string LineName(int i) { return "Line No. " + std::to_string(i + 1) + ": "; }

// The box of a line not in use still shows what the window put there at load
// (or nothing): no time and no altitude was typed.
bool LeftAtStart(const std::string& time, const std::string& altitude) {
    double t = 0.0, h = 0.0;
    const bool timeUntouched = time.empty() || (ParseTimeOfDay(time, t) && t == 0.0);
    const bool altitudeUntouched = altitude.empty() || (ParseSightAltitude(altitude, h) && h == 0.0);
    return timeUntouched && altitudeUntouched;
}

const char* const kNoAltitude = "no sextant altitude is typed (00-00.0).";

// A line that cannot be reduced: its text does not convert, or its reduction
// meets an arithmetic fault. The text names the line ("Line No. 2: ...").
class SightLineError : public std::runtime_error {
public:
    explicit SightLineError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace

bool ParseSightAltitude(const std::string& text, double& degrees) {
    const std::string s = Trim(text);
    size_t pos = 0;
    int deg = 0;
    if (!ReadSmallNumber(s, pos, deg)) return false;
    if (pos >= s.size() || IsDigit(s[pos])) return false;
    ++pos;  // the separator between degrees and minutes
    double minutes = 0.0;
    int digits = 0;
    while (pos < s.size() && IsDigit(s[pos])) {
        minutes = minutes * 10.0 + (s[pos] - '0');
        ++digits;
        ++pos;
    }
    if (pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
        ++pos;
        double scale = 0.1;
        while (pos < s.size() && IsDigit(s[pos])) {
            minutes += (s[pos] - '0') * scale;
            scale /= 10.0;
            ++digits;
            ++pos;
        }
    }
    if (digits == 0 || pos != s.size()) return false;
    if (minutes >= 60.0) return false;
    const double value = deg + minutes / 60.0;
    if (value > 90.0) return false;
    degrees = value;
    return true;
}

void NormalSums::Add(double azimuthDeg, double intercept, double weight) {
    const double c = CosD(azimuthDeg), s = SinD(azimuthDeg);
    Scc += weight * c * c;
    Scs += weight * c * s;
    Sss += weight * s * s;
    Scp += weight * c * intercept;
    Ssp += weight * s * intercept;
}

void SolveFix(const NormalSums& sums, FixResult& fix) {
    std::string failure;
    const double trace = sums.Scc + sums.Sss;
    const double G = sums.Scc * sums.Sss - sums.Scs * sums.Scs;
    const bool singular = !(G > kSingularRelative * trace * trace);

    // Fix position: the DR position unless the solution step succeeds.
    fix.FixLat = fix.DRLat;
    fix.FixLon = fix.DRLon;
    double dN = 0.0, dE = 0.0;
    if (singular) {
        failure = std::string(kFaultDivisionByZero) +
                  " (the lines of position do not cross: their azimuths are equal or opposite)";
    } else {
        const double n = (sums.Sss * sums.Scp - sums.Scs * sums.Ssp) / G;
        const double e = (sums.Scc * sums.Ssp - sums.Scs * sums.Scp) / G;
        if (std::isfinite(n) && std::isfinite(e)) {
            dN = n;
            dE = e;
        } else {
            failure = kFaultOverflow;
        }
    }
    const double lat = fix.DRLat + dN / 60.0;
    const double cosLat = CosD(fix.DRLat);
    if (dE != 0.0 && cosLat == 0.0) {
        failure = kFaultDivisionByZero;
        fix.FixLat = lat;
    } else {
        const double lon = fix.DRLon + (dE / 60.0) / cosLat;
        if (std::isfinite(lat) && std::isfinite(lon)) {
            const LatLon p = OverThePole(lat, lon);
            fix.FixLat = p.Lat;
            fix.FixLon = p.Lon;
        } else {
            failure = kFaultOverflow;
        }
    }

    // Error ellipse: eigenvalues (trace +- S)/2 of the normal matrix.
    const double d = sums.Scc - sums.Sss;
    const double S = std::sqrt(d * d + 4.0 * sums.Scs * sums.Scs);
    if (singular) {
        failure = std::string(kFaultDivisionByZero) +
                  " (the lines of position do not cross: their azimuths are equal or opposite)";
    } else {
        const double a2 = (trace + S) / (2.0 * G);  // 1 / smallest eigenvalue
        const double b2 = 2.0 / (trace + S);        // 1 / largest eigenvalue
        if (!(a2 >= 0.0) || !(b2 >= 0.0)) {
            failure = kFaultInvalidCall;
        } else {
            const double a = std::sqrt(a2), b = std::sqrt(b2);
            if (a <= FLT_MAX && b <= FLT_MAX) {
                fix.EllipseA = static_cast<float>(a);
                fix.EllipseB = static_cast<float>(b);
            } else {
                failure = kFaultOverflow;
            }
        }
    }
    // A sight's circle of position lies within 90 degrees of the dead reckoning
    // position: a solution farther off, or one that an error of 1' could carry
    // that far, comes from lines that hardly cross and is no fix.
    if (failure.empty()) {
        const double shift = std::hypot(dN, dE);
        if (shift > kReachArcmin) {
            failure = "The fix would lie more than 90 degrees from the dead reckoning position, beyond the "
                      "reach of any sight: the lines of position hardly cross.";
        } else if (fix.EllipseA > kReachArcmin) {
            failure = "The lines of position cross at too small an angle: an error of 1' in an intercept "
                      "would move the fix more than 90 degrees.";
        }
        if (!failure.empty()) {
            fix.FixLat = fix.DRLat;
            fix.FixLon = fix.DRLon;
            fix.EllipseA = fix.EllipseB = 0.0f;
        }
    }
    double alpha = 0.0;
    if (S > kEqualAxesRelative * trace) {
        // theta: direction of the largest eigenvalue (best determined); the major axis is across it.
        const double theta = 0.5 * RadToDeg(std::atan2(2.0 * sums.Scs, d));
        alpha = std::fmod(theta + 90.0 + 360.0, 180.0);
    }
    float alphaF = static_cast<float>(alpha);
    if (alphaF >= 180.0f) alphaF = 0.0f;
    fix.EllipseAlpha = alphaF;
    fix.Refusal = failure;
}

std::string BodyNameOfCode(BodyCode code) {
    if (!LineInUse(code)) return std::string();
    if (IsStarCode(code)) return StarName(StarIndex(code));
    const std::vector<std::string>& names = BodyNames();
    const size_t k = static_cast<size_t>(-code);
    return k < names.size() ? names[k] : std::string();
}

double SightReduction::PresetHs() const { return Preset; }

namespace {

// The instant of a sight: everything of its place but the body's coordinates.
SightPlace InstantOfSight(BodyCode code, DateValue ut) {
    SightPlace p;
    p.Code = code;
    p.Jd = JulianDay(ut, false, false);
    p.U = p.Jd - DeltaT(p.Jd);
    p.FrameU = FrameAt(p.U);
    return p;
}

}  // namespace

SightPlace PlaceOfSight(BodyCode code, DateValue ut) {
    SightPlace p = InstantOfSight(code, ut);
    p.Equ = IsStarCode(code) ? StarPosition(p.Jd, code) : BodyPosition(p.Jd, BodyIdOfCode(code));
    return p;
}

SightPlace PlaceOfStarSight(BodyCode code, DateValue ut, const StarFrame& frame) {
    SightPlace p = InstantOfSight(code, ut);
    if (const int i = StarIndex(code); i > 0) p.Equ = StarPlaceAt(frame, Stars[static_cast<size_t>(i)]);
    return p;
}

SightReduction ReduceSightAt(const SightPlace& place, double hs, bool lowerLimb, double lat, double lon,
                             const NavigationStateRecord& working) {
    SightReduction r;
    const BodyCode code = place.Code;
    const bool star = IsStarCode(code);
    const int id = star ? -1 : BodyIdOfCode(code);
    const Coord3& equ = place.Equ;
    const double lst = SiderealTimeAt(place.U, place.FrameU, lon);
    const Coord3 hz = AltAzimuthAt(lst, equ, lat);
    r.GhaAries = Norm360(SiderealTimeAt(place.U, place.FrameU, 0.0));
    if (star) {
        r.Tau = Norm360(360.0 - equ.x);
        r.Gha = Norm360(r.GhaAries + r.Tau);
    } else {
        r.Gha = Norm360(r.GhaAries - equ.x);
    }
    r.Lha = Norm180(lst - equ.x);
    r.Hs = hs;
    r.IndexCorr = working.i_s;
    r.Az = hz.x;
    r.Hc = hz.y;
    r.Dec = equ.y;
    r.Distance = equ.z;
    const Horizon horizon = HorizonOf(working);
    const AltitudeCorrections k = CorrectSextantAltitude(hs, working.i_s, horizon, id, hz.z, lowerLimb);
    r.Dip = k.Dip;
    r.H = k.H;
    r.Refr = k.Refr;
    r.TP = k.TP;
    r.Parallax = k.Parallax;
    r.SemiD = k.SemiD;
    r.Ho = k.Ho;
    r.Intercept = 60.0 * (k.Ho - r.Hc);
    r.Preset = SextantAltitudeFor(r.Hc, horizon, id, hz.z, lowerLimb) - working.i_s / 60.0;
    return r;
}

SightReduction ReduceSight(BodyCode code, DateValue ut, double hs, bool lowerLimb, double lat, double lon,
                           const NavigationStateRecord& working) {
    return ReduceSightAt(PlaceOfSight(code, ut), hs, lowerLimb, lat, lon, working);
}

namespace {

// One pass: every line reduced from the assumed position (apLat, apLon) at the fix
// time, moved back along the course to each sight's instant, and solved about it.
FixResult FixPass(const SightLines& lines, const NavigationStateRecord& nav, double apLat, double apLon) {
    FixResult fix;
    const DateValue utNow = nav.LocalDate - nav.TZ / 24.0;
    const DateValue utDate = DateWholeDays(utNow);
    NormalSums sums;

    for (int i = 0; i < 4; ++i) {
        const BodyCode code = lines.Body[i];
        if (!LineInUse(code)) continue;
        const std::string where = LineName(i);
        double timeOfDay = 0.0, hs = 0.0;
        if (!ParseTimeOfDay(lines.Time[i], timeOfDay))
            throw SightLineError(where + "the time \"" + lines.Time[i] + "\" is not a UT time of day (hh:mm:ss).");
        if (!ParseSightAltitude(lines.Altitude[i], hs))
            throw SightLineError(where + "the altitude \"" + lines.Altitude[i] +
                                 "\" is not a sextant altitude (dd-mm.m, up to 90 degrees).");
        if (hs == 0.0) throw SightLineError(where + kNoAltitude);
        if (IsStarCode(code)) {
            if (StarIndex(code) == 0)
                throw SightLineError(where + "star number " + std::to_string(code) + " is not in the catalogue.");
        } else if (-code > kMaxBodyDisplayIndex) {
            throw SightLineError(where + "no body has the code " + std::to_string(code) + ".");
        }
        try {
            // The sight's UT date is the fix's, unless that puts it more than 12 hours
            // from the fix: sights taken before 0h UT for a fix after it (or the other way
            // round) belong to the neighbouring date. A running fix would otherwise carry
            // such a sight almost a whole day's run along the course.
            fix.LineTime[i] = utDate + timeOfDay;
            if (fix.LineTime[i] - utNow > 0.5) fix.LineTime[i] -= 1.0;
            if (utNow - fix.LineTime[i] > 0.5) fix.LineTime[i] += 1.0;
            fix.Hs[i] = hs;
            // The assumed position at the sight's instant: back along the course by the
            // run from the sight to the fix, on the rhumb line.
            const double dtHours = (utNow - fix.LineTime[i]) * 24.0;
            fix.LinePos[i] = RunAlongCourse(LatLon{apLat, apLon}, nav.Course, -nav.Speed * dtHours);

            const SightReduction r = ReduceSight(code, fix.LineTime[i], hs, lines.LowerLimb[i], fix.LinePos[i].Lat,
                                                 fix.LinePos[i].Lon, nav);
            fix.Reduction[i] = r;
            fix.Az[i] = r.Az;
            fix.Hc[i] = r.Hc;
            if (!std::isfinite(r.Intercept) || !std::isfinite(fix.Az[i]))
                throw SightLineError(where + "its reduction gives no finite intercept.");
            fix.Intercept[i] = r.Intercept;
            fix.Weight[i] = 1.0;
            sums.Add(fix.Az[i], r.Intercept, fix.Weight[i]);
        } catch (const ArithmeticFault& fault) {
            throw SightLineError(where + fault.what());
        }
    }

    fix.FixTime = nav.LocalDate;
    fix.DRLat = apLat;
    fix.DRLon = apLon;
    SolveFix(sums, fix);
    return fix;
}

}  // namespace

namespace {

// What is left of each line of a pass at the pass's fix: its intercept less the
// pass's shift projected on its azimuth, arc minutes.
void SetResiduals(FixResult& pass) {
    const double dN = (pass.FixLat - pass.DRLat) * 60.0;
    const double dE = Norm180(pass.FixLon - pass.DRLon) * 60.0 * CosD(pass.DRLat);
    for (size_t i = 0; i < 4; ++i)
        if (pass.Weight[i] > 0.0)
            pass.Residual[i] = pass.Intercept[i] - (dN * CosD(pass.Az[i]) + dE * SinD(pass.Az[i]));
}

FixResult Passes(const SightLines& lines, const NavigationStateRecord& nav, int maxPasses) {
    const int passes = maxPasses < 1 ? 1 : (maxPasses > kMaxFixPasses ? kMaxFixPasses : maxPasses);
    std::array<double, kMaxFixPasses> shifts{};
    double apLat = nav.Lat, apLon = nav.Lon;
    FixResult fromDR, fix;
    for (int k = 0; k < passes; ++k) {
        fix = FixPass(lines, nav, apLat, apLon);
        if (k == 0) fromDR = fix;
        shifts[static_cast<size_t>(k)] = FixCourseDistance(fix).Dist;  // from this pass's assumed position
        fix.Passes = k + 1;
        fix.APLat = apLat;
        fix.APLon = apLon;
        // Sights that fit one position converge at once (60', 0.2', 0.00001'); a pass that
        // fails or moves the fix farther than the one before means they fit none.
        const std::string notConverging = "the iterated fix does not converge: the lines of position do not meet "
                                          "near one point (untick Iterate for the one-pass fix); pass " +
                                          std::to_string(k + 1);
        if (k > 0 && fix.Refused()) {
            fix.Refusal = notConverging + ": " + fix.Refusal;
            break;
        }
        if (k > 0 && shifts[static_cast<size_t>(k)] > shifts[static_cast<size_t>(k - 1)]) {
            char moved[64];
            std::snprintf(moved, sizeof moved, " moved it %.1f' after %.1f'.", shifts[static_cast<size_t>(k)],
                          shifts[static_cast<size_t>(k - 1)]);
            fix.Refusal = notConverging + moved;
            break;
        }
        if (fix.Refused() || shifts[static_cast<size_t>(k)] < kFixConvergedNm) break;
        apLat = fix.FixLat;
        apLon = fix.FixLon;
    }
    SetResiduals(fix);
    // The record: the lines from the DR (the navigator's workings), the solution
    // and the residuals of the last pass.
    FixResult out = fromDR;
    out.Residual = fix.Residual;
    out.FixLat = fix.FixLat;
    out.FixLon = fix.FixLon;
    out.EllipseA = fix.EllipseA;
    out.EllipseB = fix.EllipseB;
    out.EllipseAlpha = fix.EllipseAlpha;
    out.Refusal = fix.Refusal;
    out.Passes = fix.Passes;
    out.APLat = fix.APLat;
    out.APLon = fix.APLon;
    out.PassShift = {};
    for (size_t k = 0; k < shifts.size(); ++k) out.PassShift[k] = shifts[k];
    out.DRLat = nav.Lat;
    out.DRLon = nav.Lon;
    return out;
}

}  // namespace

FixResult CalcPosition(const SightLines& lines, const NavigationStateRecord& working, int maxPasses) {
    FixResult fix;
    try {
        fix = Passes(lines, working, maxPasses);
    } catch (const SightLineError& e) {
        fix = FixResult();
        fix.Refusal = e.what();
    } catch (const ArithmeticFault& e) {
        fix = FixResult();
        fix.Refusal = e.what();
    }
    fix.Working = working;
    fix.Working.StateLoaded = false;
    fix.FixTime = working.LocalDate;
    for (size_t i = 0; i < 4; ++i) {
        if (!LineInUse(lines.Body[i])) continue;
        fix.Lines.Body[i] = lines.Body[i];
        fix.Lines.Time[i] = lines.Time[i];
        fix.Lines.Altitude[i] = lines.Altitude[i];
        fix.Lines.LowerLimb[i] = HasLimb(lines.Body[i]) && lines.LowerLimb[i];
    }
    if (fix.Passes == 0) {  // refused before a solution: no position
        fix.FixLat = fix.DRLat = working.Lat;
        fix.FixLon = fix.DRLon = working.Lon;
    }
    fix.FromDR = FixCourseDistance(fix);
    return fix;
}

FixResult CalculatePositionCommand(const SightLines& lines, const NavigationStateRecord& working, bool iterate) {
    const auto refuse = [&working](const std::string& why) {
        FixResult fix;
        fix.Working = working;
        fix.Working.StateLoaded = false;
        fix.FixTime = working.LocalDate;
        fix.Refusal = why;
        return fix;
    };
    // A line with a sight typed but no body, or a body but no altitude, is named
    // before anything is counted or computed.
    for (int i = 0; i < 4; ++i) {
        double hs = 0.0;
        if (!LineInUse(lines.Body[i])) {
            if (!LeftAtStart(lines.Time[i], lines.Altitude[i]))
                return refuse(LineName(i) + "a time or an altitude is typed but no body is chosen.");
        } else if (ParseSightAltitude(lines.Altitude[i], hs) && hs == 0.0) {
            return refuse(LineName(i) + kNoAltitude);
        }
    }
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (LineInUse(lines.Body[i])) ++count;
    if (count <= 1) return refuse(kInsufficientLines);
    return CalcPosition(lines, working, iterate ? kMaxFixPasses : 1);
}

std::string CalcErrorText(const FixResult& fix) { return std::string(kCalcErrorHead) + "\r\n" + fix.Refusal; }

std::vector<int> LargeInterceptLines(const FixResult& fix) {
    std::vector<int> out;
    for (int i = 0; i < 4; ++i) {
        const size_t n = static_cast<size_t>(i);
        if (fix.Weight[n] > 0.0 && !(std::fabs(fix.Intercept[n]) <= kLargeInterceptArcmin)) out.push_back(i);
    }
    return out;
}

CourseDistance FixCourseDistance(const FixResult& fix) {
    CourseDistance cd;
    const double dLat = fix.FixLat - fix.DRLat;
    const double m = CosD(fix.DRLat / 2.0 + fix.FixLat / 2.0);
    const double dEast = Norm180(fix.FixLon - fix.DRLon) * m;
    cd.Dist = 60.0 * std::sqrt(dLat * dLat + dEast * dEast);
    // A true course, 000.0 to 359.9 (a course just short of north that rounds
    // to 360.0 reads 000.0).
    cd.C = Norm360(RadToDeg(Atan2(dEast, dLat)));
    if (cd.C >= 359.95) cd.C = 0.0;
    return cd;
}
