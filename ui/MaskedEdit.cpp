#include "ui/MaskedEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include "ui/mDialogs.h"
#include "core/mTextForms.h"

namespace {

int CaretOf(const QLineEdit* box) { return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition(); }

bool FitsMask(const QString& text, const QString& previous, const std::string& mask) {
    if (text.size() != previous.size()) return false;
    for (int i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).unicode();
        if (i < static_cast<int>(mask.size()) && mask[static_cast<size_t>(i)] == '_') {
            if (text.at(i) != previous.at(i)) return false;  // the separators stay
            continue;
        }
        if (i >= static_cast<int>(mask.size())) {
            if (text.at(i) != previous.at(i)) return false;
            continue;
        }
        if (text.at(i) != previous.at(i) && !MaskAllows(mask, i, c)) return false;
    }
    return true;
}

class MaskFilter : public QObject {
public:
    MaskFilter(QLineEdit* box, const QString& mask, MaskMode mode) : QObject(box), box_(box) { Set(mask, mode); }

    void Set(const QString& mask, MaskMode mode) {
        mask_ = mask;
        mode_ = mode;
        good_ = box_->text();
        box_->setMaxLength(std::max(1, static_cast<int>(box_->text().size())));
        if (mode_ == MaskMode::Full) {
            box_->setDragEnabled(false);
            box_->setAcceptDrops(false);
            box_->setContextMenuPolicy(Qt::NoContextMenu);
        }
    }
    const QString& Mask() const { return mask_; }
    void TextSet() { good_ = box_->text(); }

    // Re-checks a text change that did not come through the engine.
    void Edited(const QString& text) {
        if (mode_ != MaskMode::Full) return;
        if (FitsMask(text, good_, mask_.toStdString())) {
            good_ = text;
            return;
        }
        const int caret = CaretOf(box_);
        {
            QSignalBlocker block(box_);
            box_->setText(good_);
        }
        box_->setSelection(std::min(caret, static_cast<int>(good_.size()) - 1), 1);
        Beep();
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (obj != box_) return false;
        switch (ev->type()) {
            case QEvent::MouseButtonRelease: {
                obj->event(ev);  // let the box place its caret first
                if (static_cast<QMouseEvent*>(ev)->button() == Qt::LeftButton) Click();
                return true;
            }
            case QEvent::InputMethod:
                good_ = box_->text();
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                good_ = box_->text();
                // The middle button pastes the X11 selection.
                return mode_ == MaskMode::Full && static_cast<QMouseEvent*>(ev)->button() == Qt::MiddleButton;
            case QEvent::FocusIn: {
                // Back from another window (a message box that named this box):
                // the selection the window left stays, the whole bad text included.
                const bool keep = static_cast<QFocusEvent*>(ev)->reason() == Qt::ActiveWindowFocusReason &&
                                  box_->hasSelectedText();
                const int start = box_->selectionStart();
                const int length = static_cast<int>(box_->selectedText().size());
                obj->event(ev);
                if (keep)
                    box_->setSelection(start, length);
                else if (mode_ == MaskMode::Full)
                    Click();
                return true;
            }
            case QEvent::KeyPress:
                return mode_ == MaskMode::Full && KeyPress(static_cast<QKeyEvent*>(ev));
            case QEvent::KeyRelease:
                if (mode_ != MaskMode::Full) return false;
                KeyRelease(static_cast<QKeyEvent*>(ev));
                return true;
            case QEvent::Drop:
            case QEvent::DragEnter:
            case QEvent::DragMove:
                return mode_ == MaskMode::Full;
            default:
                return false;
        }
    }

private:
    void Click() {
        int key = 0;
        MaskedEdit(box_, mask_, key);
    }

    // Types a character into the box as its own key press would.
    void Type(QChar ch) {
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        static_cast<QObject*>(box_)->event(&typed);
        good_ = box_->text();
    }

