#include "ui/mPublicVarsQt.h"

#include <QDateTime>
#include <QLocale>
#include <QSettings>
#include <cmath>
#include <limits>

#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"

NavigationStateRecord NavigationState;

namespace {

DateValue SystemClock() { return FromQDateTime(QDateTime::currentDateTimeUtc()); }
ClockFunction g_clock = &SystemClock;

QSettings* OpenSettings() {
    auto* s = new QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"),
                            QStringLiteral("Veltrano"));
    s->beginGroup(QStringLiteral("General"));
    return s;
}

// The stored text of a key read as a number, or the default when absent or not
// a number.
double ReadNumber(QSettings& s, const char* key, double defaultValue) {
    const QString text = s.value(QLatin1String(key)).toString();
    double value = 0.0;
    if (text.isEmpty() || !ParseNumberText(text, value)) return defaultValue;
    return value;
}

float ReadFloat(QSettings& s, const char* key, float defaultValue) {
    const double v = ReadNumber(s, key, defaultValue);
    if (std::fabs(v) > std::numeric_limits<float>::max()) return defaultValue;
    return static_cast<float>(v);
}

bool ReportLoad(const LoadStatus& status) {
    if (status.ok) return true;
    ShowMessage(nullptr, QStringLiteral("Veltrano"),
                QStringLiteral("A data file cannot be loaded, so Veltrano has to close.\n\n%1")
                    .arg(QString::fromStdString(status.message)),
                MsgIcon::Critical);
    return false;
}

}  // namespace

DateValue ClockNow() { return g_clock(); }

ClockFunction SetClock(ClockFunction clock) {
    ClockFunction old = g_clock;
    g_clock = clock ? clock : &SystemClock;
    return old;
}

void ReadSettings(NavigationStateRecord& state) {
    const NavigationStateRecord d = DefaultNavigationState();
    std::unique_ptr<QSettings> s(OpenSettings());
    state.Temp = ReadFloat(*s, "Temp", d.Temp);
    state.Pressure = ReadFloat(*s, "Pressure", d.Pressure);
    state.hEye = ReadFloat(*s, "hEye", d.hEye);
    state.i_s = ReadFloat(*s, "i_s", d.i_s);
    state.Course = ReadFloat(*s, "Course", d.Course);
    state.Speed = ReadFloat(*s, "Speed", d.Speed);
    state.Lat = ReadNumber(*s, "Lat", d.Lat);
    if (std::fabs(state.Lat) > 90.0) state.Lat = d.Lat;
    state.Lon = ReadNumber(*s, "Lon", d.Lon);
    if (std::fabs(state.Lon) > 180.0) state.Lon = d.Lon;
    state.TZ = ReadFloat(*s, "TZ", d.TZ);
    // A value the general information window would refuse is as good as garbage:
    // the default stands in for it.
    auto within = [](float& v, const ValueRange& range, float dflt) {
        if (!range.Holds(v)) v = dflt;
    };
    within(state.Temp, kTempRange, d.Temp);
    within(state.Pressure, kPressureRange, d.Pressure);
    within(state.hEye, kEyeRange, d.hEye);
    within(state.i_s, kIndexCorrRange, d.i_s);
    within(state.Course, kCourseRange, d.Course);
    within(state.Speed, kSpeedRange, d.Speed);
    within(state.TZ, kZoneRange, d.TZ);
}

bool LoadSharedState() {
    if (NavigationState.StateLoaded) return true;
    // The star catalogue first, then the planetary series and the Moon's.
    if (!ReportLoad(LoadStarFile())) return false;
    if (!ReportLoad(LoadPlanetData())) return false;
    if (!ReportLoad(LoadMoonFile())) return false;
    ReadSettings(NavigationState);
    // Zone time from the computer's UTC and the saved zone, whatever zone the
    // computer itself keeps.
    NavigationState.LocalDate = ClockNow() + static_cast<double>(NavigationState.TZ) / 24.0;
    NavigationState.StateLoaded = true;
    return true;
}

void SaveSharedState() {
    std::unique_ptr<QSettings> s(OpenSettings());
    const NavigationStateRecord& n = NavigationState;
    s->setValue(QStringLiteral("Temp"), NumberText(n.Temp));
    s->setValue(QStringLiteral("Pressure"), NumberText(n.Pressure));
    s->setValue(QStringLiteral("hEye"), NumberText(n.hEye));
    s->setValue(QStringLiteral("i_s"), NumberText(n.i_s));
    s->setValue(QStringLiteral("Course"), NumberText(n.Course));
    s->setValue(QStringLiteral("Speed"), NumberText(n.Speed));
    s->setValue(QStringLiteral("Lat"), NumberText(n.Lat));
    s->setValue(QStringLiteral("Lon"), NumberText(n.Lon));
    s->setValue(QStringLiteral("TZ"), NumberText(n.TZ));
    s->sync();
}
