#include "model/date_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Day 0 of the day count is 30 December 1899; 1 January 1970 is day 25569.
constexpr int kUnixEpochDay = 25569;

// Days since 1 January 1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate civilFromDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

bool validDate(int year, int month, int day)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

} // namespace

double nowAsDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const double days = static_cast<double>(
        daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday)));
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return days + kUnixEpochDay + seconds / 86400.0;
}

double encodeDate(int year, int month, int day)
{
    return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kUnixEpochDay);
}

std::optional<CivilDate> decodeDate(double dateTime)
{
    // The date part is the whole-number part, towards zero: -1.25 is 29 December 1899, 6 a.m.
    if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6)
        return std::nullopt;
    const CivilDate date = civilFromDays(static_cast<long long>(std::trunc(dateTime)) - kUnixEpochDay);
    if (!validDate(date.year, date.month, date.day))
        return std::nullopt;
    return date;
}

std::string formatDate(double dateTime)
{
    const auto date = decodeDate(dateTime);
    if (!date)
        return "\?\?/\?\?/\?\?\?\?";
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", date->day, date->month, date->year);
    return text;
}

namespace {

// Splits "d/m/y" at `separator` into up to three numbers of at most four digits each, counting the
// digits of each; `part` ends as the index of the last part. False for any other character.
bool splitDate(std::string_view text, char separator, int (&parts)[3], int (&digits)[3], int& part)
{
    for (char c : text) {
        if (c == separator) {
            if (++part > 2)
                return false;
        } else if (c >= '0' && c <= '9') {
            if (++digits[part] > 4)
                return false;
            parts[part] = parts[part] * 10 + (c - '0');
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<double> parseDate(std::string_view text)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    if (!splitDate(text, '/', parts, digits, part))
        return std::nullopt;
    if (part != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] != 4)
        return std::nullopt;
    if (!validDate(parts[2], parts[1], parts[0]))
        return std::nullopt;
    return encodeDate(parts[2], parts[1], parts[0]);
}

std::string formatShortDate(double dateTime, const ShortDateFormat& format)
{
    const auto date = decodeDate(dateTime);
    const auto field = [](int value, bool leadingZero, int width) {
        std::string digits = std::to_string(value);
        if (leadingZero && digits.size() < static_cast<std::size_t>(width))
            digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
        return digits;
    };
    const std::string separator(1, format.separator);
    if (!date) {
        return std::string(format.dayLeadingZero ? "??" : "?") + separator + (format.monthLeadingZero ? "??" : "?") +
               separator + (format.fourDigitYear ? "????" : "??");
    }
    const std::string year = format.fourDigitYear ? field(date->year, true, 4) : field(date->year % 100, true, 2);
    return field(date->day, format.dayLeadingZero, 2) + separator + field(date->month, format.monthLeadingZero, 2) +
           separator + year;
}

std::optional<double> parseShortDate(std::string_view text, const ShortDateFormat& format, int referenceYear)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    if (!splitDate(text, format.separator, parts, digits, part))
        return std::nullopt;
    if (part != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2
        || (digits[2] != 2 && digits[2] != 4))
        return std::nullopt;
    int year = parts[2];
    if (digits[2] == 2) {
        year += (referenceYear / 100) * 100;
        if (year > referenceYear + 50)
            year -= 100;
        else if (year <= referenceYear - 50)
            year += 100;
    }
    if (!validDate(year, parts[1], parts[0]))
        return std::nullopt;
    return encodeDate(year, parts[1], parts[0]);
}

std::optional<double> parseTypedDate(std::string_view text, int referenceYear)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digitsOnly || text.size() <= 2)
        return parseShortDate(text, ShortDateFormat{}, referenceYear);
    if (text.size() != 6 && text.size() != 8)
        return std::nullopt;
    const std::string spaced =
        std::string(text.substr(0, 2)) + '/' + std::string(text.substr(2, 2)) + '/' + std::string(text.substr(4));
    return parseShortDate(spaced, ShortDateFormat{}, referenceYear);
}

int currentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}
