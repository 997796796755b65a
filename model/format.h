#pragma once

#include <string>

// x with exactly `decimals` decimals and '.' as the decimal point, whatever the
// process locale. A value that would round to zero prints as zero without a
// sign; infinities print "+Infinity" / "-Infinity" and NaN "NaN".
std::string format_fixed(double x, int decimals);

// Plain decimal digits with a leading '-' for negative values.
std::string format_integer(long long value);
