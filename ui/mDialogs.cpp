#include "ui/mDialogs.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <vector>

#include "core/mReport.h"

namespace {

// A box waits for the user: no hourglass over it, whatever computation set one;
// the computation's pointer comes back when the box is answered.
class NormalPointerWhileAsking {
public:
    NormalPointerWhileAsking() {
        while (const QCursor* c = QApplication::overrideCursor()) {
            saved_.push_back(*c);
            QApplication::restoreOverrideCursor();
        }
    }
    ~NormalPointerWhileAsking() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) QApplication::setOverrideCursor(*it);
    }
    NormalPointerWhileAsking(const NormalPointerWhileAsking&) = delete;
    NormalPointerWhileAsking& operator=(const NormalPointerWhileAsking&) = delete;

private:
    std::vector<QCursor> saved_;
};

MsgResult DefaultMessageBox(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                            MsgButtons buttons) {
    const NormalPointerWhileAsking pointer;
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgResult::Ok;
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler = &DefaultMessageBox;
    return handler;
}

BeepHandler& BeepFn() {
    static BeepHandler handler = [] { QApplication::beep(); };
    return handler;
}

void ReportToMessageBox(const std::string& title, const std::string& text) {
    ShowMessage(nullptr, QString::fromStdString(title), QString::fromStdString(text), MsgIcon::Critical);
}

}  // namespace

MsgResult ShowMessage(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) {
    return Handler()(parent, title, text, icon, buttons);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler old = Handler();
    Handler() = handler ? std::move(handler) : MessageBoxHandler(&DefaultMessageBox);
    return old;
}

void Beep() { BeepFn()(); }

BeepHandler SetBeepHandler(BeepHandler handler) {
    BeepHandler old = BeepFn();
    BeepFn() = handler ? std::move(handler) : BeepHandler([] { QApplication::beep(); });
    return old;
}

void InstallCoreReportHook() { SetReportHook(&ReportToMessageBox); }
