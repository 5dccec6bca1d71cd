#include "report/report_text.h"

#include <charconv>
#include <cmath>

namespace {

// `digits` holds only decimal digits, without sign.
std::string groupDigits(bool negative, std::string_view digits, std::string_view separator)
{
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 * separator.size() + 1);
    if (negative)
        out.push_back('-');
    std::size_t lead = digits.size() % 3;
    if (lead == 0)
        lead = 3;
    out.append(digits.substr(0, lead));
    for (std::size_t pos = lead; pos < digits.size(); pos += 3) {
        out.append(separator);
        out.append(digits.substr(pos, 3));
    }
    return out;
}

} // namespace

std::string escapeRtf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

std::string formatNumber(long long value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatAmount(long long value, std::string_view separator)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    return groupDigits(negative, text, separator);
}

std::string formatRealAmount(double value, std::string_view separator)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    const double rounded = std::round(value);
    if (rounded == 0)
        return "0"; // also for -0.4, which rounds to negative zero
    // Every finite double fits here: the largest has 309 integer digits.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded), std::chars_format::fixed, 0);
    return groupDigits(rounded < 0, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                       separator);
}
