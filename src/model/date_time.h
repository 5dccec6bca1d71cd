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

// The program-wide short date format: day, month and year in that order, separated by one
// character. Date pickers show it and every short-date text of the program is read with it.
struct ShortDateFormat {
    bool dayLeadingZero = true;
    bool monthLeadingZero = true;
    bool fourDigitYear = true;
    char separator = '/';

    bool operator==(const ShortDateFormat&) const = default;
};

// "dd/mm/yyyy" by default; "5/11/26" with neither leading zeros nor the century. A value that
// names no calendar day gives question marks, as formatDate does.
std::string formatShortDate(double dateTime, const ShortDateFormat& format);

// Reads day, month and year separated by the format's separator, one or two digits for day and
// month, two or four for the year (whatever the format writes). A two-digit year is taken within
// fifty years of `referenceYear` (this year, for what users type). Nothing when the text is not
// a valid date; the time of day of the result is midnight.
std::optional<double> parseShortDate(std::string_view text, const ShortDateFormat& format, int referenceYear);

// A date as a user types it: day, month and year separated by "/" as parseShortDate reads them, or
// the same digits without separators (ddmmyy or ddmmyyyy); blanks around the text are ignored.
std::optional<double> parseTypedDate(std::string_view text, int referenceYear);

// The current year, local time.
int currentYear();

double encodeDate(int year, int month, int day);
struct CivilDate { int year; int month; int day; };
std::optional<CivilDate> decodeDate(double dateTime);
