#include "model/extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

uint64_t bitsOf(double v)
{
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

Extended80 makeExtended(uint64_t mantissa, uint16_t signExponent)
{
    Extended80 e{};
    for (int i = 0; i < 8; ++i)
        e[static_cast<std::size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
    e[8] = static_cast<uint8_t>(signExponent);
    e[9] = static_cast<uint8_t>(signExponent >> 8);
    return e;
}

} // namespace

TEST(Extended, OneIsTheDocumentedByteSequence)
{
    const Extended80 expected = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(doubleToExtended(1.0), expected);
}

TEST(Extended, SpecialValuesSurviveTheRoundTrip)
{
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -2.5,
                             45000.75,
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min() * 12345,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double v : values)
        EXPECT_EQ(bitsOf(extendedToDouble(doubleToExtended(v))), bitsOf(v)) << v;
    EXPECT_TRUE(std::isnan(extendedToDouble(doubleToExtended(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(Extended, NarrowingRoundsToNearestEven)
{
    // 1 + 2^-53 is exactly halfway between 1 and the next double: ties go to the even one (1).
    EXPECT_EQ(extendedToDouble(makeExtended((uint64_t{1} << 63) | (uint64_t{1} << 10), 0x3FFF)), 1.0);
    // 1 + 3 * 2^-53 is halfway between 1 + 2^-52 (odd) and 1 + 2^-51 (even).
    EXPECT_EQ(extendedToDouble(makeExtended((uint64_t{1} << 63) | (uint64_t{3} << 10), 0x3FFF)),
              1.0 + std::ldexp(1.0, -51));
    // Just above the halfway point rounds up.
    EXPECT_EQ(extendedToDouble(makeExtended((uint64_t{1} << 63) | (uint64_t{1} << 10) | 1, 0x3FFF)),
              1.0 + std::ldexp(1.0, -52));
    // All ones in the mantissa rounds up into the next power of two.
    EXPECT_EQ(extendedToDouble(makeExtended(~uint64_t{0}, 0x3FFF)), 2.0);
}

TEST(Extended, OutOfRangeValuesSaturateOrUnderflow)
{
    EXPECT_EQ(extendedToDouble(makeExtended(uint64_t{1} << 63, 0x3FFF + 1024)),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(extendedToDouble(makeExtended(uint64_t{1} << 63, 0x8000 | (0x3FFF + 1024))),
              -std::numeric_limits<double>::infinity());
    EXPECT_EQ(extendedToDouble(makeExtended(uint64_t{1} << 63, 1)), 0.0);
    // Half of the smallest subnormal is a tie and goes to zero; a bit more goes up.
    EXPECT_EQ(extendedToDouble(makeExtended(uint64_t{1} << 63, 0x3FFF - 1075)), 0.0);
    EXPECT_EQ(extendedToDouble(makeExtended((uint64_t{1} << 63) | 1, 0x3FFF - 1075)),
              std::numeric_limits<double>::denorm_min());
    // Extended denormals and pseudo-NaNs do not crash and give sensible values.
    EXPECT_EQ(extendedToDouble(makeExtended(12345, 0)), 0.0);
    EXPECT_TRUE(std::isnan(extendedToDouble(makeExtended(1, 0x7FFF))));
    EXPECT_TRUE(std::isnan(extendedToDouble(makeExtended(uint64_t{1} << 62, 0x3FFF)))); // unnormal
}

#if LDBL_MANT_DIG == 64
// On x86 the hardware implements the very format: compare against it for random bit patterns.
TEST(Extended, AgreesWithTheHardwareOnRandomPatterns)
{
    std::mt19937_64 random(42);
    for (int i = 0; i < 200000; ++i) {
        const uint64_t mantissa = random() | (i % 3 ? uint64_t{1} << 63 : 0);
        // Bias exponents towards the interesting double range and its edges.
        uint16_t exponent = static_cast<uint16_t>(random() % 0x8000);
        if (i % 2)
            exponent = static_cast<uint16_t>(0x3FFF - 1100 + random() % 2200);
        const uint16_t signExponent = static_cast<uint16_t>(exponent | ((random() & 1) << 15));
        const Extended80 e = makeExtended(mantissa, signExponent);
        long double hardware = 0;
        std::memcpy(&hardware, e.data(), 10);
        const double expected = static_cast<double>(hardware);
        const double actual = extendedToDouble(e);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(actual)) << std::hex << mantissa << " " << signExponent;
        } else {
            ASSERT_EQ(bitsOf(actual), bitsOf(expected)) << std::hex << mantissa << " " << signExponent;
        }
    }
}

TEST(Extended, WideningMatchesTheHardware)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        double v;
        const uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isnan(v))
            continue;
        long double hardware = v;
        const Extended80 e = doubleToExtended(v);
        ASSERT_EQ(std::memcmp(e.data(), &hardware, 10), 0) << v;
    }
}
#endif
