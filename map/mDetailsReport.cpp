#include "map/mDetailsReport.h"

#include <QStringList>
#include <cmath>

#include "core/mMath.h"
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

}  // namespace

std::vector<DetailsColumn> DetailsColumns(const FixResult& fix) {
    std::vector<DetailsColumn> out;
    if (fix.FixTime == 0.0) return out;
    for (size_t i = 0; i < 4; ++i) {
        const BodyCode code = fix.Lines.Body[i];
        if (!LineInUse(code) || !(fix.Weight[i] > 0.0)) continue;
        const SightReduction& r = fix.Reduction[i];
        DetailsColumn col;
        col.Header = QString::fromStdString(BodyNameOfCode(code));
        auto set = [&col](const char* key, const QString& text) { col.Cells.emplace_back(QString::fromLatin1(key), text); };
        set("Time", FormatTimeHMS(fix.LineTime[i]));
        set("Date", FormatShortDate(fix.LineTime[i]));
        if (IsStarCode(code)) {
            set("GHA ARIES", FormatAngleDegMin(r.GhaAries, 3, true, false));
            set("TAU", FormatAngleDegMin(r.Tau, 3, true, false));
        }
        set("GHA", FormatAngleDegMin(r.Gha, 3, true, false));
        set("LAT", FormatLatLon(fix.LinePos[i].Lat, true));
        set("LON", FormatLatLon(fix.LinePos[i].Lon, false));
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
        set("Hc", FormatAngleDegMin(fix.Hc[i], 2, true, false));
        set("dN", SignedArcmin(fix.Intercept[i]));
        set("Az", WithDegreeSigns(FormatAngleDegMin(Norm360(fix.Az[i]), 3, true, false)));
        set("Res", SignedArcmin(fix.Residual[i]));
        out.push_back(std::move(col));
    }
    return out;
}
