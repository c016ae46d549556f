#include "map/mDetailsReport.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "core/mMath.h"
#include "fix/mSessionReport.h"
#include "ui/mConvertion.h"

QString DetailsHeaderText(const FixResult& fix) {
    if (fix.FixTime == 0.0) return QStringLiteral("Last fix not available");
    const NavigationStateRecord& n = fix.Working;
    return QStringLiteral("Date: ") + FormatLongDate(fix.FixTime) + QStringLiteral("   Local Time: ") +
           FormatShortTime(fix.FixTime) + QStringLiteral("   Time zone: ") + NumberText(n.TZ) +
           QStringLiteral("\nPosition: ") + FormatLatLon(fix.DRLat, true) + QStringLiteral(" ") +
           FormatLatLon(fix.DRLon, false) + QStringLiteral(", Course = ") + NumberText(n.Course) +
           QStringLiteral(", Speed = ") + NumberText(n.Speed) + QStringLiteral(" kt\nTemp = ") + NumberText(n.Temp) +
           QStringLiteral(" C, Pres = ") + NumberText(n.Pressure) + QStringLiteral(" mB, H = ") + NumberText(n.hEye) +
           QStringLiteral(" m, i+s = ") + NumberText(n.i_s) + QStringLiteral(" min");
}

QString InterceptWarningText(const FixResult& fix) {
    const std::vector<int> large = LargeInterceptLines(fix);
    if (large.empty()) return QString();
    QStringList parts;
    for (int i : large)
        parts << QStringLiteral("Line No. %1 (").arg(i + 1) +
                     FormatNumber(fix.Intercept[static_cast<size_t>(i)], QStringLiteral("+00.0;-00.0")) +
                     QStringLiteral("')");
    return QStringLiteral("Warning: intercept over %1' in ").arg(kLargeInterceptArcmin) +
           parts.join(QStringLiteral(", ")) + QStringLiteral(": check the sight and the DR position.");
}

QString DetailsFixText(const FixResult& fix, const std::string& failure) {
    QString failed;
    if (!failure.empty()) {
        QString why = QString::fromStdString(failure);
        why.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        failed = QStringLiteral("The last calculation failed: ") + why + QStringLiteral("\n");
    }
    if (fix.FixTime == 0.0) return failed + QStringLiteral("Last fix not available");
    const QString warning = InterceptWarningText(fix);
    return failed + (failed.isEmpty() ? QStringLiteral("Last fix on ") : QStringLiteral("Last good fix on ")) +
           FormatLongDate(fix.FixTime) + QStringLiteral(" at ") +
           FormatShortTime(fix.FixTime) + QStringLiteral(" local time.\nPosition: ") +
           FormatLatLon(fix.FixLat, true) + QStringLiteral(" ") + FormatLatLon(fix.FixLon, false) +
           QStringLiteral("   ") + CourseDistanceText(fix) + QStringLiteral("\nEllipse of error: a = ") +
           FormatNumber(fix.EllipseA, QStringLiteral("00.00")) + QStringLiteral("', b = ") +
           FormatNumber(fix.EllipseB, QStringLiteral("00.00")) + QStringLiteral("', Alpha = ") +
           FormatNumber(fix.EllipseAlpha, QStringLiteral("000.0")) + QStringLiteral("\u00B0") + PassesText(fix) +
           (warning.isEmpty() ? QString() : QStringLiteral("\n") + warning);
}

QString CourseDistanceText(const FixResult& fix) {
    const CourseDistance& cd = fix.FromDR;
    const QString dist = FormatNumber(cd.Dist, QStringLiteral("00.0"));
    // No run to the fix: a course would be the direction of a rounding error.
    if (dist == FormatNumber(0.0, QStringLiteral("00.0"))) return QStringLiteral("Fix at the DR (") + dist + QStringLiteral(" nm)");
    return QStringLiteral("C = ") + FormatNumber(cd.C, QStringLiteral("000.0")) + QStringLiteral("\u00B0 - ") + dist +
           QStringLiteral(" nm");
}

QString PassesText(const FixResult& fix) {
    if (fix.Passes <= 1) return QString();
    QString text = QStringLiteral("\nIterated in %1 passes, shifts:").arg(fix.Passes);
    for (int k = 0; k < fix.Passes && k < kMaxFixPasses; ++k)
        text += QStringLiteral(" ") + FormatNumber(fix.PassShift[static_cast<size_t>(k)], QStringLiteral("0.000")) +
                QStringLiteral("'");
    return text;
}

