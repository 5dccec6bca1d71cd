#pragma once

// Turning case values into report text: escaping user text for RTF, numbers and amounts.

#include <cstdint>
#include <string>
#include <string_view>

// Puts a backslash before each backslash, "{" and "}" so the text reads literally in RTF. All other
// bytes, line breaks and bytes of 0x80 and above included, stay as they are.
std::string escapeRtf(std::string_view text);

// The integer in decimal.
std::string formatNumber(long long value);

// Whole amount with `separator` between groups of three digits, e.g. "-1,234,567".
std::string formatAmount(long long value, std::string_view separator);

// A real amount rounded to the nearest whole number, halves away from zero, then formatted as
// above with every digit of the rounded value. Values that are not numbers read "NaN",
// "Infinity" or "-Infinity".
std::string formatRealAmount(double value, std::string_view separator);
