#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

#include "app/shell/number_text.h"

namespace {

// Runs the checks once in the "C" locale and once under a Dutch locale, whose
// decimal comma must not leak into any number text.
class NumberTextLocale : public ::testing::TestWithParam<const char*> {
protected:
    // A fresh machine has only the C locales until one is generated (CI does).
    void SetUp() override
    {
        if (std::setlocale(LC_ALL, GetParam()) == nullptr) GTEST_SKIP() << "no " << GetParam() << " locale";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(NumberTextLocale, ShortFormatDropsTrailingZeros)
{
    EXPECT_EQ(format_number_short(500.0), "500");
    EXPECT_EQ(format_number_short(0.01), "0.01");
    EXPECT_EQ(format_number_short(12.7), "12.7");
    EXPECT_EQ(format_number_short(9.525), "9.525");
    EXPECT_EQ(format_number_short(0.0), "0");
    EXPECT_EQ(format_number_short(-5.0), "-5");
    // Four decimals at most, then the zeros go: 500.123456 shows as 500.1235.
    EXPECT_EQ(format_number_short(500.123456), "500.1235");
    EXPECT_EQ(format_number_short(1.00001), "1");
    // Below half a unit of the fourth decimal: no "-0".
    EXPECT_EQ(format_number_short(-0.00004), "0");
    EXPECT_EQ(format_number_short(100.0), "100");
}

TEST_P(NumberTextLocale, DecimalReaderTakesCommaAndLeadingNumber)
{
    EXPECT_DOUBLE_EQ(read_decimal_text("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(read_decimal_text(" 7 mm"), 7.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("1.000,5"), 1.0);
    EXPECT_DOUBLE_EQ(read_decimal_text(""), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("   "), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("mm"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("500.25"), 500.25);
    EXPECT_DOUBLE_EQ(read_decimal_text("-5"), -5.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("+3.5"), 3.5);
    EXPECT_DOUBLE_EQ(read_decimal_text(".5"), 0.5);
    EXPECT_DOUBLE_EQ(read_decimal_text("5."), 5.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("2E-2"), 0.02);
    // An exponent without digits is not part of the number.
    EXPECT_DOUBLE_EQ(read_decimal_text("4e"), 4.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("4e+x"), 4.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("-"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("-."), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("\t8"), 8.0);
}

TEST_P(NumberTextLocale, DecimalReaderNeverGivesInfinityOrNan)
{
    EXPECT_DOUBLE_EQ(read_decimal_text("inf"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("nan"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("1e999"), std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(read_decimal_text("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(read_decimal_text("1e-999"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text(std::string(400, '9')), std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(read_decimal_text("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_DOUBLE_EQ(read_decimal_text("1e99999999999999999999999"), std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(read_decimal_text("1e-99999999999999999999999"), 0.0);
}

TEST_P(NumberTextLocale, IntegerReaderStopsAtTheFirstNonDigit)
{
    EXPECT_EQ(read_integer_text("17"), 17);
    EXPECT_EQ(read_integer_text("17.9"), 17);
    EXPECT_EQ(read_integer_text("-3"), -3);
    EXPECT_EQ(read_integer_text("abc"), 0);
    EXPECT_EQ(read_integer_text(""), 0);
    EXPECT_EQ(read_integer_text(" \t+25x"), 25);
    EXPECT_EQ(read_integer_text("1 7"), 1);
    EXPECT_EQ(read_integer_text("17,9"), 17);
    EXPECT_EQ(read_integer_text("-"), 0);
}

TEST_P(NumberTextLocale, IntegerReaderSaturatesInsteadOfOverflowing)
{
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t least = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(read_integer_text("9223372036854775807"), most);
    EXPECT_EQ(read_integer_text("9223372036854775808"), most);
    EXPECT_EQ(read_integer_text("-9223372036854775808"), least);
    EXPECT_EQ(read_integer_text("-9223372036854775809"), least);
    EXPECT_EQ(read_integer_text(std::string(60, '9')), most);
    EXPECT_EQ(read_integer_text("-" + std::string(60, '9')), least);
    EXPECT_EQ(read_integer_text("00000000000000000000000000017"), 17);
}

INSTANTIATE_TEST_SUITE_P(Locales, NumberTextLocale, ::testing::Values("C", "nl_NL.UTF-8"));

}  // namespace
