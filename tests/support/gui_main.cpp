// The shell's GUI tests: a QApplication on the offscreen platform, settings and
// data files (the sight log) in a temporary folder, the clock never read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "ui/mPublicVarsQt.h"
#include "core/mTime.h"
#include "gui_support.h"

DialogRecorder::DialogRecorder(MsgResult yesNoAnswer) {
    oldBox_ = SetMessageBoxHandler([this, yesNoAnswer](QWidget*, const QString& title, const QString& text,
                                                       MsgIcon icon, MsgButtons buttons) {
        messages.push_back({title, text, icon, buttons});
        return buttons == MsgButtons::Ok ? MsgResult::Ok : yesNoAnswer;
    });
    oldBeep_ = SetBeepHandler([this] { ++beeps; });
}

DialogRecorder::~DialogRecorder() {
    SetMessageBoxHandler(oldBox_);
    SetBeepHandler(oldBeep_);
}

NavigationStateRecord KnownState() {
    return {DateFromParts(2026, 12, 6, 14, 35), 3.0f, 43.0 + 7.2 / 60.0, 131.9, 45.0f, 12.5f, 10.0f, 1013.0f, 15.0f, -1.2f,
            0.0, true};
}

void ClearSettings() {
    QSettings s(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Veltrano"));
    s.clear();
}

void PutSettings(std::initializer_list<std::pair<const char*, QVariant>> values) {
    QSettings s(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Veltrano"));
    for (const auto& [key, value] : values) value.isValid() ? s.setValue(QLatin1String(key), value) : s.remove(QLatin1String(key));
}

namespace {
// A fixed clock: 1 March 2026 08:00 UTC.
DateValue FixedClock() { return DateFromParts(2026, 3, 1, 8, 0); }
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toUtf8());
    // The sight log and any other data file in the same folder, never the user's.
    qputenv("XDG_DATA_HOME", settingsDir.path().toUtf8());
    QApplication app(argc, argv);
    // The tests' own settings store, never the user's.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    SetClock(&FixedClock);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
