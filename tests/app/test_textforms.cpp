// The pure text forms: the minute carry, the number patterns, and the masked
// input engine's step, without any widget.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/mTextForms.h"

TEST(SplitDegMin, CarriesMinutesThatRoundToSixty) {
    DegMin a = SplitDegMin(43.99999, 1);  // 59.9994' rounds to 60.0'
    EXPECT_EQ(a.degrees, 44);
    EXPECT_DOUBLE_EQ(a.minutes, 0.0);
    DegMin b = SplitDegMin(43.12, 1);  // 7.2'
    EXPECT_EQ(b.degrees, 43);
    EXPECT_NEAR(b.minutes, 7.2, 1e-12);
    DegMin c = SplitDegMin(0.9991, 1);  // 59.946' -> 59.9'
    EXPECT_EQ(c.degrees, 0);
    EXPECT_NEAR(c.minutes, 59.9, 1e-12);
    DegMin d = SplitDegMin(179.999999, 1);
    EXPECT_EQ(d.degrees, 180);
    EXPECT_DOUBLE_EQ(d.minutes, 0.0);
    DegMin e = SplitDegMin(std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_EQ(e.degrees, 0);
    EXPECT_EQ(e.minutes, 0.0);
}

TEST(FormatNumberPattern, FixedPatternsOfTheWindows) {
    EXPECT_EQ(FormatNumberPattern(15.0, "00.0", "."), "15.0");
    EXPECT_EQ(FormatNumberPattern(5.25, "00.0", ","), "05,3");  // half away from zero
    EXPECT_EQ(FormatNumberPattern(7.0, "000.0", "."), "007.0");
    EXPECT_EQ(FormatNumberPattern(1010.0, "0000", "."), "1010");
    EXPECT_EQ(FormatNumberPattern(10.0, "+00.0;-00.0", "."), "+10.0");
    EXPECT_EQ(FormatNumberPattern(-2.5, "+00.0;-00.0", "."), "-02.5");
    EXPECT_EQ(FormatNumberPattern(0.0, "+00.0;-00.0", "."), "+00.0");
    EXPECT_EQ(FormatNumberPattern(3.0, "+00;-00", "."), "+03");
    EXPECT_EQ(FormatNumberPattern(-10.0, "+00;-00", "."), "-10");
    EXPECT_EQ(FormatNumberPattern(4512.3, "00-00.0", "."), "45-12.3");
    EXPECT_EQ(FormatNumberPattern(512.3, "00-00.0", "."), "05-12.3");
    EXPECT_EQ(FormatNumberPattern(0.27143, "00.00000", "."), "00.27143");
    EXPECT_EQ(FormatNumberPattern(1.455, "00.00", "."), "01.46");
    EXPECT_EQ(FormatNumberPattern(1.45, "00.0", "."), "01.5");  // 1.45 is 1.4499999... in binary
    // Digits beyond the placeholders are kept, in the leftmost one.
    EXPECT_EQ(FormatNumberPattern(12345.0, "0000", "."), "12345");
    EXPECT_EQ(FormatNumberPattern(99.96, "00.0", "."), "100.0");
    // One section: a leading minus, but none for a value that rounds to zero.
    EXPECT_EQ(FormatNumberPattern(-3.0, "000.0", "."), "-003.0");
    EXPECT_EQ(FormatNumberPattern(-0.01, "00.0", "."), "00.0");
}

TEST(FormatNumberPattern, NotFiniteGivesDashes) {
    EXPECT_EQ(FormatNumberPattern(std::numeric_limits<double>::quiet_NaN(), "00.0", "."), "----");
    EXPECT_EQ(FormatNumberPattern(std::numeric_limits<double>::infinity(), "+00;-00", "."), "---");
}

namespace {
// The latitude field 43-07.2N and its mask.
const std::string kLatMask = "00_00_0NS";
constexpr int kLatLen = 8;
}  // namespace

TEST(MaskedEditStep, ArrowsSkipSeparatorsAndStopAtTheEnds) {
    // Right arrow: the text box has already moved the caret one place past the
    // selected character's end (caret = p + 2), the engine steps back one.
    MaskedEditResult r = MaskedEditStep(kLatLen, 1 + 2, kLatMask, kMaskKeyRight);
    EXPECT_TRUE(r.setSelection);
    EXPECT_EQ(r.selStart, 3);  // over the "-"
    EXPECT_EQ(r.selLength, 1);
    r = MaskedEditStep(kLatLen, 4 + 2, kLatMask, kMaskKeyRight);
    EXPECT_EQ(r.selStart, 6);  // over the decimal point
    // Left arrow: the caret moved to the selected character's start.
    r = MaskedEditStep(kLatLen, 3, kLatMask, kMaskKeyLeft);
    EXPECT_EQ(r.selStart, 1);
    r = MaskedEditStep(kLatLen, 6, kLatMask, kMaskKeyLeft);
    EXPECT_EQ(r.selStart, 4);
    r = MaskedEditStep(kLatLen, 0, kLatMask, kMaskKeyLeft);
    EXPECT_EQ(r.selStart, 0);
    // A caret after the last character (release with 0) selects the last one.
    r = MaskedEditStep(kLatLen, kLatLen, kLatMask, 0);
    EXPECT_EQ(r.selStart, kLatLen - 1);
    EXPECT_EQ(r.selLength, 1);
    // A click on a separator selects the next position.
    r = MaskedEditStep(kLatLen, 2, kLatMask, 0);
    EXPECT_EQ(r.selStart, 3);
    r = MaskedEditStep(kLatLen, 5, kLatMask, 0);
    EXPECT_EQ(r.selStart, 6);
}

TEST(MaskedEditStep, TypedKeysFollowTheMask) {
    // Digits only at "0".
    EXPECT_EQ(MaskedEditStep(kLatLen, 0, kLatMask, '5').key, '5');
    MaskedEditResult r = MaskedEditStep(kLatLen, 7, kLatMask, '5');
    EXPECT_EQ(r.key, 0);
    EXPECT_TRUE(r.beep);
    // The hemisphere letter: one of the mask's last two, upper-cased.
    r = MaskedEditStep(kLatLen, 7, kLatMask, 's');
    EXPECT_EQ(r.key, 'S');
    EXPECT_FALSE(r.beep);
    r = MaskedEditStep(kLatLen, 7, kLatMask, 'E');
    EXPECT_EQ(r.key, 0);
    EXPECT_TRUE(r.beep);
    EXPECT_EQ(MaskedEditStep(kLatLen, 0, kLatMask, 'N').key, 0);
    // The sign only at "+".
    EXPECT_EQ(MaskedEditStep(5, 0, "+00_0", '-').key, '-');
    EXPECT_EQ(MaskedEditStep(5, 0, "+00_0", '+').key, '+');
    EXPECT_EQ(MaskedEditStep(5, 1, "+00_0", '-').key, 0);
    EXPECT_EQ(MaskedEditStep(kLatLen, 0, kLatMask, '-').key, 0);
    // Backspace, space, point, comma and control characters: refused everywhere.
    for (int pos = 0; pos < kLatLen; ++pos) {
        for (int key : {8, int(' '), int('.'), int(','), 13, 27, 22}) {
            r = MaskedEditStep(kLatLen, pos, kLatMask, key);
            EXPECT_EQ(r.key, 0) << "pos " << pos << " key " << key;
            EXPECT_TRUE(r.beep);
        }
    }
}

TEST(MaskAllows, ReCheckOfPastedCharacters) {
    EXPECT_TRUE(MaskAllows(kLatMask, 0, U'4'));
    EXPECT_FALSE(MaskAllows(kLatMask, 0, U'x'));
    EXPECT_TRUE(MaskAllows(kLatMask, 7, U'S'));
    EXPECT_FALSE(MaskAllows(kLatMask, 7, U'E'));
    EXPECT_TRUE(MaskAllows("+00_0", 0, U'-'));
    EXPECT_FALSE(MaskAllows("+00_0", 1, U'-'));
    EXPECT_FALSE(MaskAllows("00", 2, U'1'));
}
