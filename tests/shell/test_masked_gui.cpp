// The masked input engine on real QLineEdit boxes, driven by keys and clicks as a user would
// (the free-typing date box and texts set by the program: through the general information window).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QSignalSpy>

#include "ui/MaskedEdit.h"
#include "support/gui_support.h"

namespace {

const QString kLat = QStringLiteral("43-07.2N"), kLatMask = QStringLiteral("00_00_0NS");

std::unique_ptr<QLineEdit> MakeBox(const QString& text = kLat, const QString& mask = kLatMask) {
    auto box = std::make_unique<QLineEdit>(text);
    AttachMask(box.get(), mask, MaskMode::Full);
    box->show();
    return box;
}

// Selects the character at pos, then presses the key.
template <typename Key>
void KeyAt(QLineEdit* box, int pos, Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    box->setSelection(pos, 1);
    QTest::keyClick(box, key, mods);
}

// Clicks where the caret would go to pos.
void ClickAt(QLineEdit* box, int pos) {
    int x = 0;
    while (x < box->width() && box->cursorPositionAt(QPoint(x, box->height() / 2)) != pos) ++x;
    ASSERT_LT(x, box->width());
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(x, box->height() / 2));
}

}  // namespace

TEST(MaskedInput, ArrowsAndClicksSelectOneCharacterSkippingTheSeparatorsDigitsAndLettersFollowTheMask) {
    DialogRecorder rec;
    auto box = MakeBox();
    box->resize(200, box->height());
    // {selected, key, selected after}: right and down step on, left and up back,
    // over "-" and "."; the ends stop.
    const int steps[][3] = {{1, Qt::Key_Right, 3}, {3, Qt::Key_Left, 1}, {4, Qt::Key_Down, 6}, {6, Qt::Key_Up, 4},
                            {6, Qt::Key_Right, 7}, {0, Qt::Key_Left, 0}, {7, Qt::Key_Right, 7}};
    for (const auto& s : steps) {
        KeyAt(box.get(), s[0], static_cast<Qt::Key>(s[1]));
        EXPECT_EQ(box->selectionStart(), s[2]) << s[0] << " key " << s[1];
        EXPECT_EQ(box->selectedText().size(), 1);
    }
    ClickAt(box.get(), 2);  // just before the "-"
    EXPECT_TRUE(box->selectionStart() == 3 && box->selectedText().size() == 1);
    ClickAt(box.get(), 8);  // after the last character
    EXPECT_EQ(box->selectionStart(), 7);
    EXPECT_EQ(rec.beeps, 0);
    EXPECT_EQ(box->text(), kLat);
    // Digits and letters follow the mask.
    KeyAt(box.get(), 1, '5');  // overtypes and moves to the next digit
    EXPECT_EQ(box->text(), QStringLiteral("45-07.2N"));
    EXPECT_EQ(box->selectionStart(), 3);
    QTest::keyClicks(box.get(), QStringLiteral("3012n"));  // the "2" at the letter beeps
    EXPECT_EQ(box->text(), QStringLiteral("45-30.1N"));
    EXPECT_EQ(rec.beeps, 1);
    KeyAt(box.get(), 7, 's');  // the letter: upper-cased, stays selected
    EXPECT_EQ(box->text(), QStringLiteral("45-30.1S"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("S"));
    KeyAt(box.get(), 7, 'E');  // not a hemisphere of this box
    KeyAt(box.get(), 0, 'N');  // a letter at a digit
    EXPECT_EQ(box->text(), QStringLiteral("45-30.1S"));
    EXPECT_EQ(rec.beeps, 3);
    // Delete types "0" at a digit and beeps at the letter.
    KeyAt(box.get(), 0, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("05-30.1S"));
    EXPECT_EQ(box->selectionStart(), 1);
    KeyAt(box.get(), 7, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("05-30.1S"));
    EXPECT_EQ(rec.beeps, 4);
}

TEST(MaskedInput, SignOnlyAtItsPlaceOtherKeysRefusedEverywhereEnterGoesToTheWindow) {
    DialogRecorder rec;
    auto sign = MakeBox(QStringLiteral("+10.0"), QStringLiteral("+00_0"));
    KeyAt(sign.get(), 0, '-');
    for (int pos : {1, 2, 4}) KeyAt(sign.get(), pos, '-');
    EXPECT_EQ(sign->text(), QStringLiteral("-10.0"));
    EXPECT_EQ(rec.beeps, 3);
    auto box = MakeBox(QStringLiteral("131-54.0E"), QStringLiteral("000_00_0EW"));
    QSignalSpy enter(box.get(), &QLineEdit::returnPressed);
    for (int pos = 0; pos < 9; ++pos) {
        for (char key : {' ', '.', ','}) KeyAt(box.get(), pos, key);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape}) KeyAt(box.get(), pos, key);
    }
    EXPECT_EQ(box->text(), QStringLiteral("131-54.0E"));
    EXPECT_EQ(rec.beeps, 3 + 9 * 5);
    EXPECT_EQ(enter.count(), 9);
}

TEST(MaskedInput, PasteCutUndoAndInputMethodCannotBreakTheMask) {
    DialogRecorder rec;
    auto box = MakeBox();
    QApplication::clipboard()->setText(QStringLiteral("hello"));
    KeyAt(box.get(), 0, Qt::Key_V, Qt::ControlModifier);
    for (auto [key, mods] : {std::pair{Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_X, Qt::ControlModifier},
                             {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_K, Qt::ControlModifier}})
        QTest::keyClick(box.get(), key, mods);
    EXPECT_EQ(box->text(), kLat);
    EXPECT_EQ(rec.beeps, 5);
    EXPECT_EQ(box->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(box->acceptDrops());
    // Text committed by an input method is put back when it does not fit, kept when it does.
    for (auto [commit, after] : {std::pair{"xy", "43-07.2N"}, {"2", "23-07.2N"}}) {
        box->setSelection(0, 1);
        QInputMethodEvent e;
        e.setCommitString(QLatin1String(commit));
        QApplication::sendEvent(box.get(), &e);
        EXPECT_EQ(box->text(), QLatin1String(after)) << commit;
    }
    EXPECT_EQ(rec.beeps, 6);
}
