#pragma once

#include <cstdint>
#include <string>

// The number texts of the input fields, independent of the process locale.

// 4 decimals with '.', then trailing zeros and a trailing '.' removed:
// 500, 0.01, 12.7, 9.525.
std::string format_number_short(double x);

// A decimal as the user typed it: outer blanks removed, ',' taken as '.', then
// the longest leading number ("12,5" -> 12.5, " 7 mm" -> 7, "1.000,5" -> 1.0);
// no number gives 0, and so do texts that spell an infinity or not-a-number.
double read_decimal_text(const std::string& text);

// Leading blanks and tabs, an optional sign, then digits up to the first other
// character ("17.9" -> 17, "abc" -> 0). A digit string too long for 64 bits
// stops at the largest (or smallest) value instead of wrapping round.
std::int64_t read_integer_text(const std::string& text);
