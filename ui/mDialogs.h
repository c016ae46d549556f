// Every modal message box and every beep of the program goes through these two
// functions, so that a test can read and answer them.
#pragma once
#include <QString>
#include <functional>

class QWidget;

enum class MsgIcon { Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, YesNo, YesNoDefaultNo };  // the last: No is the default button
enum class MsgResult { Ok, Yes, No };

using MessageBoxHandler =
    std::function<MsgResult(QWidget* parent, const QString& title, const QString& text, MsgIcon, MsgButtons)>;
using BeepHandler = std::function<void()>;

// Shows a modal message box (through the installed handler) and returns the answer.
MsgResult ShowMessage(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok);
// Replaces the handler (an empty function restores the QMessageBox one); returns the old one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The refused-key beep.
void Beep();
BeepHandler SetBeepHandler(BeepHandler handler);

// Routes the computation's error reports (ReportError) to ShowMessage.
void InstallCoreReportHook();
