#include <gtest/gtest.h>

#include <cmath>

#include "model/cp1252.h"
#include "model/date_time.h"
#include "model/typed_number.h"

TEST(Cp1252, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const auto back = utf8ToCp1252(cp1252ToUtf8(all));
    EXPECT_FALSE(back.badIndex);
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");     // undefined byte keeps its value
    EXPECT_EQ(cp1252ToUtf8("\xE9"), "\xC3\xA9");
}

TEST(Cp1252, ReportsTheFirstCharacterItCannotHold)
{
    const auto result = utf8ToCp1252("ab\xE4\xB8\xAD"); // U+4E2D
    ASSERT_TRUE(result.badIndex);
    EXPECT_EQ(*result.badIndex, 2u);
    EXPECT_EQ(result.badCodePoint, U'\u4E2D');
    EXPECT_FALSE(result.invalidUtf8);

    for (const char* invalid : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "a\xE2\x82"}) {
        const auto r = utf8ToCp1252(invalid);
        EXPECT_TRUE(r.invalidUtf8) << invalid;
    }
}

TEST(DateTime, FormatsDayMonthYear)
{
    EXPECT_EQ(formatDate(1.0), "31/12/1899");
    EXPECT_EQ(formatDate(0.0), "30/12/1899");
    EXPECT_EQ(formatDate(45658.75), "01/01/2025");
    EXPECT_EQ(formatDate(-1.25), "29/12/1899");
    EXPECT_EQ(formatDate(encodeDate(2028, 2, 29)), "29/02/2028");
    EXPECT_EQ(formatDate(std::nan("")), "\?\?/\?\?/\?\?\?\?");
    EXPECT_EQ(formatDate(1e300), "\?\?/\?\?/\?\?\?\?");
    EXPECT_EQ(encodeDate(1970, 1, 1), 25569.0);
}

TEST(DateTime, ParsesOnlyValidDates)
{
    EXPECT_EQ(parseDate("31/12/1899"), 1.0);
    EXPECT_EQ(parseDate("1/2/2027"), encodeDate(2027, 2, 1));
    for (const char* bad : {"", "29/02/2027", "32/01/2027", "1/13/2027", "01/01/27", "a/b/c", "1/1/2027/1", "1//2027"})
        EXPECT_FALSE(parseDate(bad)) << bad;
}

TEST(ShortDate, WritesAndReadsTheProgramWideFormat)
{
    const ShortDateFormat classic;
    const ShortDateFormat brief{false, false, false, '/'};
    const double fifthNovember = encodeDate(2026, 11, 5);
    EXPECT_EQ(formatShortDate(fifthNovember, classic), "05/11/2026");
    EXPECT_EQ(formatShortDate(fifthNovember, brief), "5/11/26");
    EXPECT_EQ(formatShortDate(encodeDate(2007, 3, 9), brief), "9/3/07");
    EXPECT_EQ(formatShortDate(std::nan(""), brief), "?/?/??");

    EXPECT_EQ(parseShortDate("5/11/26", brief, 2026), fifthNovember);
    EXPECT_EQ(parseShortDate("05/11/2026", brief, 2026), fifthNovember);
    EXPECT_EQ(parseShortDate("05/11/2026", classic, 2026), fifthNovember);
    // Two-digit years fall within fifty years of the reference year.
    EXPECT_EQ(parseShortDate("1/1/80", brief, 2026), encodeDate(1980, 1, 1));
    EXPECT_EQ(parseShortDate("1/1/76", brief, 2026), encodeDate(2076, 1, 1));
    for (const char* bad : {"31/02/2026", "  /  /    ", "", "5-11-2026", "5/11/202", "5/11", "1/2/3/4", "005/1/2026"})
        EXPECT_FALSE(parseShortDate(bad, brief, 2026)) << bad;
}

TEST(ShortDate, ReadsDatesAsTypedWithOrWithoutSeparators)
{
    const double ides = encodeDate(2027, 3, 15);
    for (const char* typed : {"15/03/2027", "15/3/27", " 15/3/2027 ", "150327", "15032027"})
        EXPECT_EQ(parseTypedDate(typed, 2026), ides) << typed;
    EXPECT_EQ(parseTypedDate("1/1/2080", 2026), encodeDate(2080, 1, 1));
    EXPECT_EQ(parseTypedDate("30/6/27", 2026), encodeDate(2027, 6, 30));
    for (const char* bad : {"", "15", "1503", "1532027", "150327x", "31/02/2027", "310227", "tomorrow", "15-03-2027"})
        EXPECT_FALSE(parseTypedDate(bad, 2026)) << bad;
}

TEST(TypedNumber, ReadsWhatMaskedFieldsAndCellsHold)
{
    EXPECT_EQ(readTypedWholeNumber("57"), 57);
    EXPECT_EQ(readTypedWholeNumber(" 7 "), 7);
    EXPECT_EQ(readTypedWholeNumber("+3"), 3);
    EXPECT_EQ(readTypedWholeNumber("-1234567"), -1234567);
    EXPECT_EQ(readTypedWholeNumber("99999999999999999999999"), 1'000'000'000'000'000LL);
    EXPECT_EQ(readTypedWholeNumber("-99999999999999999999999"), -1'000'000'000'000'000LL);
    for (const char* none : {"", "  ", "ab", "1 2", "1.5", "-", "+", "1e3", "--1", "0x10"})
        EXPECT_FALSE(readTypedWholeNumber(none)) << none;

    EXPECT_EQ(readTypedScore("0"), 1);
    EXPECT_EQ(readTypedScore("57"), 10);
    EXPECT_EQ(readTypedScore("ab"), 1);
    EXPECT_EQ(readTypedScore("", 0), 0);
    EXPECT_EQ(clampedTo(150, 0, 100), 100);
    EXPECT_EQ(clampedTo(-5'000'000'000LL, INT32_MIN, INT32_MAX), INT32_MIN);
}
