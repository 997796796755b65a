#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "model/format.h"

TEST(FormatFixed, DecimalsRoundingAndZero)
{
    EXPECT_EQ(format_fixed(0.0, 2), "0.00");
    EXPECT_EQ(format_fixed(12.7, 3), "12.700");
    EXPECT_EQ(format_fixed(-1.25, 1), "-1.2");  // an exact tie goes to the even digit
    EXPECT_EQ(format_fixed(0.375, 2), "0.38");
    EXPECT_EQ(format_fixed(0.125, 2), "0.12");
    EXPECT_EQ(format_fixed(2.675, 2), "2.67");  // 2.675 is stored just below the tie
    EXPECT_EQ(format_fixed(1234567.891, 1), "1234567.9");
    EXPECT_EQ(format_fixed(-0.0004, 3), "0.000");  // no negative zero
    EXPECT_EQ(format_fixed(-0.0, 2), "0.00");
    EXPECT_EQ(format_fixed(-0.0006, 3), "-0.001");
    EXPECT_EQ(format_fixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(format_fixed(7.0, 0), "7");
}

TEST(FormatFixed, HalfAUnitIsNotForcedToZero)
{
    // -0.0005 is stored a little above its magnitude, so it rounds away from zero.
    EXPECT_EQ(format_fixed(-0.0005, 3), "-0.001");
    EXPECT_EQ(format_fixed(0.005, 2), "0.01");
    // Just below half a unit it is zero, never "-0.00".
    EXPECT_EQ(format_fixed(-std::nextafter(0.005, 0.0), 2), "0.00");
}

TEST(FormatFixed, NonFiniteValues)
{
    EXPECT_EQ(format_fixed(std::numeric_limits<double>::infinity(), 2), "+Infinity");
    EXPECT_EQ(format_fixed(-std::numeric_limits<double>::infinity(), 2), "-Infinity");
    EXPECT_EQ(format_fixed(std::numeric_limits<double>::quiet_NaN(), 2), "NaN");
}

TEST(FormatFixed, IgnoresACommaLocale)
{
    const char* chosen = nullptr;
    for (const char* name : {"nl_NL.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "nl_NL", "de_DE"}) {
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(format_fixed(1234.5678, 2), "1234.57");
    EXPECT_EQ(format_fixed(-0.25, 3), "-0.250");
    std::setlocale(LC_ALL, "C");
}

TEST(FormatInteger, PlainDigits)
{
    EXPECT_EQ(format_integer(106), "106");
    EXPECT_EQ(format_integer(-4), "-4");
    EXPECT_EQ(format_integer(0), "0");
}
