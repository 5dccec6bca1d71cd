#include "model/value_stream.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "model/extended.h"

namespace {

std::string describeTag(int tag)
{
    return tag < 0 ? "the end of the file" : "tag " + std::to_string(tag);
}

} // namespace

ReadError::ReadError(uint64_t offset, const std::string& detail)
    : std::runtime_error("offset " + std::to_string(offset) + ": " + detail), offset_(offset), detail_(detail)
{
}

std::size_t MemorySource::read(char* buffer, std::size_t n)
{
    const std::size_t count = std::min(n, bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, count);
    pos_ += count;
    return count;
}

FileSource::FileSource(std::FILE* file) : file_(file)
{
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode)) {
        const long here = std::ftell(file);
        if (here >= 0 && info.st_size >= here)
            size_ = static_cast<uint64_t>(info.st_size - here);
    }
}

std::size_t FileSource::read(char* buffer, std::size_t n)
{
    const std::size_t count = std::fread(buffer, 1, n, file_);
    if (count < n && std::ferror(file_))
        throw std::runtime_error(std::string("read error: ") + std::strerror(errno));
    return count;
}

ValueReader::ValueReader(ByteSource& source) : source_(source), size_(source.size()) {}

bool ValueReader::fill()
{
    consumed_ += len_;
    pos_ = 0;
    len_ = source_.read(buffer_, kBufferSize);
    return len_ > 0;
}

uint8_t ValueReader::nextByte()
{
    if (pos_ == len_ && !fill())
        fail(offset(), "unexpected end of the file");
    return static_cast<uint8_t>(buffer_[pos_++]);
}

std::optional<uint8_t> ValueReader::peekByte()
{
    if (pos_ == len_ && !fill())
        return std::nullopt;
    return static_cast<uint8_t>(buffer_[pos_]);
}

void ValueReader::readBytes(char* out, std::size_t n)
{
    while (n > 0) {
        if (pos_ == len_ && !fill())
            fail(offset(), "unexpected end of the file");
        const std::size_t count = std::min(n, len_ - pos_);
        std::memcpy(out, buffer_ + pos_, count);
        pos_ += count;
        out += count;
        n -= count;
    }
}

uint64_t ValueReader::readUnsigned(int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(nextByte()) << (8 * i);
    return value;
}

void ValueReader::fail(uint64_t at, const std::string& detail) const
{
    throw ReadError(at, detail);
}

uint8_t ValueReader::expectTag(const char* expected, std::initializer_list<ValueTag> accepted)
{
    const uint64_t at = offset();
    const auto tag = peekByte();
    if (tag) {
        for (ValueTag t : accepted) {
            if (*tag == static_cast<uint8_t>(t)) {
                ++pos_;
                return *tag;
            }
        }
    }
    fail(at, std::string("expected ") + expected + ", found " + describeTag(tag ? *tag : -1));
}

std::string ValueReader::readString()
{
    const uint8_t tag = expectTag("a string (tag 6 or 12)", {ValueTag::ShortString, ValueTag::LongString});
    const uint64_t lengthAt = offset();
    int64_t length;
    if (tag == static_cast<uint8_t>(ValueTag::ShortString))
        length = nextByte();
    else
        length = static_cast<int32_t>(static_cast<uint32_t>(readUnsigned(4)));
    if (length < 0)
        fail(lengthAt, "string length " + std::to_string(length) + " is negative");
    if (size_) {
        const uint64_t left = *size_ - std::min(*size_, offset());
        if (static_cast<uint64_t>(length) > left)
            fail(lengthAt, "string length " + std::to_string(length) + " exceeds the " + std::to_string(left) +
                               " bytes left in the file");
    }
    std::string text;
    if (size_) {
        text.resize(static_cast<std::size_t>(length));
        readBytes(text.data(), text.size());
    } else {
        // Unknown total size: grow with the data actually present, never with the claimed length.
        std::size_t remaining = static_cast<std::size_t>(length);
        while (remaining > 0) {
            const std::size_t chunk = std::min<std::size_t>(remaining, 1 << 16);
            const std::size_t old = text.size();
            text.resize(old + chunk);
            readBytes(text.data() + old, chunk);
            remaining -= chunk;
        }
    }
    return text;
}

