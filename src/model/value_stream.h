#pragma once

// The tagged value encoding of case files. Every value starts with a one-byte tag; numbers are
// little-endian. The reader pulls bytes through a 1000-byte buffer with one byte of look-ahead;
// the writer produces the canonical encoding and nothing else.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* buffer, std::size_t n) override;
    std::optional<uint64_t> size() const override { return bytes_.size(); }

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

class ValueReader {
public:
    static constexpr std::size_t kBufferSize = 1000;

    explicit ValueReader(ByteSource& source);

    std::string readString();
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
    uint64_t offset() const { return consumed_ + pos_; }

private:
    uint8_t nextByte();
    std::optional<uint8_t> peekByte();
    bool fill();
    void readBytes(char* out, std::size_t n);
    uint64_t readUnsigned(int bytes);
    [[noreturn]] void fail(uint64_t at, const std::string& detail) const;
    uint8_t expectTag(const char* expected, std::initializer_list<ValueTag> accepted);

    ByteSource& source_;
    char buffer_[kBufferSize];
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    uint64_t consumed_ = 0; // bytes before buffer_[0]
    std::optional<uint64_t> size_;
};

class ValueWriter {
public:
    // A counting writer only adds up the size the bytes would have; encoding a large case counts
    // first so the output is allocated once instead of growing (and page-faulting) repeatedly.
    enum class Mode { Write, Count };
    explicit ValueWriter(Mode mode = Mode::Write) : counting_(mode == Mode::Count) {}

    void writeString(std::string_view s);
    void writeInteger(int32_t v);
    void writeFloat(double v);
    void writeBool(bool v);
    void writeListBegin() { put(static_cast<char>(ValueTag::BeginOfList)); }
    void writeListEnd() { put(static_cast<char>(ValueTag::EndOfList)); }

    const std::string& bytes() const { return out_; }
    std::string take() { return std::move(out_); }
    void reserve(std::size_t n) { out_.reserve(n); }
    // Bytes written (or counted) so far.
    std::size_t size() const { return counting_ ? count_ : out_.size(); }

private:
    void put(char c)
    {
        if (counting_)
            ++count_;
        else
            out_.push_back(c);
    }
    void put(const char* p, std::size_t n)
    {
        if (counting_)
            count_ += n;
        else
            out_.append(p, n);
    }

    bool counting_;
    std::size_t count_ = 0;
    std::string out_;
};
