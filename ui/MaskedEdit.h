// The masked input engine on a QLineEdit. The box always holds a complete,
// pre-formatted value with one character selected; the user overtypes that
// character. Keys that do not fit the mask at the caret beep and change nothing;
// the caret skips the fixed separators. Masks: "0" digit, "_" fixed separator,
// "+" sign, letters: the hemisphere letter, one of the mask's last two
// characters ("00_00_0NS": 43-07.2N).
#pragma once
#include <QObject>
#include <QString>

class QLineEdit;

// One call of the engine on a box:
//  - from a key press with the character code of the key: on return key is the
//    character to enter (a lower-case hemisphere letter becomes upper case) or 0
//    when the key is refused (the engine has beeped);
//  - from a key release with 0, kMaskKeyLeft (left or up arrow) or kMaskKeyRight
//    (right or down arrow), and from a click with 0: selects one character,
//    skipping the separators.
void MaskedEdit(QLineEdit* box, const QString& mask, int& key);

enum class MaskMode {
    Full,       // click, keys and Delete go through the engine
    ClickOnly,  // only a click selects one character; typing is free (the date box)
};

// Makes a QLineEdit a masked field: installs an event filter (owned by the box)
// that drives MaskedEdit from the box's click, key-down, key-press and key-
// release events, turns Delete into a typed "0", gives the arrow keys the
// one-character step, selects one character when the box gets the focus, and in
// Full mode refuses paste, cut, undo and the deleting shortcuts, drops and the
// middle-button paste, and puts back any text that does not fit the mask.
// The box's maximum length is set to the length of its present text: fill the
// box with its display form first. Calling it again changes the mask.
void AttachMask(QLineEdit* box, const QString& mask, MaskMode mode = MaskMode::Full);
// The mask a box was given by AttachMask (empty when none).
QString MaskOf(const QLineEdit* box);

// Puts a new display form in a masked box: sets the text, the maximum length to
// its length, and (when the box has the focus) re-selects the character at the
// caret.
void SetMaskedText(QLineEdit* box, const QString& text);

// A QLineEdit born masked, for windows that build their boxes in code.
#include <QLineEdit>
class MaskedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskedLineEdit(const QString& mask, const QString& text, QWidget* parent = nullptr,
                   MaskMode mode = MaskMode::Full);
};
