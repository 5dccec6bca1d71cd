#pragma once

// Exact conversion between IEEE double and the 80-bit x87 extended format that case files store.

#include <array>
#include <cstdint>

using Extended80 = std::array<uint8_t, 10>;

// Widening is exact for every double, including zeros, subnormals, infinities and NaN payloads.
Extended80 doubleToExtended(double value);

// Narrowing rounds to nearest, ties to even; too large values become infinities, too small ones
// subnormals or zero. NaN stays NaN (with as much payload as fits); unnormals and other patterns
// the x87 unit rejects become NaN, as they do on that unit.
double extendedToDouble(const Extended80& bytes);
