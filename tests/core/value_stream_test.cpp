#include "model/value_stream.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_support.h"

using testing_support::bytes;
using testing_support::PieceSource;

namespace {

std::string encodeInteger(int32_t v)
{
    ValueWriter w;
    w.writeInteger(v);
    return w.take();
}

struct IntegerCase {
    int32_t value;
    std::string encoded;
};

class CanonicalInteger : public ::testing::TestWithParam<IntegerCase> {};

} // namespace

TEST_P(CanonicalInteger, UsesTheSmallestTagAndReadsBack)
{
    const auto& c = GetParam();
    EXPECT_EQ(encodeInteger(c.value), c.encoded);
    MemorySource source(c.encoded);
    ValueReader reader(source);
    EXPECT_EQ(reader.readInteger(), c.value);
    EXPECT_EQ(reader.offset(), c.encoded.size());
}

INSTANTIATE_TEST_SUITE_P(
    TagBoundaries, CanonicalInteger,
    ::testing::Values(IntegerCase{-1, bytes({2, 0xFF})}, IntegerCase{0, bytes({2, 0})},
                      IntegerCase{127, bytes({2, 0x7F})}, IntegerCase{128, bytes({3, 0x80, 0})},
                      IntegerCase{-128, bytes({2, 0x80})}, IntegerCase{-129, bytes({3, 0x7F, 0xFF})},
                      IntegerCase{300, bytes({3, 0x2C, 0x01})}, IntegerCase{32767, bytes({3, 0xFF, 0x7F})},
                      IntegerCase{-32768, bytes({3, 0x00, 0x80})},
                      IntegerCase{32768, bytes({4, 0x00, 0x80, 0, 0})},
                      IntegerCase{-32769, bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
                      IntegerCase{70000, bytes({4, 0x70, 0x11, 0x01, 0x00})},
                      IntegerCase{std::numeric_limits<int32_t>::max(), bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})},
                      IntegerCase{std::numeric_limits<int32_t>::min(), bytes({4, 0, 0, 0, 0x80})}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) {
        const auto v = info.param.value;
        return (v < 0 ? "minus" : "") + std::to_string(v < 0 ? -static_cast<int64_t>(v) : v);
    });

TEST(ValueStream, StringsSwitchToTheLongTagAbove255Bytes)
{
    ValueWriter w;
    w.writeString("abc");
    w.writeString("");
    EXPECT_EQ(w.bytes(), bytes({6, 3, 'a', 'b', 'c', 6, 0}));

    ValueWriter shortWriter;
    shortWriter.writeString(std::string(255, 'x'));
    EXPECT_EQ(shortWriter.bytes().substr(0, 2), bytes({6, 0xFF}));
    EXPECT_EQ(shortWriter.bytes().size(), 257u);

    ValueWriter longWriter;
    longWriter.writeString(std::string(256, 'y'));
    EXPECT_EQ(longWriter.bytes().substr(0, 5), bytes({12, 0, 1, 0, 0}));
    EXPECT_EQ(longWriter.bytes().size(), 261u);

    // Both forms read back, in either size: the reader accepts a long tag for a short string too.
    const std::string input = longWriter.bytes() + bytes({12, 2, 0, 0, 0, 'h', 'i'}) + shortWriter.bytes();
    MemorySource source(input);
    ValueReader reader(source);
    EXPECT_EQ(reader.readString(), std::string(256, 'y'));
    EXPECT_EQ(reader.readString(), "hi");
    EXPECT_EQ(reader.readString(), std::string(255, 'x'));
}

TEST(ValueStream, LargeOutputsComeOutWholeAndInOrder)
{
    // Far more than one block of output, with texts larger than a block among the small values.
    // Each value written alone gives the expected bytes; so do a counting writer and a writer
    // that reserved the whole size first.
    ValueWriter writer;
    ValueWriter counter(ValueWriter::Mode::Count);
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        const std::string text(i % 500 == 7 ? 70000 + i : static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26));
        for (ValueWriter* w : {&writer, &counter}) {
            w->writeString(text);
            w->writeInteger(i * 1000);
            w->writeFloat(i + 0.25);
            w->writeBool(i % 2 == 0);
        }
        ValueWriter one;
        one.writeString(text);
        one.writeInteger(i * 1000);
        one.writeFloat(i + 0.25);
        one.writeBool(i % 2 == 0);
        expected += one.take();
    }
    ASSERT_GT(expected.size(), 900000u);
    EXPECT_EQ(counter.size(), expected.size());
    EXPECT_EQ(writer.size(), expected.size());
    EXPECT_TRUE(writer.bytes() == expected);
    EXPECT_TRUE(writer.take() == expected);
    EXPECT_EQ(writer.size(), 0u);

    ValueWriter reserved;
    reserved.reserve(expected.size());
    MemorySource source(expected);
    ValueReader reader(source);
    while (reader.offset() < expected.size()) {
        reserved.writeString(reader.readString());
        reserved.writeInteger(reader.readInteger());
        reserved.writeFloat(reader.readFloat());
        reserved.writeBool(reader.readBool());
    }
    EXPECT_TRUE(reserved.take() == expected);
}

