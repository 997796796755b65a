#include "app/shell/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "model/format.h"

std::string format_number_short(double x)
{
    std::string s = format_fixed(x, 4);
    // Only a text with a decimal point has trailing zeros to drop; NaN and the
    // infinities have none.
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

double read_decimal_text(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0.0;
    std::size_t last = text.find_last_not_of(' ');
    std::string s = text.substr(first, last - first + 1);
    for (char& c : s)
        if (c == ',') c = '.';

    // The longest leading number: white space, a sign, digits with at most one
    // point, an optional exponent. from_chars does the conversion in the "C"
    // form whatever the locale, but accepts no '+' and no leading white space.
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' ||
                            s[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::size_t start = i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
            end = j;
        }
    }
    double value = 0.0;
    auto result = std::from_chars(s.data() + start, s.data() + end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large reads as the largest value (the checks of the drive reject
        // it) and too small as 0. The decimal exponent of the first significant
        // digit tells which.
        long long exponent = 0;
        std::size_t e = s.find_first_of("eE", start);
        if (e != std::string::npos && e < end) {
            long long x = 0;
            auto r = std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + end, x);
            if (r.ec == std::errc::result_out_of_range) x = s[e + 1] == '-' ? -1000000 : 1000000;
            exponent = x;
        }
        std::size_t mantissa_end = (e != std::string::npos && e < end) ? e : end;
        std::size_t point = s.find('.', start);
        if (point == std::string::npos || point > mantissa_end) point = mantissa_end;
        std::size_t significant = s.find_first_of("123456789", start);
        if (significant == std::string::npos || significant >= mantissa_end) return 0.0;
        long long magnitude = significant < point ? static_cast<long long>(point - significant)
                                                  : -static_cast<long long>(significant - point - 1);
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    if (!std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

std::int64_t read_integer_text(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated on the negative side, which reaches one further than the
    // positive side, and held at the limit once it is reached.
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (value < (lowest + digit) / 10) {
            value = lowest;
            continue;
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == lowest) return std::numeric_limits<std::int64_t>::max();
    return -value;
}
