#pragma once

// The tagged value encoding of case files. Every value starts with a one-byte tag; numbers are
// little-endian. The reader has one byte of look-ahead; bytes already in memory are read in place,
// other sources are pulled through a 1000-byte buffer. The writer produces the canonical encoding
// and nothing else.
//
// Both sides handle whole values inline on their fast path (a case is hundreds of thousands of
// small values); running out of bytes, of room or into an error goes out of line.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/extended.h"

enum class ValueTag : uint8_t {
    EndOfList = 0,
    BeginOfList = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    ShortString = 6,
    False = 8,
    True = 9,
    LongString = 12,
};

// A read failure: where it happened (offset of the offending byte from the start of the data) and
// what was expected there. what() reads "offset 1234: expected ..., found ...".
class ReadError : public std::runtime_error {
public:
    ReadError(uint64_t offset, const std::string& detail);
    uint64_t offset() const { return offset_; }
    const std::string& detail() const { return detail_; }

private:
    uint64_t offset_;
    std::string detail_;
};

// Where the reader's bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes; returns 0 only at the end of the data. Throws on an I/O error.
    virtual std::size_t read(char* buffer, std::size_t n) = 0;
    // Total size in bytes when known in advance (files, memory), so impossible lengths are refused
    // before anything is allocated.
    virtual std::optional<uint64_t> size() const = 0;
    // When all the remaining bytes are in memory already: hands them over, as consumed, so the
    // reader can work on them where they are instead of copying them through its buffer.
    virtual std::optional<std::string_view> takeInPlace() { return std::nullopt; }
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* buffer, std::size_t n) override;
    std::optional<uint64_t> size() const override { return bytes_.size(); }
    std::optional<std::string_view> takeInPlace() override;

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Reads an open file. The file stays owned by the caller.
class FileSource : public ByteSource {
public:
    explicit FileSource(std::FILE* file);
    std::size_t read(char* buffer, std::size_t n) override;
    std::optional<uint64_t> size() const override { return size_; }

private:
    std::FILE* file_;
    std::optional<uint64_t> size_;
};

// A set of tags as bits, for checking a tag against all the ones a field accepts at once.
constexpr uint32_t tagBit(ValueTag tag)
{
    return uint32_t{1} << static_cast<unsigned>(tag);
}

class ValueReader {
public:
    static constexpr std::size_t kBufferSize = 1000;

    explicit ValueReader(ByteSource& source);
    ValueReader(const ValueReader&) = delete;
    ValueReader& operator=(const ValueReader&) = delete;

    std::string readString();
    // The same, into `out`, whose storage is reused when it is large enough.
    void readString(std::string& out);
    int32_t readInteger();
    // Tag 5, or an integer tag converted to floating point.
    double readFloat();
    // Any tag byte: 9 is true, everything else false.
    bool readBool();
    void readListBegin();
    // Looks at the next byte without consuming it: true when it is the end-of-list tag.
    bool atListEnd();
    void readListEnd();

    // Offset of the next byte to be read.
    uint64_t offset() const { return start_ + static_cast<uint64_t>(next_ - begin_); }

private:
    static constexpr uint32_t kIntegerTags = tagBit(ValueTag::Int8) | tagBit(ValueTag::Int16) | tagBit(ValueTag::Int32);

