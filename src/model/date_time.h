#pragma once

// Dates are day counts since 30 December 1899 as 64-bit floating point; the fraction is the time.

#include <optional>
#include <string>
#include <string_view>

// The current local date and time.
double nowAsDateTime();

// "dd/mm/yyyy" whatever the locale; the time of day is ignored. A value that names no calendar day
// (not finite, or outside years 1..9999) gives question marks in place of the digits.
std::string formatDate(double dateTime);

// Parses "d/m/yyyy" (one or two digits for day and month, four for the year); nothing when the text
// is not a valid date.
std::optional<double> parseDate(std::string_view text);

double encodeDate(int year, int month, int day);
struct CivilDate { int year; int month; int day; };
std::optional<CivilDate> decodeDate(double dateTime);
