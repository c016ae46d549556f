// The masked input engine on real QLineEdit boxes, driven by QTest keys and
// clicks as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/MaskedEdit.h"
#include "gui_support.h"

namespace {

std::unique_ptr<QLineEdit> MakeBox(const QString& text, const QString& mask, MaskMode mode = MaskMode::Full) {
    auto box = std::make_unique<QLineEdit>(text);
    AttachMask(box.get(), mask, mode);
    box->show();
    return box;
}

void Select(QLineEdit* box, int pos) { box->setSelection(pos, 1); }

// The x coordinate inside the box where a click puts the caret at `pos`.
int XForCaret(QLineEdit* box, int pos) {
    for (int x = 0; x < box->width(); ++x)
        if (box->cursorPositionAt(QPoint(x, box->height() / 2)) == pos) return x;
    return -1;
}

}  // namespace

TEST(MaskedInput, RightArrowReachesTheLetterAndLettersFollowTheMask) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    Select(box.get(), 6);  // the last minute digit
    QTest::keyClick(box.get(), Qt::Key_Right);
    EXPECT_EQ(box->selectionStart(), 7);
    EXPECT_EQ(box->selectedText(), QStringLiteral("N"));
    QTest::keyClick(box.get(), 's');
    EXPECT_EQ(box->text(), QStringLiteral("43-07.2S"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("S"));
    EXPECT_EQ(rec.beeps, 0);
    QTest::keyClick(box.get(), 'E');
    EXPECT_EQ(box->text(), QStringLiteral("43-07.2S"));
    EXPECT_EQ(rec.beeps, 1);
    EXPECT_EQ(box->selectedText(), QStringLiteral("S"));
}

TEST(MaskedInput, ArrowsSkipTheSeparatorsAndStopAtTheEnds) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    Select(box.get(), 1);
    QTest::keyClick(box.get(), Qt::Key_Right);
    EXPECT_EQ(box->selectionStart(), 3);  // over the "-"
    QTest::keyClick(box.get(), Qt::Key_Left);
    EXPECT_EQ(box->selectionStart(), 1);  // back over the "-"
    Select(box.get(), 4);
    QTest::keyClick(box.get(), Qt::Key_Down);  // down acts as right
    EXPECT_EQ(box->selectionStart(), 6);       // over the decimal point
    QTest::keyClick(box.get(), Qt::Key_Up);
    EXPECT_EQ(box->selectionStart(), 4);
    Select(box.get(), 0);
    QTest::keyClick(box.get(), Qt::Key_Left);
    EXPECT_EQ(box->selectionStart(), 0);
    EXPECT_EQ(box->selectedText().size(), 1);
    Select(box.get(), 7);
    QTest::keyClick(box.get(), Qt::Key_Right);
    EXPECT_EQ(box->selectionStart(), 7);
    EXPECT_EQ(box->selectedText(), QStringLiteral("N"));
    EXPECT_EQ(rec.beeps, 0);
    EXPECT_EQ(box->text(), QStringLiteral("43-07.2N"));
}

TEST(MaskedInput, TypingADigitOvertypesAndMovesOn) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    Select(box.get(), 1);
    QTest::keyClick(box.get(), '5');
    EXPECT_EQ(box->text(), QStringLiteral("45-07.2N"));
    EXPECT_EQ(box->selectionStart(), 3);  // the next non-separator position
    EXPECT_EQ(box->selectedText(), QStringLiteral("0"));
    // A whole value typed in one go.
    QTest::keyClicks(box.get(), QStringLiteral("3012n"));
    EXPECT_EQ(box->text(), QStringLiteral("45-30.1N"));
    EXPECT_EQ(rec.beeps, 1);  // the "2" at the letter; the "n" enters as "N"
}

TEST(MaskedInput, SignOnlyAtTheSignPosition) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("+10.0"), QStringLiteral("+00_0"));
    Select(box.get(), 0);
    QTest::keyClick(box.get(), '-');
    EXPECT_EQ(box->text(), QStringLiteral("-10.0"));
    EXPECT_EQ(rec.beeps, 0);
    for (int pos : {1, 2, 4}) {
        Select(box.get(), pos);
        QTest::keyClick(box.get(), '-');
        EXPECT_EQ(box->text(), QStringLiteral("-10.0"));
    }
    EXPECT_EQ(rec.beeps, 3);
}