TEST(ValueStream, BoolsFloatsAndListsHaveTheirFixedBytes)
{
    ValueWriter w;
    w.writeBool(true);
    w.writeBool(false);
    w.writeListBegin();
    w.writeListEnd();
    w.writeFloat(1.0);
    EXPECT_EQ(w.bytes(), bytes({9, 8, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
}

TEST(ValueStream, AnyBoolByteOtherThanNineReadsFalse)
{
    const std::string input = bytes({9, 8, 0, 1, 2, 0xFF, 12});
    MemorySource source(input);
    ValueReader reader(source);
    EXPECT_TRUE(reader.readBool());
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(reader.readBool());
}

TEST(ValueStream, FloatFieldsAcceptIntegerTags)
{
    const std::string input = bytes({2, 0xFE, 3, 0x10, 0x27, 4, 0xA0, 0x86, 0x01, 0x00});
    MemorySource source(input);
    ValueReader reader(source);
    EXPECT_EQ(reader.readFloat(), -2.0);
    EXPECT_EQ(reader.readFloat(), 10000.0);
    EXPECT_EQ(reader.readFloat(), 100000.0);
}

TEST(ValueStream, WrongTagsNameTheOffsetAndWhatWasExpected)
{
    const std::string input = bytes({2, 1, 9});
    MemorySource source(input);
    ValueReader reader(source);
    reader.readInteger();
    try {
        reader.readString();
        FAIL() << "no error";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.offset(), 2u);
        EXPECT_STREQ(e.what(), "offset 2: expected a string (tag 6 or 12), found tag 9");
    }

    const std::string ints = bytes({6, 0});
    MemorySource intSource(ints);
    ValueReader intReader(intSource);
    EXPECT_THROW(intReader.readInteger(), ReadError);
}

TEST(ValueStream, ImpossibleStringLengthsFailBeforeAllocating)
{
    // Claims 2 GiB - 1 bytes with 3 bytes left: must fail at once, not try to allocate.
    const std::string huge = bytes({12, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'});
    MemorySource source(huge);
    ValueReader reader(source);
    try {
        reader.readString();
        FAIL() << "no error";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.offset(), 1u);
        EXPECT_NE(std::string(e.what()).find("exceeds the 3 bytes left"), std::string::npos) << e.what();
    }

    const std::string negative = bytes({12, 0xFE, 0xFF, 0xFF, 0xFF});
    MemorySource negativeSource(negative);
    ValueReader negativeReader(negativeSource);
    try {
        negativeReader.readString();
        FAIL() << "no error";
    } catch (const ReadError& e) {
        EXPECT_NE(std::string(e.what()).find("-2 is negative"), std::string::npos) << e.what();
    }
}

TEST(ValueStream, UnknownSizeSourcesStillRefuseMissingBytes)
{
    PieceSource source(bytes({12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}), 7, false);
    ValueReader reader(source);
    EXPECT_THROW(reader.readString(), ReadError);

    std::string many(3000, 'z');
    PieceSource longSource(bytes({12, 0xB8, 0x0B, 0, 0}) + many, 7, false);
    ValueReader longReader(longSource);
    EXPECT_EQ(longReader.readString(), many);
}

TEST(ValueStream, ReadsAcrossBufferBoundaries)
{
    // In memory the values are read in place; from a stream they straddle every refill of the
    // buffer, at every alignment.
    ValueWriter w;
    for (int i = 0; i < 400; ++i) {
        w.writeInteger(i * 1000);
        w.writeString(std::string(static_cast<std::size_t>(i % 17) * (i % 3 == 0 ? 20 : 1), 'q'));
        w.writeFloat(i + 0.5);
    }
    const std::string input = w.take();
    MemorySource memory(input);
    PieceSource pieces(input, 7, true);
    PieceSource pipe(input, 7, false);
    for (ByteSource* source : std::initializer_list<ByteSource*>{&memory, &pieces, &pipe}) {
        ValueReader reader(*source);
        for (int i = 0; i < 400; ++i) {
            ASSERT_EQ(reader.readInteger(), i * 1000);
            ASSERT_EQ(reader.readString().size(), static_cast<std::size_t>(i % 17) * (i % 3 == 0 ? 20 : 1));
            ASSERT_EQ(reader.readFloat(), i + 0.5);
        }
        EXPECT_EQ(reader.offset(), input.size());
    }
}
