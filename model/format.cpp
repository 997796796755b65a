#include "model/format.h"

#include <charconv>
#include <cmath>

std::string format_fixed(double x, int decimals)
{
    if (decimals < 0) decimals = 0;
    if (decimals > 64) decimals = 64;
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "+Infinity" : "-Infinity";
    if (std::fabs(x) < 0.5 * std::pow(10.0, -decimals)) x = 0.0;
    // to_chars gives the exactly rounded decimal of the double, independent of
    // the locale (printf would take the user's decimal comma under GTK).
    char buffer[400];  // the largest double has 309 integer digits
    auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
    std::string out(buffer, result.ptr);
    if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    return out;
}

std::string format_integer(long long value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