namespace {

// Arc minutes to a tenth with their sign: "+03.9", "-00.4"; a zero is "+00.0".
QString SignedArcmin(double arcmin) {
    double tenths = std::round(arcmin * 10.0) / 10.0;
    if (tenths == 0.0) tenths = 0.0;  // no "-00.0"
    return FormatNumber(tenths, QStringLiteral("+00.0;-00.0"));
}

// The cells every line has: the reduction of a sight at time ut from pos.
void SetReductionCells(DetailsColumn& col, BodyCode code, DateValue ut, const LatLon& pos, const SightReduction& r) {
    auto set = [&col](const char* key, const QString& text) { col.Cells.emplace_back(QString::fromLatin1(key), text); };
    set("Time", FormatTimeHMS(ut));
    set("Date", FormatShortDate(ut));
    if (IsStarCode(code)) {
        set("GHA ARIES", FormatAngleDegMin(r.GhaAries, 3, true, false));
        set("TAU", FormatAngleDegMin(r.Tau, 3, true, false));
    }
    set("GHA", FormatAngleDegMin(r.Gha, 3, true, false));
    set("LAT", FormatLatLon(pos.Lat, true));
    set("LON", FormatLatLon(pos.Lon, false));
    set("LHA", FormatAngleDegMin(r.Lha, 3, false, false) + (r.Lha < 0.0 ? QStringLiteral("E") : QStringLiteral("W")));
    set("DEC", FormatAngleDegMin(r.Dec, 2, true, true));
    set("OC", FormatAngleDegMin(r.Hs, 2, true, false));
    set("i_s", SignedArcmin(r.IndexCorr));
    set("Dip", SignedArcmin(-r.Dip * 60.0));
    set("H", FormatAngleDegMin(r.H, 2, true, false));
    set("Refr", SignedArcmin(-r.Refr * 60.0));
    set("TP", SignedArcmin(-r.TP * 60.0));
    // A star or a planet is taken by its centre: no limb, no semidiameter.
    set("SemiD", HasLimb(code) ? SignedArcmin(r.SemiD * 60.0) : QStringLiteral("-"));
    set("px", SignedArcmin(r.Parallax * 60.0));
    set("Ho", FormatAngleDegMin(r.Ho, 2, true, false));
}

void SetCell(DetailsColumn& col, const char* key, const QString& text) {
    col.Cells.emplace_back(QString::fromLatin1(key), text);
}

}  // namespace

std::vector<DetailsColumn> DetailsColumns(const FixResult& fix) {
    std::vector<DetailsColumn> out;
    if (fix.FixTime == 0.0) return out;
    for (size_t i = 0; i < 4; ++i) {
        const BodyCode code = fix.Lines.Body[i];
        if (!LineInUse(code) || !(fix.Weight[i] > 0.0)) continue;
        DetailsColumn col;
        col.Header = QString::fromStdString(BodyNameOfCode(code));
        SetReductionCells(col, code, fix.LineTime[i], fix.LinePos[i], fix.Reduction[i]);
        SetCell(col, "Hc", FormatAngleDegMin(fix.Hc[i], 2, true, false));
        SetCell(col, "dN", SignedArcmin(fix.Intercept[i]));
        SetCell(col, "Az", WithDegreeSigns(FormatAngleDegMin(Norm360(fix.Az[i]), 3, true, false)));
        SetCell(col, "Res", SignedArcmin(fix.Residual[i]));
        out.push_back(std::move(col));
    }
    return out;
}

QString DetailsHeaderText(const SessionFix& fix) {
    const SessionConditions& c = fix.Conditions;
    return QStringLiteral("Session fix of ") + FormatLongDate(c.FixUT) + QStringLiteral(" at ") +
           FormatTimeHMS(c.FixUT) + QStringLiteral(" UT\nPosition: ") + FormatLatLon(c.DRLat, true) +
           QStringLiteral(" ") + FormatLatLon(c.DRLon, false) + QStringLiteral(", Course = ") + NumberText(c.Course) +
           QStringLiteral(", Speed = ") + NumberText(c.Speed) + QStringLiteral(" kt\nTemp = ") + NumberText(c.Temp) +
           QStringLiteral(" C, Pres = ") + NumberText(c.Pressure) + QStringLiteral(" mB, H = ") +
           NumberText(c.HeightOfEye) + QStringLiteral(" m, i+s = ") + NumberText(c.IndexArcmin) + QStringLiteral(" min");
}

std::vector<DetailsColumn> DetailsColumns(const SessionFix& fix) {
    std::vector<DetailsColumn> out;
    if (!fix.Refusal.empty()) return out;
    const size_t n = std::min({fix.Sights.size(), fix.ReducedDR.size(), fix.LinePosDR.size(), fix.ShotLine.size(),
                               fix.ShotResidual.size(), fix.ShotOutlier.size()});
    for (size_t i = 0; i < n; ++i) {
        const SessionSight& s = fix.Sights[i];
        DetailsColumn col;
        col.Header = QStringLiteral("%1. ").arg(SightNumber(s, i)) + SessionBodyName(s.Body);
        const SightReduction& r = fix.ReducedDR[i];
        SetReductionCells(col, s.Body, s.UT, fix.LinePosDR[i], r);
        SetCell(col, "Hc", FormatAngleDegMin(r.Hc, 2, true, false));
        SetCell(col, "dN", SignedArcmin(r.Intercept));
        SetCell(col, "Az", WithDegreeSigns(FormatAngleDegMin(Norm360(r.Az), 3, true, false)));
        const bool used = fix.ShotLine[i] >= 0;
        SetCell(col, "Res", used ? SignedArcmin(fix.ShotResidual[i]) : QStringLiteral("not used"));
        SetCell(col, "Line", used ? QString::number(fix.ShotLine[i] + 1) : QString());
        SetCell(col, "Flag", fix.ShotOutlier[i] ? QStringLiteral("does not fit") : QString());
        out.push_back(std::move(col));
    }
    return out;
}