int32_t ValueReader::readInteger()
{
    const uint8_t tag =
        expectTag("an integer (tag 2, 3 or 4)", {ValueTag::Int8, ValueTag::Int16, ValueTag::Int32});
    switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Int8:
        return static_cast<int8_t>(nextByte());
    case ValueTag::Int16:
        return static_cast<int16_t>(static_cast<uint16_t>(readUnsigned(2)));
    default:
        return static_cast<int32_t>(static_cast<uint32_t>(readUnsigned(4)));
    }
}

double ValueReader::readFloat()
{
    const uint8_t tag = expectTag("a floating-point number (tag 5, or an integer tag 2, 3 or 4)",
                                  {ValueTag::Extended, ValueTag::Int8, ValueTag::Int16, ValueTag::Int32});
    switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Int8:
        return static_cast<int8_t>(nextByte());
    case ValueTag::Int16:
        return static_cast<int16_t>(static_cast<uint16_t>(readUnsigned(2)));
    case ValueTag::Int32:
        return static_cast<int32_t>(static_cast<uint32_t>(readUnsigned(4)));
    default: {
        Extended80 bytes;
        readBytes(reinterpret_cast<char*>(bytes.data()), bytes.size());
        return extendedToDouble(bytes);
    }
    }
}

bool ValueReader::readBool()
{
    return nextByte() == static_cast<uint8_t>(ValueTag::True);
}

void ValueReader::readListBegin()
{
    expectTag("the start of a list (tag 1)", {ValueTag::BeginOfList});
}

bool ValueReader::atListEnd()
{
    const auto tag = peekByte();
    if (!tag)
        fail(offset(), "unexpected end of the file inside a list");
    return *tag == static_cast<uint8_t>(ValueTag::EndOfList);
}

void ValueReader::readListEnd()
{
    expectTag("the end of a list (tag 0)", {ValueTag::EndOfList});
}

void ValueWriter::writeString(std::string_view s)
{
    char header[5];
    std::size_t headerSize;
    if (s.size() <= 255) {
        header[0] = static_cast<char>(ValueTag::ShortString);
        header[1] = static_cast<char>(s.size());
        headerSize = 2;
    } else {
        header[0] = static_cast<char>(ValueTag::LongString);
        const auto n = static_cast<uint32_t>(s.size());
        for (int i = 0; i < 4; ++i)
            header[1 + i] = static_cast<char>(n >> (8 * i));
        headerSize = 5;
    }
    put(header, headerSize);
    put(s.data(), s.size());
}

void ValueWriter::writeInteger(int32_t v)
{
    char encoded[5];
    int bytes;
    if (v >= -128 && v <= 127) {
        encoded[0] = static_cast<char>(ValueTag::Int8);
        bytes = 1;
    } else if (v >= -32768 && v <= 32767) {
        encoded[0] = static_cast<char>(ValueTag::Int16);
        bytes = 2;
    } else {
        encoded[0] = static_cast<char>(ValueTag::Int32);
        bytes = 4;
    }
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < bytes; ++i)
        encoded[1 + i] = static_cast<char>(u >> (8 * i));
    put(encoded, static_cast<std::size_t>(bytes) + 1);
}

void ValueWriter::writeFloat(double v)
{
    if (counting_) {
        count_ += 11;
        return;
    }
    char encoded[11];
    encoded[0] = static_cast<char>(ValueTag::Extended);
    const Extended80 bytes = doubleToExtended(v);
    std::memcpy(encoded + 1, bytes.data(), bytes.size());
    put(encoded, sizeof encoded);
}

void ValueWriter::writeBool(bool v)
{
    put(static_cast<char>(v ? ValueTag::True : ValueTag::False));
}
