#include "base/number_format.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

struct Formatted {
    double value;
    const char* text;
};

TEST(NumberFormat, GeneralNumberIsShortestWithFifteenDigitsAndScientificOutsideItsRange)
{
    const Formatted cases[] = {
        {5, "5"},
        {12.5, "12.5"},
        {2.50, "2.5"},
        {0, "0"},
        {-0.0, "0"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},               // binary noise beyond 15 digits disappears
        {71.22 + 28.78, "100"},
        {1.0 / 3, "0.333333333333333"},
        {1234567.891, "1234567.891"},
        {999999999999999, "999999999999999"},
        {123456789012345.6, "123456789012346"},
        {1e15, "1E15"},                   // 16 integer digits
        {-1.5e20, "-1.5E20"},
        {999999999999999.9, "1E15"},      // rounding to 15 digits adds an integer digit
        {0.00001, "0.00001"},
        {0.000123, "0.000123"},
        {0.000001, "1E-6"},
        {-0.0000015, "-1.5E-6"},
        {1234567890123.125, "1234567890123.13"},  // an exact half at the 15th digit goes up
        {-99999.9999999999999, "-100000"},
    };
    for (const Formatted& c : cases)
        EXPECT_EQ(generalNumber(c.value), c.text) << c.value;
}

TEST(NumberFormat, TwoDecimalsIsFixedWithoutLeadingBlanks)
{
    const Formatted cases[] = {
        {35, "35.00"},
        {1234.5, "1234.50"},
        {0.125, "0.13"},    // exact halves go away from zero
        {-0.125, "-0.13"},
        {0.875, "0.88"},
        {2.675, "2.68"},    // halves as written, though the binary value lies below
        {1.005, "1.01"},
        {0.005, "0.01"},    // and this one above it
        {9.999, "10.00"},
        {0.004, "0.00"},
        {-3.456, "-3.46"},
        {-0.001, "0.00"},
        {1e6, "1000000.00"},
        {123456789.01, "123456789.01"},
        {1e17, "100000000000000000.00"},
    };
    for (const Formatted& c : cases)
        EXPECT_EQ(twoDecimals(c.value), c.text) << c.value;
}

// The screen's "%7.2f", "%-7.2f" and "%9.2f": the same rounding as twoDecimals.
TEST(NumberFormat, TwoDecimalsInAWidthFillsAsPrintfDoes)
{
    struct Case {
        double value;
        int width;
        const char* text;
    };
    const Case cases[] = {
        {3.456, 7, "   3.46"}, {2.675, 7, "   2.68"}, {0.125, -7, "0.13   "}, {-2.675, 7, "  -2.68"},
        {123456.5, 9, "123456.50"}, {12345678.9, 9, "12345678.90"}, {0, 9, "     0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(twoDecimals(c.value, c.width), c.text) << c.value << " in " << c.width;
}

}  // namespace
}  // namespace pos
