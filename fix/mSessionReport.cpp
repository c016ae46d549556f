#include "fix/mSessionReport.h"

#include <QStringList>

#include "core/mPlanet.h"
#include "core/mStar.h"
#include "ui/mConvertion.h"

QString SessionBodyName(BodyCode code) {
    if (IsStarCode(code)) {
        const int i = StarIndex(code);
        if (i == 0) return QString::number(code);
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        return QString::fromStdString(s.Name.empty() ? StarName(i) : s.Name);
    }
    if (code <= 0 && code >= -8) return QString::fromStdString(BodyNames()[static_cast<size_t>(-code)]);
    return QString();
}

QString ArcminText(double arcmin) { return QString::asprintf("%+.1f'", arcmin); }

QString PositionText(double lat, double lon) {
    return FormatLatLon(lat, true) + QLatin1Char(' ') + FormatLatLon(lon, false);
}

QString EllipseText(const ErrorEllipse& e) {
    return QString::asprintf("a = %.2f' b = %.2f' Alpha = %05.1f deg", e.A, e.B, e.Azimuth);
}

QString SessionSummaryText(const SessionFix& f) {
    const SessionSolution& s = f.Solution;
    auto rowName = [&](int sight) {
        const size_t i = static_cast<size_t>(sight);
        return QStringLiteral("sight %1 (%2)").arg(SightNumber(f.Sights[i], i))
            .arg(SessionBodyName(f.Sights[static_cast<size_t>(sight)].Body));
    };
    auto lineName = [&](int line) {
        const SessionLine& l = s.Lines[static_cast<size_t>(line)];
        return l.Shots.size() == 1 ? rowName(l.Shots[0])
                                   : QStringLiteral("the series %1 of %2 (%3 sights)").arg(line + 1)
                                         .arg(SessionBodyName(l.Body)).arg(l.Shots.size());
    };
    QStringList out;
    out << QStringLiteral("Fix: %1  (%2 sights in %3 lines, %4 passes)")
               .arg(PositionText(f.FixLat, f.FixLon)).arg(s.ShotsUsed).arg(s.Lines.size()).arg(f.Passes);
    out << QStringLiteral("Ellipse of error (1' sight error): ") + EllipseText(s.Geometric);
    if (s.HasRegion)
        out << QStringLiteral("95% region from the residuals: %1; observed sight error %2' (%3 degrees of freedom)")
                   .arg(EllipseText(s.Region95)).arg(s.Sigma, 0, 'f', 2).arg(s.Dof);
    else
        out << QStringLiteral("95% region from the residuals: needs three sights or more.");
    for (size_t w = 0; w < s.Without.size(); ++w) {
        const FixWithout& x = s.Without[w];
        const SessionLine& l = s.Lines[static_cast<size_t>(x.Line)];
        const QString without = x.Ok ? QStringLiteral(" Fix without it: ") + PositionText(f.WithoutPos[w].Lat, f.WithoutPos[w].Lon)
                                     : QStringLiteral(" Without it the lines do not fix a position.");
        if (x.Shot >= 0) {
            out << QStringLiteral("%1 stands out in its series: %2 from the others (t = %3).%4")
                       .arg(rowName(x.Shot)).arg(ArcminText(l.ShotOffset[static_cast<size_t>(l.OutlierShot)]))
                       .arg(l.OutlierShotT, 0, 'f', 1).arg(without);
        } else {
            out << QStringLiteral("%1 does not fit the others: residual %2 (t = %3).%4")
                       .arg(lineName(x.Line)).arg(ArcminText(l.Residual)).arg(l.T, 0, 'f', 1).arg(without);
            for (int other : l.CannotTellFrom)
                if (other > x.Line)
                    out << QStringLiteral("%1 and %2 cannot be told apart as the blunder.")
                               .arg(lineName(x.Line)).arg(lineName(other));
        }
    }
    if (s.Without.empty() && s.Dof >= 2) out << QStringLiteral("No sight stands out.");
    return out.join(QLatin1Char('\n'));
}

