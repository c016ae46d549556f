// The number patterns of the windows, without any widget. (The minute carry and
// the masked input engine are checked through real boxes in the GUI tests.)
#include <gtest/gtest.h>

#include <limits>

#include "core/mTextForms.h"

TEST(FormatNumberPattern, FixedPatternsOfTheWindows) {
    struct Case {
        double value;
        const char *pattern, *sep, *text;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {15.0, "00.0", ".", "15.0"},           {5.25, "00.0", ",", "05,3"},  // half away from zero
        {7.0, "000.0", ".", "007.0"},          {1010.0, "0000", ".", "1010"},
        {10.0, "+00.0;-00.0", ".", "+10.0"},   {-2.5, "+00.0;-00.0", ".", "-02.5"},
        {0.0, "+00.0;-00.0", ".", "+00.0"},    {3.0, "+00;-00", ".", "+03"},
        {-10.0, "+00;-00", ".", "-10"},        {4512.3, "00-00.0", ".", "45-12.3"},
        {512.3, "00-00.0", ".", "05-12.3"},    {0.27143, "00.00000", ".", "00.27143"},
        {1.455, "00.00", ".", "01.46"},        {1.45, "00.0", ".", "01.5"},  // 1.45 is 1.4499999... in binary
        {12345.0, "0000", ".", "12345"},       {99.96, "00.0", ".", "100.0"},  // extra digits kept
        {-3.0, "000.0", ".", "-003.0"},        {-0.01, "00.0", ".", "00.0"},  // no minus for a rounded zero
        {-0.04, "+00.0;-00.0", ".", "+00.0"},  {0.0, "-00.0", ".", "00.0"},  // zero: no sign of either kind
        {nan, "00.0", ".", "----"},            {inf, "+00;-00", ".", "---"},  // not finite: dashes
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumberPattern(c.value, c.pattern, c.sep), c.text) << c.value << " " << c.pattern;
}