    std::size_t available() const { return static_cast<std::size_t>(end_ - next_); }
    // Consumes the next byte when its bit is in `accepted`; otherwise fails saying what was
    // `expected` and what was found.
    uint8_t takeTag(uint32_t accepted, const char* expected)
    {
        if (next_ != end_) {
            const auto tag = static_cast<uint8_t>(*next_);
            if (tag < 32 && ((accepted >> tag) & 1)) {
                ++next_;
                return tag;
            }
        }
        return takeTagSlow(accepted, expected);
    }
    // The value after an integer tag, sign-extended.
    int32_t integerAfter(uint8_t tag)
    {
        const int size = tag == static_cast<uint8_t>(ValueTag::Int8) ? 1 : tag == static_cast<uint8_t>(ValueTag::Int16) ? 2 : 4;
        if (available() < static_cast<std::size_t>(size))
            return integerAfterSlow(size);
        const auto* p = reinterpret_cast<const unsigned char*>(next_);
        next_ += size;
        if (size == 1)
            return static_cast<int8_t>(p[0]);
        if (size == 2)
            return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
        return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                    (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
    }

    uint8_t takeTagSlow(uint32_t accepted, const char* expected);
    int32_t integerAfterSlow(int size);
    int64_t stringLengthSlow(uint8_t tag);
    void stringBodySlow(int64_t length, uint64_t lengthAt, std::string& out);
    double extendedSlow();
    bool readBoolSlow();
    bool atListEndSlow();
    // Moves the window on to the source's next bytes; false at the end of the data.
    bool refill();
    uint8_t nextByte();
    void readBytes(char* out, std::size_t n);
    [[noreturn]] void fail(uint64_t at, const std::string& detail) const;

    ByteSource& source_;
    bool inPlace_ = false;
    // The window [begin_, end_) holds the bytes from offset start_ on; next_ is the next to read.
    const char* begin_ = nullptr;
    const char* next_ = nullptr;
    const char* end_ = nullptr;
    uint64_t start_ = 0;
    std::optional<uint64_t> size_;
    char buffer_[kBufferSize];
};

inline void ValueReader::readString(std::string& out)
{
    const uint8_t tag = takeTag(tagBit(ValueTag::ShortString) | tagBit(ValueTag::LongString), "a string (tag 6 or 12)");
    const uint64_t lengthAt = offset();
    int64_t length;
    if (tag == static_cast<uint8_t>(ValueTag::ShortString) && available() >= 1) {
        length = static_cast<uint8_t>(*next_++);
    } else if (tag == static_cast<uint8_t>(ValueTag::LongString) && available() >= 4) {
        length = integerAfter(static_cast<uint8_t>(ValueTag::Int32));
    } else {
        length = stringLengthSlow(tag);
    }
    // Within the window the bytes are certainly there, so no limit can be exceeded.
    if (length >= 0 && static_cast<uint64_t>(length) <= available()) {
        out.assign(next_, static_cast<std::size_t>(length));
        next_ += length;
        return;
    }
    stringBodySlow(length, lengthAt, out);
}

inline std::string ValueReader::readString()
{
    std::string text;
    readString(text);
    return text;
}

inline int32_t ValueReader::readInteger()
{
    return integerAfter(takeTag(kIntegerTags, "an integer (tag 2, 3 or 4)"));
}

inline double ValueReader::readFloat()
{
    const uint8_t tag = takeTag(tagBit(ValueTag::Extended) | kIntegerTags,
                                "a floating-point number (tag 5, or an integer tag 2, 3 or 4)");
    if (tag != static_cast<uint8_t>(ValueTag::Extended))
        return integerAfter(tag);
    Extended80 bytes;
    if (available() < bytes.size())
        return extendedSlow();
    std::memcpy(bytes.data(), next_, bytes.size());
    next_ += bytes.size();
    return extendedToDouble(bytes);
}

inline bool ValueReader::readBool()
{
    if (next_ == end_)
        return readBoolSlow();
    return static_cast<uint8_t>(*next_++) == static_cast<uint8_t>(ValueTag::True);
}

inline void ValueReader::readListBegin()
{
    takeTag(tagBit(ValueTag::BeginOfList), "the start of a list (tag 1)");
}

inline bool ValueReader::atListEnd()
{
    if (next_ == end_)
        return atListEndSlow();
    return static_cast<uint8_t>(*next_) == static_cast<uint8_t>(ValueTag::EndOfList);
}

inline void ValueReader::readListEnd()
{
    takeTag(tagBit(ValueTag::EndOfList), "the end of a list (tag 0)");
}

// Writes into blocks of memory through a cursor; the blocks are joined once at the end, so encoding
// needs neither a counting pass first nor a growing buffer that is copied again and again.
class ValueWriter {
public:
    // A counting writer only adds up the size the bytes would have. take() allocates the result at
    // its exact size in any case, so counting first no longer saves memory or time.
    enum class Mode { Write, Count };
    explicit ValueWriter(Mode mode = Mode::Write) : counting_(mode == Mode::Count) {}
    ValueWriter(const ValueWriter&) = delete;
    ValueWriter& operator=(const ValueWriter&) = delete;

