#include "model/typed_number.h"

#include <algorithm>

namespace {

constexpr long long kSaturation = 1'000'000'000'000'000LL;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<long long> readTypedWholeNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = std::min(magnitude * 10 + (c - '0'), kSaturation);
    }
    return negative ? -magnitude : magnitude;
}

int32_t clampedTo(long long value, int32_t low, int32_t high)
{
    return static_cast<int32_t>(std::clamp<long long>(value, low, high));
}

int32_t readTypedScore(std::string_view text, int32_t fallback)
{
    const auto value = readTypedWholeNumber(text);
    return value ? clampedTo(*value, 1, 10) : fallback;
}
