// The fixed-width text forms of numbers and angles, and the step of the masked
// input engine, in plain C++ (no widget): the window layer supplies the locale's
// decimal separator and drives a text box with the results.
#pragma once
#include <string>

// Whole degrees and minutes of an absolute angle, the minutes rounded to
// `decimals` places. A minute value that rounds to 60 is carried into the
// degrees: 43.99999 degrees with one decimal is 44 degrees 0.0 minutes, never
// 43 degrees 60.0 minutes. An angle that is not finite or not below
// kMaxSplitDegrees is no angle at all: ok false, degrees and minutes 0.
inline constexpr double kMaxSplitDegrees = 1e9;
struct DegMin {
    long degrees = 0;
    double minutes = 0.0;  // [0, 60), a multiple of 10^-decimals
    bool ok = false;
};
DegMin SplitDegMin(double absDegrees, int decimals);

// Formats a number with a pattern of the kind "00.0", "000.0", "0000",
// "00-00.0", "+00.0;-00.0", "+00;-00", "00.00000":
//  - "0" is a digit placeholder: the integer part fills the placeholders before
//    the decimal point from the right, padded with zeros; digits that do not fit
//    go into the leftmost placeholder (1234 with "00" is 1234);
//  - the first "." is the decimal point, written as `decimalSeparator`; the
//    placeholders after it give the number of decimals (rounded half away from zero);
//  - any other character is written as it stands ("00-00.0" turns 4512.3 into
//    45-12.3; the "+" of "+00.0" is a literal);
//  - "positive;negative": the second section is used, for the absolute value,
//    when the number is negative; with one section a negative number gets a
//    leading "-".
// A number that is not finite gives "-" repeated to the width of the pattern's
// first section, so no garbage reaches the screen.
std::string FormatNumberPattern(double value, const std::string& pattern, const std::string& decimalSeparator);

// Given: text, a time of day: hours, minutes and seconds (the seconds may be left
//        out when secondsOptional), one or two digits each, separated by one
//        character that is neither a digit nor a letter (":", "." or the locale's
//        own); spaces and tabs around the text are ignored.
// Returned: false when it is no time of day (hour above 23, minute or second above
// 59, a field missing, empty or of three digits, anything left over); else true with
// dayFraction in [0, 1). A refused text leaves dayFraction as it was.
bool ParseTimeOfDay(const std::string& text, double& dayFraction, bool secondsOptional = false);

// One call of the masked input engine.
// Given: textLength, the length of the field's text; selStart, the caret (the
//        selection start, from 0); mask, the field's mask ("0" digit, "_" fixed
//        separator, "+" sign, a letter the hemisphere letter whose allowed values
//        are the mask's last two characters); key, 0 for a click or an ordinary
//        key release, 1037 for the left/up arrow, 1039 for the right/down arrow,
//        otherwise the character code of a typed key.
// Returned: the key to enter (the upper-case letter for a letter) or 0 when the
//        key is refused; beep when refused; and the selection to set, if any.
struct MaskedEditResult {
    int key = 0;
    bool beep = false;
    bool setSelection = false;  // select [selStart, selStart + selLength)
    int selStart = 0;
    int selLength = 0;
};
MaskedEditResult MaskedEditStep(int textLength, int selStart, const std::string& mask, int key);

// The key values of the arrow keys in the engine's release call.
inline constexpr int kMaskKeyLeft = 1037;
inline constexpr int kMaskKeyRight = 1039;

// Whether a character may stand at mask position pos (used to re-check text that
// did not come through typing): "0" a digit, "+" a sign, a letter one of the
// mask's last two characters, "_" anything. Positions beyond the mask accept nothing.
bool MaskAllows(const std::string& mask, int pos, char32_t c);
