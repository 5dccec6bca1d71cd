#include "model/extended.h"

#include <bit>
#include <cstring>

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

uint64_t doubleBits(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double bitsToDouble(uint64_t bits)
{
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// value >> shift, rounded to nearest with ties to even. shift may exceed 63.
uint64_t shiftRightRounded(uint64_t value, int shift)
{
    if (shift <= 0)
        return value;
    if (shift > 64)
        return 0; // value < 2^64 <= 2^(shift-1): below one half
    const uint64_t kept = shift == 64 ? 0 : value >> shift;
    const uint64_t half = uint64_t{1} << (shift - 1);
    const uint64_t rest = shift == 64 ? value : value & ((uint64_t{1} << shift) - 1);
    if (rest > half || (rest == half && (kept & 1)))
        return kept + 1;
    return kept;
}

} // namespace

Extended80 doubleToExtended(double value)
{
    const uint64_t bits = doubleBits(value);
    const bool negative = bits >> 63;
    const int exponentField = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);

    uint64_t mantissa = 0;
    int exponent = 0; // biased extended exponent
    if (exponentField == 0x7FF) {
        exponent = 0x7FFF;
        mantissa = (uint64_t{1} << 63) | (fraction << 11);
    } else if (exponentField != 0) {
        exponent = exponentField - kDoubleBias + kExtendedBias;
        mantissa = (uint64_t{1} << 63) | (fraction << 11);
    } else if (fraction != 0) {
        // Subnormal double: value = fraction * 2^-1074; normalise so the top bit is the integer bit.
        const int lead = 63 - std::countl_zero(fraction);
        mantissa = fraction << (63 - lead);
        exponent = (lead - 1074) + kExtendedBias;
    }

    Extended80 out{};
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
    const uint16_t signExponent = static_cast<uint16_t>((negative ? 0x8000 : 0) | exponent);
    out[8] = static_cast<uint8_t>(signExponent & 0xFF);
    out[9] = static_cast<uint8_t>(signExponent >> 8);
    return out;
}

double extendedToDouble(const Extended80& bytes)
{
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    const uint16_t signExponent = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const uint64_t sign = static_cast<uint64_t>(signExponent >> 15) << 63;
    const int exponent = signExponent & 0x7FFF;

    const bool integerBit = mantissa >> 63;
    if (exponent != 0 && !integerBit) {
        // Unnormals, pseudo-infinities and pseudo-NaNs are invalid operands to the x87 unit, which
        // turns them into the default NaN; do the same.
        return bitsToDouble((uint64_t{0xFFF} << 51));
    }
    if (exponent == 0x7FFF) {
        const uint64_t fraction = mantissa & ~(uint64_t{1} << 63);
        if (fraction == 0)
            return bitsToDouble(sign | (uint64_t{0x7FF} << 52));
        // NaN: keep the top payload bits and make sure the result is still a NaN.
        uint64_t payload = fraction >> 11;
        if (payload == 0)
            payload = uint64_t{1} << 51;
        return bitsToDouble(sign | (uint64_t{0x7FF} << 52) | payload);
    }
    if (mantissa == 0)
        return bitsToDouble(sign);

    // value = mantissa * 2^e; exponent field 0 (denormal) uses the same scale as field 1.
    const int e = (exponent == 0 ? 1 : exponent) - kExtendedBias - 63;
    const int lead = 63 - std::countl_zero(mantissa);
    int unbiased = lead + e; // position of the leading bit

    if (unbiased > kDoubleBias)
        return bitsToDouble(sign | (uint64_t{0x7FF} << 52));

    if (unbiased >= 1 - kDoubleBias) {
        // Normal range: keep 53 significant bits.
        uint64_t significand;
        const int shift = lead - 52;
        if (shift > 0) {
            significand = shiftRightRounded(mantissa, shift);
            if (significand >> 53) { // rounding carried into a new bit
                significand >>= 1;
                ++unbiased;
                if (unbiased > kDoubleBias)
                    return bitsToDouble(sign | (uint64_t{0x7FF} << 52));
            }
        } else {
            significand = mantissa << -shift;
        }
        const uint64_t field = static_cast<uint64_t>(unbiased + kDoubleBias);
        return bitsToDouble(sign | (field << 52) | (significand & ((uint64_t{1} << 52) - 1)));
    }

    // Subnormal range: the result is k * 2^-1074. A k that rounds up to 2^52 lands exactly on the
    // smallest normal number, which the bit layout expresses by itself.
    const int shift = -1074 - e;
    const uint64_t k = shiftRightRounded(mantissa, shift);
    return bitsToDouble(sign | k);
}
