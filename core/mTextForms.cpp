#include "core/mTextForms.h"

#include <cmath>
#include <cstdio>
#include <cstring>

DegMin SplitDegMin(double absDegrees, int decimals) {
    DegMin out;
    const double a = std::fabs(absDegrees);
    if (!(a < kMaxSplitDegrees)) return out;  // also NaN; whole degrees must fit a long
    out.ok = true;
    const double scale = std::pow(10.0, decimals);
    // Whole units of the last shown minute digit; the carry falls out of the
    // integer division.
    const double units = std::floor(a * 60.0 * scale + 0.5);
    const double perDegree = 60.0 * scale;
    const double deg = std::floor(units / perDegree);
    out.degrees = static_cast<long>(deg);
    out.minutes = (units - deg * perDegree) / scale;
    return out;
}

namespace {

// Digits of |value| rounded to `decimals` places, half away from zero, as
// integer text and fraction text.
void RoundedDigits(double absValue, int decimals, std::string& intPart, std::string& fracPart) {
    char buf[400];
    // Round on the decimal text with nine guard digits beyond the shown ones, so
    // that a tie written in binary a hair below it (1.45 is 1.4499999999999999556)
    // still rounds up, as a person reading the number expects, and 2.5 gives 3.
    std::snprintf(buf, sizeof buf, "%.*f", decimals + 9, absValue);
    std::string s(buf);
    const size_t dot = s.find('.');
    std::string ip = dot == std::string::npos ? s : s.substr(0, dot);
    std::string fp = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    const bool up = fp.size() >= static_cast<size_t>(decimals) + 1 && fp[decimals] >= '5';
    fp.resize(decimals);
    std::string digits = ip + fp;
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0) {
            if (digits[i] == '9') {
                digits[i] = '0';
                --i;
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0) digits.insert(digits.begin(), '1');
    }
    intPart = digits.substr(0, digits.size() - decimals);
    fracPart = digits.substr(digits.size() - decimals);
    while (intPart.size() > 1 && intPart[0] == '0') intPart.erase(0, 1);
}

std::string FormatSection(double absValue, const std::string& section, const std::string& decimalSeparator) {
    const size_t dot = section.find('.');
    const std::string before = dot == std::string::npos ? section : section.substr(0, dot);
    const std::string after = dot == std::string::npos ? std::string() : section.substr(dot + 1);
    int decimals = 0;
    for (char ch : after)
        if (ch == '0') ++decimals;
    std::string ip, fp;
    RoundedDigits(absValue, decimals, ip, fp);
    int places = 0;
    for (char ch : before)
        if (ch == '0') ++places;
    if (ip == "0" && places == 0) ip.clear();
    // Pad to the placeholder count; the extra digits go into the leftmost one.
    while (static_cast<int>(ip.size()) < places) ip.insert(ip.begin(), '0');
    std::string out;
    int digitIndex = static_cast<int>(ip.size()) - places;  // digits for the first placeholder
    bool first = true;
    for (char ch : before) {
        if (ch == '0') {
            if (first) {
                out += ip.substr(0, static_cast<size_t>(digitIndex) + 1);
                first = false;
            } else {
                out += ip[static_cast<size_t>(digitIndex)];
            }
            ++digitIndex;
        } else {
            out += ch;
        }
    }
    if (places == 0) out += ip;
    if (dot != std::string::npos) {
        out += decimalSeparator;
        size_t k = 0;
        for (char ch : after) {
            if (ch == '0')
                out += fp[k++];
            else
                out += ch;
        }
    }
    return out;
}

}  // namespace