    bool KeyPress(QKeyEvent* k) {
        good_ = box_->text();  // a text set by the program since the last key
        const int key = k->key();
        const Qt::KeyboardModifiers mods = k->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        // Key-down: Delete zeroes the selected digit (a typed "0").
        if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
            int code = '0';
            MaskedEdit(box_, mask_, code);
            if (code != 0) Type(QChar(code));
            return true;
        }
        // The arrows step the caret by one character (the engine then selects).
        if (mods == Qt::NoModifier &&
            (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)) {
            const int step = (key == Qt::Key_Left || key == Qt::Key_Up) ? -1 : 1;
            const int len = static_cast<int>(box_->text().size());
            box_->setCursorPosition(std::clamp(box_->cursorPosition() + step, 0, len));
            return true;
        }
        if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::SelectAll)) return false;
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
            key == Qt::Key_AltGr || key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return false;
        // Enter is the window's (it may go on or calculate), never a character.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return false;
        // Paste, cut, undo and every other shortcut would edit the text other than
        // by overtyping one character.
        if (k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut) || k->matches(QKeySequence::Undo) ||
            k->matches(QKeySequence::Redo) || (mods & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))) {
            Beep();
            return true;
        }
        const QString text = k->text();
        if (key != Qt::Key_Backspace && text.isEmpty()) return false;  // Home, End, F2...: the box's own
        const int code0 = key == Qt::Key_Backspace ? 8 : static_cast<int>(text.at(0).unicode());
        int code = code0;
        MaskedEdit(box_, mask_, code);
        if (code != 0) Type(QChar(code));
        return true;
    }

    void KeyRelease(QKeyEvent* k) {
        const int len = static_cast<int>(box_->text().size());
        int code = 0;
        if (CaretOf(box_) < len) {
            const int key = k->key();
            if (key == Qt::Key_Right || key == Qt::Key_Down)
                code = kMaskKeyRight;
            else if (key == Qt::Key_Left || key == Qt::Key_Up)
                code = kMaskKeyLeft;
        }
        MaskedEdit(box_, mask_, code);
    }

    QLineEdit* box_;
    QString mask_;
    MaskMode mode_ = MaskMode::Full;
    QString good_;
};

MaskFilter* FilterOf(const QLineEdit* box) {
    if (!box) return nullptr;
    for (QObject* child : box->children())
        if (auto* f = dynamic_cast<MaskFilter*>(child)) return f;
    return nullptr;
}

}  // namespace

void MaskedEdit(QLineEdit* box, const QString& mask, int& key) {
    if (!box) return;
    const int len = static_cast<int>(box->text().size());
    const MaskedEditResult r = MaskedEditStep(len, CaretOf(box), mask.toStdString(), key);
    if (r.setSelection) {
        if (r.selLength > 0)
            box->setSelection(r.selStart, r.selLength);
        else
            box->setCursorPosition(r.selStart);
    }
    key = r.key;
    if (r.beep) Beep();
}

void AttachMask(QLineEdit* box, const QString& mask, MaskMode mode) {
    if (!box) return;
    if (MaskFilter* f = FilterOf(box)) {
        f->Set(mask, mode);
        return;
    }
    auto* filter = new MaskFilter(box, mask, mode);
    box->installEventFilter(filter);
    QObject::connect(box, &QLineEdit::textEdited, filter, [filter](const QString& t) { filter->Edited(t); });
}

QString MaskOf(const QLineEdit* box) {
    const MaskFilter* f = FilterOf(box);
    return f ? f->Mask() : QString();
}

void SetMaskedText(QLineEdit* box, const QString& text) {
    if (!box) return;
    box->setMaxLength(std::max(1, static_cast<int>(text.size())));
    box->setText(text);
    if (MaskFilter* f = FilterOf(box)) {
        f->TextSet();
        if (box->hasFocus()) {
            int key = 0;
            MaskedEdit(box, f->Mask(), key);
        }
    }
}

MaskedLineEdit::MaskedLineEdit(const QString& mask, const QString& text, QWidget* parent, MaskMode mode)
    : QLineEdit(text, parent) {
    AttachMask(this, mask, mode);
}
