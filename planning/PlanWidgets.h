// Small pieces the planning windows share: a two-column table of reduction steps
// and the text of a UT instant with its zone time.
#pragma once
#include <QHeaderView>
#include <cmath>
#include <QString>
#include <QTreeWidget>

#include "ui/mConvertion.h"
#include "core/mWorkingData.h"
#include "ui/mPublicVarsQt.h"
#include "fix/mCalcPosition.h"

namespace planwidgets {

inline QTreeWidget* StepsView(QWidget* parent, const QString& name) {
    auto* v = new QTreeWidget(parent);
    v->setObjectName(name);
    v->setColumnCount(2);
    v->setHeaderLabels({QStringLiteral("Step"), QStringLiteral("Value")});
    v->headerItem()->setToolTip(0, QStringLiteral("Step: the reading, correction or result of the reduction"));
    v->headerItem()->setToolTip(1, QStringLiteral("Value: degrees and minutes, or arc minutes (' ) for a correction"));
    v->setRootIsDecorated(false);
    v->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    v->setMinimumHeight(240);
    return v;
}

inline void Row(QTreeWidget* v, const QString& key, const QString& value) {
    auto* item = new QTreeWidgetItem(v, {key, value});
    item->setData(0, Qt::UserRole, key);
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

// Degrees as signed degrees and minutes, "-0 12.3'" style; arc minutes as "-12.3'".
inline QString Deg(double d) { return FormatAngleDegMin(d, 2, true, false); }
inline QString Min(double arcmin) {
    double tenths = std::round(arcmin * 10.0) / 10.0;
    if (tenths == 0.0) tenths = 0.0;  // no "-0.0"
    return FormatNumber(tenths, QStringLiteral("+0.0;-0.0")) + QStringLiteral("'");
}

// The rows of a reduced sight, as the calculation details show them.
inline void CorrectionRows(QTreeWidget* v, const SightReduction& r) {
    Row(v, QStringLiteral("Hs"), Deg(r.Hs));
    Row(v, QStringLiteral("i+s"), Min(r.IndexCorr));
    Row(v, QStringLiteral("Dip"), Min(-r.Dip * 60.0));
    Row(v, QStringLiteral("Refraction"), Min(-r.Refr * 60.0));
    Row(v, QStringLiteral("T/P correction"), Min(-r.TP * 60.0));
    Row(v, QStringLiteral("Semidiameter"), Min(r.SemiD * 60.0));
    Row(v, QStringLiteral("Parallax"), Min(r.Parallax * 60.0));
    Row(v, QStringLiteral("Ho"), Deg(r.Ho));
}

// "hh:mm:ss zone (hh:mm:ss UT)" of a UT instant.
inline QString ZoneAndUt(DateValue ut) {
    return FormatTimeHMS(ut + NavigationState.TZ / 24.0) + QStringLiteral(" zone (") + FormatTimeHMS(ut) +
           QStringLiteral(" UT)");
}

inline QString Position(const LatLon& p) { return FormatLatLon(p.Lat, true) + QStringLiteral(" ") + FormatLatLon(p.Lon, false); }

}  // namespace planwidgets
