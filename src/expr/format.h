// Numbers as text: value-table cells, tick labels and coordinate read-outs,
// and full-precision values.
//
// Every formatter here is independent of the C locale: the decimal separator
// is always ".", also after a GUI toolkit has called setlocale. The results
// are UTF-8; the only non-ASCII character they contain is the middle dot of
// the scientific tick-label form, written as U+00B7 ("\xC2\xB7", a single
// byte 0xB7 in Windows-1252). None of them fails: values they cannot show
// become "Error", "+Infinity", "-Infinity" (tables) or "" (tick labels).
#pragma once

#include <string>

#include "expr/limits.h"

namespace kv {

// The middle dot between mantissa and "10" in scientific tick labels.
inline constexpr const char* kMiddleDot = "\xC2\xB7";

// One value-table cell, without separators. An undefined value is "Error"; a
// magnitude of at least max_magnitude is "+Infinity" or "-Infinity"; a
// magnitude below 1e-13 is "0"; anything else has six significant digits, the
// shorter of fixed and exponential notation, upper-case "E" and an exponent
// without leading zeros ("1.23457E+8", "1E-5", "0.0001").
std::string format_table_value(double value, bool defined, double max_magnitude = kMaxMagnitude);

// A tick label or a coordinate read-out of a value on a grid of width step:
// as many decimals as step needs (none for step >= 1), trailing zeros and a
// trailing point removed. With allow_scientific, texts of 8 or more characters
// become mantissa, middle dot, "10", exponent: "12300000" is "1.23·107" and
// "0.00001234" is "1.234·10-5". Not-a-number and magnitudes above 1e15 give
// "", magnitudes below 1e-14 give "0". A step that is not a positive number
// gives 14 decimals.
std::string format_scaled_value(double value, double step, bool allow_scientific);

// The value with 14 decimals, trailing zeros and a trailing point removed.
std::string format_full_value(double value);

// Removes trailing blanks and, if the text has a ".", trailing "0"s and then
// a trailing ".".
void trim_decimal_text(std::string& text);

}  // namespace kv