TEST(MaskedInput, DeleteTypesZeroAndBeepsAtALetter) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    Select(box.get(), 0);
    QTest::keyClick(box.get(), Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("03-07.2N"));
    EXPECT_EQ(box->selectionStart(), 1);
    EXPECT_EQ(rec.beeps, 0);
    Select(box.get(), 7);
    QTest::keyClick(box.get(), Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("03-07.2N"));
    EXPECT_EQ(rec.beeps, 1);
}

TEST(MaskedInput, BackspaceSpacePointCommaRefusedEverywhere) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("131-54.0E"), QStringLiteral("000_00_0EW"));
    int expectedBeeps = 0;
    for (int pos = 0; pos < 9; ++pos) {
        for (char key : {' ', '.', ','}) {
            Select(box.get(), pos);
            QTest::keyClick(box.get(), key);
            ++expectedBeeps;
        }
        Select(box.get(), pos);
        QTest::keyClick(box.get(), Qt::Key_Backspace);
        ++expectedBeeps;
    }
    EXPECT_EQ(box->text(), QStringLiteral("131-54.0E"));
    EXPECT_EQ(rec.beeps, expectedBeeps);
}

TEST(MaskedInput, ClickSelectsOneCharacterSkippingSeparators) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    box->resize(200, box->height());
    const int x = XForCaret(box.get(), 2);  // just before the "-"
    ASSERT_GE(x, 0);
    QTest::mouseClick(box.get(), Qt::LeftButton, Qt::NoModifier, QPoint(x, box->height() / 2));
    EXPECT_EQ(box->selectionStart(), 3);
    EXPECT_EQ(box->selectedText().size(), 1);
    const int end = XForCaret(box.get(), 8);  // after the last character
    ASSERT_GE(end, 0);
    QTest::mouseClick(box.get(), Qt::LeftButton, Qt::NoModifier, QPoint(end, box->height() / 2));
    EXPECT_EQ(box->selectionStart(), 7);
}

TEST(MaskedInput, PasteCutUndoAndInputMethodCannotBreakTheMask) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("43-07.2N"), QStringLiteral("00_00_0NS"));
    QApplication::clipboard()->setText(QStringLiteral("hello"));
    Select(box.get(), 0);
    QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box.get(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(box.get(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(box.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("43-07.2N"));
    EXPECT_EQ(rec.beeps, 5);
    EXPECT_EQ(box->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(box->acceptDrops());
    // Text committed by an input method is put back when it does not fit.
    Select(box.get(), 0);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("xy"));
    QApplication::sendEvent(box.get(), &commit);
    EXPECT_EQ(box->text(), QStringLiteral("43-07.2N"));
    EXPECT_EQ(rec.beeps, 6);
    // ... and kept when it does.
    Select(box.get(), 0);
    QInputMethodEvent digit;
    digit.setCommitString(QStringLiteral("2"));
    QApplication::sendEvent(box.get(), &digit);
    EXPECT_EQ(box->text(), QStringLiteral("23-07.2N"));
}

TEST(MaskedInput, ClickOnlyBoxTypesFreely) {
    DialogRecorder rec;
    auto box = MakeBox(QStringLiteral("06.12.26"), QStringLiteral("00_00_00"), MaskMode::ClickOnly);
    box->setMaxLength(32);
    box->selectAll();
    QTest::keyClicks(box.get(), QStringLiteral("7.1.2027"));
    EXPECT_EQ(box->text(), QStringLiteral("7.1.2027"));
    EXPECT_EQ(rec.beeps, 0);
}

TEST(MaskedInput, SetMaskedTextFixesTheWidth) {
    auto box = MakeBox(QStringLiteral("15.0"), QStringLiteral("00_0"));
    SetMaskedText(box.get(), QStringLiteral("07.5"));
    EXPECT_EQ(box->maxLength(), 4);
    EXPECT_EQ(MaskOf(box.get()), QStringLiteral("00_0"));
    Select(box.get(), 0);
    QTest::keyClick(box.get(), '1');
    EXPECT_EQ(box->text(), QStringLiteral("17.5"));
}