std::string FormatNumberPattern(double value, const std::string& pattern, const std::string& decimalSeparator) {
    const size_t semi = pattern.find(';');
    const std::string positive = semi == std::string::npos ? pattern : pattern.substr(0, semi);
    if (!std::isfinite(value)) {
        size_t width = 0;
        for (char ch : positive) width += ch == '.' ? decimalSeparator.size() : 1;
        return std::string(width, '-');
    }
    // A value that rounds to zero is shown as zero: never with a minus sign, from
    // the negative section or the pattern's own literal ("-00.0" for a dip of 0).
    const auto allZero = [](const std::string& text) {
        for (char ch : text)
            if (ch >= '1' && ch <= '9') return false;
        return true;
    };
    if (value < 0.0) {
        const std::string magnitude = FormatSection(-value, positive, decimalSeparator);
        if (allZero(magnitude)) value = 0.0;
        else if (semi != std::string::npos) return FormatSection(-value, pattern.substr(semi + 1), decimalSeparator);
        else return "-" + magnitude;
    }
    std::string text = FormatSection(value, positive, decimalSeparator);
    if (allZero(text) && !text.empty() && text[0] == '-') text.erase(0, 1);
    return text;
}

MaskedEditResult MaskedEditStep(int textLength, int selStart, const std::string& mask, int key) {
    MaskedEditResult r;
    r.key = key;
    int pos = selStart;
    // 1. A caret after the last character steps back onto it.
    if (textLength > 0 && pos >= textLength) {
        pos = textLength - 1;
        r.setSelection = true;
        r.selStart = pos;
        r.selLength = 0;
    }
    if (pos < 0) pos = 0;
    // 2. The character of the key, in upper case; none for the movement codes.
    int c = key >= 1000 ? 0 : key;
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    // 3. The two separator positions, counted from 1 (0 when absent).
    const size_t f1 = mask.find('_');
    const int u1 = f1 == std::string::npos ? 0 : static_cast<int>(f1) + 1;
    int u2 = 0;
    if (u1 > 0) {
        const size_t f2 = mask.find('_', f1 + 1);
        u2 = f2 == std::string::npos ? 0 : static_cast<int>(f2) + 1;
    }
    if (c == 0) {
        // 4. Caret movement: one character selected, separators skipped.
        if (key == kMaskKeyLeft) {
            pos = pos - 1;
            if (pos == u1 - 1) pos = pos - 1;
            if (pos == u2 - 1) pos = pos - 1;
        } else if (key == kMaskKeyRight) {
            pos = pos - 1;
            if (pos == u1 - 1) pos = pos + 1;
            if (pos == u2 - 1) pos = pos + 1;
        } else {
            if (pos == u1 - 1) pos = pos + 1;
            if (pos == u2 - 1) pos = pos + 1;
        }
        if (pos < 0) pos = 0;
        if (pos >= textLength) pos = textLength - 1;
        if (textLength == 0) return r;
        r.key = key;
        r.setSelection = true;
        r.selStart = pos;
        r.selLength = 1;
        return r;
    }
    // 5. A typed character: accepted only where the mask allows it.
    const char m = pos < static_cast<int>(mask.size()) ? mask[static_cast<size_t>(pos)] : '\0';
    bool ok = false;
    if (c >= '0' && c <= '9') {
        ok = m == '0';
    } else if (c == '+' || c == '-') {
        ok = m == '+';
    } else if (c >= 'A' && c <= 'Z') {
        ok = m != '0' && mask.size() >= 2 &&
             (c == mask[mask.size() - 1] || c == mask[mask.size() - 2]);
        if (ok) r.key = c;
    }
    if (!ok) {
        r.key = 0;
        r.beep = true;
    }
    return r;
}

bool MaskAllows(const std::string& mask, int pos, char32_t c) {
    if (pos < 0 || pos >= static_cast<int>(mask.size())) return false;
    const char m = mask[static_cast<size_t>(pos)];
    if (m == '_') return true;
    if (m == '0') return c >= U'0' && c <= U'9';
    if (m == '+') return c == U'+' || c == U'-';
    if (mask.size() < 2) return false;
    return c == static_cast<char32_t>(static_cast<unsigned char>(mask[mask.size() - 1])) ||
           c == static_cast<char32_t>(static_cast<unsigned char>(mask[mask.size() - 2]));
}
