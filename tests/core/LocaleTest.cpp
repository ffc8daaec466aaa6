#include "shell/Locale.h"

#include <gtest/gtest.h>

namespace plu {
namespace {

struct FormatCase {
    double value;
    int decimals;
    const char* dot;
    const char* comma;
};

TEST(Locale, FormatsWithTheSeparatorInForce)
{
    const FormatCase cases[] = {
        {5, 2, "5.00", "5,00"},
        {0.125, 2, "0.12", "0,12"}, // exact half goes to the even neighbour, as printf does
        {0.375, 2, "0.38", "0,38"},
        {-79999.999, 3, "-79999.999", "-79999,999"},
        {-0.001, 2, "0.00", "0,00"},
        {999999.9, 2, "999999.90", "999999,90"},
    };
    for (const auto& c : cases) {
        {
            ScopedDecimalSeparator dot('.');
            EXPECT_EQ(FormatFixed(c.value, c.decimals), c.dot);
        }
        {
            ScopedDecimalSeparator comma(',');
            EXPECT_EQ(FormatFixed(c.value, c.decimals), c.comma);
        }
    }
}

TEST(Locale, ParsesOnlyTheSeparatorInForce)
{
    {
        ScopedDecimalSeparator dot('.');
        EXPECT_EQ(ParseReal("12.5"), 12.5);
        EXPECT_EQ(ParseReal(" -3 "), -3.0);
        EXPECT_EQ(ParseReal("1e3"), 1000.0);
        EXPECT_FALSE(ParseReal("12,5"));
        EXPECT_FALSE(ParseReal(""));
        EXPECT_FALSE(ParseReal("12-3"));
        EXPECT_FALSE(ParseReal("-"));
        EXPECT_FALSE(ParseReal("1.2.3"));
    }
    {
        ScopedDecimalSeparator comma(',');
        EXPECT_EQ(ParseReal("12,5"), 12.5);
        EXPECT_FALSE(ParseReal("12.5"));
        EXPECT_EQ(ParseReal(",5"), 0.5);
    }
}

TEST(Locale, ParsesInt64)
{
    EXPECT_EQ(ParseInt64("0012345"), 12345);
    EXPECT_EQ(ParseInt64("-7"), -7);
    EXPECT_EQ(ParseInt64("9223372036854775807"), INT64_MAX);
    EXPECT_FALSE(ParseInt64("9223372036854775808"));
    EXPECT_FALSE(ParseInt64("12a"));
    EXPECT_FALSE(ParseInt64(""));
}

} // namespace
} // namespace plu
