#pragma once

// windows-1252 <-> Unicode. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the code points of the same value, so every byte string survives a round trip.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The code point of one byte.
char32_t cp1252ToCodePoint(uint8_t byte);
// The byte for a code point, or nothing when the code page has no such character.
std::optional<uint8_t> codePointToCp1252(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view bytes);

struct Utf8ToCp1252Result {
    std::string bytes;
    // Index (in code points) of the first character the code page cannot hold, if any.
    std::optional<std::size_t> badIndex;
    char32_t badCodePoint = 0;
    bool invalidUtf8 = false;
};
// Converts valid UTF-8; stops at the first character windows-1252 cannot hold, or at invalid UTF-8.
Utf8ToCp1252Result utf8ToCp1252(std::string_view utf8);
