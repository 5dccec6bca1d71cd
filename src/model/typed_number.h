#pragma once

// Whole numbers as users type them into grid cells and masked fields. Each field then applies
// its own rule for text that is no number and for values out of range.

#include <cstdint>
#include <optional>
#include <string_view>

// Blanks around the number (masked edits pad with them) and one leading sign are allowed,
// anything else but digits makes it no number. Digits beyond any sensible value saturate at
// plus or minus 10^15, so a long run of nines reads as a very large number of its sign, not as
// garbage and not as no number.
std::optional<long long> readTypedWholeNumber(std::string_view text);

// `value` limited to low..high.
int32_t clampedTo(long long value, int32_t low, int32_t high);

// The rule of every score (importance, match, impact, likelihood, status): 1..10, and
// `fallback` for text that is no number.
int32_t readTypedScore(std::string_view text, int32_t fallback = 1);