    void writeString(std::string_view s);
    void writeInteger(int32_t v);
    void writeFloat(double v);
    void writeBool(bool v) { put(static_cast<char>(v ? ValueTag::True : ValueTag::False)); }
    void writeListBegin() { put(static_cast<char>(ValueTag::BeginOfList)); }
    void writeListEnd() { put(static_cast<char>(ValueTag::EndOfList)); }

    // The bytes written so far.
    const std::string& bytes() const;
    // The bytes written so far, in a string of their exact size; the writer starts empty again.
    std::string take();
    // Room for n bytes in all, so that writing that many allocates nothing more.
    void reserve(std::size_t n);
    // Bytes written (or counted) so far.
    std::size_t size() const { return counting_ ? count_ : flushed_ + static_cast<std::size_t>(next_ - begin_); }

private:
    // Blocks stay below the size at which the allocator maps fresh pages for every request.
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // Room for n more bytes at next_.
    char* room(std::size_t n)
    {
        if (static_cast<std::size_t>(end_ - next_) < n)
            grow(n);
        return next_;
    }
    void put(char c)
    {
        if (counting_) {
            ++count_;
            return;
        }
        *room(1) = c;
        ++next_;
    }
    void put(const char* p, std::size_t n)
    {
        if (counting_) {
            count_ += n;
            return;
        }
        if (n == 0)
            return;
        std::memcpy(room(n), p, n);
        next_ += n;
    }
    void grow(std::size_t n);
    std::string joined() const;

    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
    };

    bool counting_;
    std::size_t count_ = 0;
    // The block being written: begin_, next_ and end_ point into it. Blocks are not cleared
    // before use; every byte handed out was written.
    std::unique_ptr<char[]> block_;
    char* begin_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    // Earlier blocks, with the number of bytes written into each, and their total.
    std::vector<Block> full_;
    std::size_t flushed_ = 0;
    mutable std::string bytes_;
};

inline void ValueWriter::writeString(std::string_view s)
{
    const std::size_t n = s.size();
    if (counting_) {
        count_ += (n <= 255 ? 2 : 5) + n;
        return;
    }
    char* out = room(5);
    if (n <= 255) {
        out[0] = static_cast<char>(ValueTag::ShortString);
        out[1] = static_cast<char>(n);
        next_ = out + 2;
    } else {
        const auto u = static_cast<uint32_t>(n);
        out[0] = static_cast<char>(ValueTag::LongString);
        for (int i = 0; i < 4; ++i)
            out[1 + i] = static_cast<char>(u >> (8 * i));
        next_ = out + 5;
    }
    put(s.data(), n);
}

inline void ValueWriter::writeInteger(int32_t v)
{
    const int bytes = (v >= -128 && v <= 127) ? 1 : (v >= -32768 && v <= 32767) ? 2 : 4;
    if (counting_) {
        count_ += static_cast<std::size_t>(bytes) + 1;
        return;
    }
    char* out = room(5);
    out[0] = static_cast<char>(bytes == 1 ? ValueTag::Int8 : bytes == 2 ? ValueTag::Int16 : ValueTag::Int32);
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < bytes; ++i)
        out[1 + i] = static_cast<char>(u >> (8 * i));
    next_ = out + 1 + bytes;
}

inline void ValueWriter::writeFloat(double v)
{
    if (counting_) {
        count_ += 11;
        return;
    }
    char* out = room(11);
    out[0] = static_cast<char>(ValueTag::Extended);
    const Extended80 bytes = doubleToExtended(v);
    std::memcpy(out + 1, bytes.data(), bytes.size());
    next_ = out + 11;
}
