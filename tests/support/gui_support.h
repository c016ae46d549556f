// Shared pieces of the GUI tests: the widgets every window test drives, the
// recorded message boxes and beeps, a locale switch, and a known working state.
#pragma once
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <vector>

#include "ui/mDialogs.h"
#include "fix/mLastFix.h"
#include "ui/mPublicVarsQt.h"

struct RecordedMessage {
    QString title;
    QString text;
    MsgIcon icon;
    MsgButtons buttons = MsgButtons::Ok;
};

// Installs handlers that record every message box (a Yes/No box answered with
// yesNoAnswer) and count the beeps; restores the previous handlers when destroyed.
class DialogRecorder {
public:
    explicit DialogRecorder(MsgResult yesNoAnswer = MsgResult::Yes);
    ~DialogRecorder();
    std::vector<RecordedMessage> messages;
    int beeps = 0;

private:
    MessageBoxHandler oldBox_;
    BeepHandler oldBeep_;
};

// Sets the default locale for its lifetime.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : old_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(old_); }

private:
    QLocale old_;
};

// Types keys over a masked box from its first character, as a user does.
inline void TypeInto(QLineEdit* box, const QString& keys) {
    box->setFocus();
    box->setSelection(0, 1);
    QTest::keyClicks(box, keys);
}

inline QLocale PointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }
inline QLocale CommaLocale() { return QLocale(QLocale::German, QLocale::Germany); }

// A loaded working state: 6 December 2026 14:35 zone time +3, 43-07.2N
// 131-54.0E, course 45, speed 12.5, 10 C, 1013 mB, eye 15 m, i+s -1.2'.
NavigationStateRecord KnownState();
// Removes every stored setting of the program (the tests' own settings folder).
void ClearSettings();
// Stores settings as an earlier run would have (an invalid value removes the key).
void PutSettings(std::initializer_list<std::pair<const char*, QVariant>> values);
