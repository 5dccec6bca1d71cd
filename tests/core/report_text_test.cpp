// Report texts: escaping, whole amounts with separators, and real amounts rounded half away from zero.

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "report/report_text.h"

namespace {

TEST(ReportText, EscapingMarksOnlyBackslashAndBraces)
{
    EXPECT_EQ(escapeRtf(R"(a\b{c}d)"), R"(a\\b\{c\}d)");
    const std::string untouched("caf\xE9 \x80\r\n\t'\"*", 12);
    EXPECT_EQ(escapeRtf(untouched), untouched);
    EXPECT_EQ(escapeRtf(""), "");
}

struct WholeAmount {
    long long value;
    const char* separator;
    const char* expected;
};

class WholeAmounts : public testing::TestWithParam<WholeAmount> {};

TEST_P(WholeAmounts, GroupThreeDigits)
{
    EXPECT_EQ(formatAmount(GetParam().value, GetParam().separator), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ReportText, WholeAmounts,
                         testing::Values(WholeAmount{0, ",", "0"}, WholeAmount{999, ",", "999"},
                                         WholeAmount{1000, ",", "1,000"}, WholeAmount{-999, ",", "-999"},
                                         WholeAmount{-1000, ",", "-1,000"},
                                         WholeAmount{-1234567, ",", "-1,234,567"},
                                         WholeAmount{123456, ".", "123.456"}, WholeAmount{1234567, "", "1234567"},
                                         WholeAmount{1234567, "\xC2\xA0", "1\xC2\xA0" "234\xC2\xA0" "567"},
                                         WholeAmount{LLONG_MIN, ",", "-9,223,372,036,854,775,808"},
                                         WholeAmount{LLONG_MAX, ",", "9,223,372,036,854,775,807"}));

struct RealAmount {
    double value;
    const char* expected;
};

class RealAmounts : public testing::TestWithParam<RealAmount> {};

TEST_P(RealAmounts, RoundHalfAwayFromZero)
{
    EXPECT_EQ(formatRealAmount(GetParam().value, ","), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReportText, RealAmounts,
    testing::Values(RealAmount{0.0, "0"}, RealAmount{-0.0, "0"}, RealAmount{-0.4, "0"}, RealAmount{0.5, "1"},
                    RealAmount{-0.5, "-1"}, RealAmount{1.5, "2"}, RealAmount{2.5, "3"}, RealAmount{-2.5, "-3"},
                    // the largest double below one half must not be pushed up by the rounding
                    RealAmount{0.49999999999999994, "0"}, RealAmount{1234567.5, "1,234,568"},
                    RealAmount{-999.5, "-1,000"}, RealAmount{1e15 + 0.5, "1,000,000,000,000,001"},
                    RealAmount{9007199254740993.0, "9,007,199,254,740,992"},
                    RealAmount{1e20, "100,000,000,000,000,000,000"},
                    RealAmount{std::numeric_limits<double>::quiet_NaN(), "NaN"},
                    RealAmount{std::numeric_limits<double>::infinity(), "Infinity"},
                    RealAmount{-std::numeric_limits<double>::infinity(), "-Infinity"}));

TEST(ReportText, LargestFiniteAmountsKeepEveryDigit)
{
    const std::string max = formatRealAmount(DBL_MAX, ",");
    EXPECT_EQ(max.substr(0, 12), "179,769,313,");
    EXPECT_EQ(max.size(), 309u + 102u); // 309 digits, a separator before each further group of three
    EXPECT_EQ(formatRealAmount(-DBL_MAX, ","), "-" + max);
    EXPECT_EQ(formatRealAmount(DBL_MIN, ","), "0");
}

} // namespace
