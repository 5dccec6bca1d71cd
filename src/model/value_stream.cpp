#include "model/value_stream.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

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

std::optional<std::string_view> MemorySource::takeInPlace()
{
    const std::string_view rest = bytes_.substr(pos_);
    pos_ = bytes_.size();
    return rest;
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

ValueReader::ValueReader(ByteSource& source) : source_(source), size_(source.size())
{
    if (const auto bytes = source.takeInPlace()) {
        inPlace_ = true;
        begin_ = next_ = bytes->data();
        end_ = begin_ + bytes->size();
    }
}

bool ValueReader::refill()
{
    if (inPlace_)
        return false;
    start_ += static_cast<uint64_t>(end_ - begin_);
    const std::size_t count = source_.read(buffer_, kBufferSize);
    begin_ = next_ = buffer_;
    end_ = buffer_ + count;
    return count > 0;
}

uint8_t ValueReader::nextByte()
{
    if (next_ == end_ && !refill())
        fail(offset(), "unexpected end of the file");
    return static_cast<uint8_t>(*next_++);
}

void ValueReader::readBytes(char* out, std::size_t n)
{
    while (n > 0) {
        if (next_ == end_ && !refill())
            fail(offset(), "unexpected end of the file");
        const std::size_t count = std::min(n, available());
        std::memcpy(out, next_, count);
        next_ += count;
        out += count;
        n -= count;
    }
}

void ValueReader::fail(uint64_t at, const std::string& detail) const
{
    throw ReadError(at, detail);
}

uint8_t ValueReader::takeTagSlow(uint32_t accepted, const char* expected)
{
    const uint64_t at = offset();
    if (next_ == end_)
        refill();
    int found = -1;
    if (next_ != end_) {
        const auto tag = static_cast<uint8_t>(*next_);
        if (tag < 32 && ((accepted >> tag) & 1)) {
            ++next_;
            return tag;
        }
        found = tag;
    }
    fail(at, std::string("expected ") + expected + ", found " + describeTag(found));
}

int32_t ValueReader::integerAfterSlow(int size)
{
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<uint32_t>(nextByte()) << (8 * i);
    if (size == 1)
        return static_cast<int8_t>(value);
    if (size == 2)
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    return static_cast<int32_t>(value);
}

int64_t ValueReader::stringLengthSlow(uint8_t tag)
{
    if (tag == static_cast<uint8_t>(ValueTag::ShortString))
        return nextByte();
    return integerAfterSlow(4);
}

void ValueReader::stringBodySlow(int64_t length, uint64_t lengthAt, std::string& out)
{
    if (length < 0)
        fail(lengthAt, "string length " + std::to_string(length) + " is negative");
    if (size_) {
        const uint64_t left = *size_ - std::min(*size_, offset());
        if (static_cast<uint64_t>(length) > left)
            fail(lengthAt, "string length " + std::to_string(length) + " exceeds the " + std::to_string(left) +
                               " bytes left in the file");
        out.resize(static_cast<std::size_t>(length));
        readBytes(out.data(), out.size());
        return;
    }
    // Unknown total size: grow with the data actually present, never with the claimed length.
    out.clear();
    std::size_t remaining = static_cast<std::size_t>(length);
    while (remaining > 0) {
        const std::size_t chunk = std::min<std::size_t>(remaining, 1 << 16);
        const std::size_t old = out.size();
        out.resize(old + chunk);
        readBytes(out.data() + old, chunk);
        remaining -= chunk;
    }
}

double ValueReader::extendedSlow()
{
    Extended80 bytes;
    readBytes(reinterpret_cast<char*>(bytes.data()), bytes.size());
    return extendedToDouble(bytes);
}

bool ValueReader::readBoolSlow()
{
    return nextByte() == static_cast<uint8_t>(ValueTag::True);
}

bool ValueReader::atListEndSlow()
{
    if (!refill())
        fail(offset(), "unexpected end of the file inside a list");
    return static_cast<uint8_t>(*next_) == static_cast<uint8_t>(ValueTag::EndOfList);
}

void ValueWriter::grow(std::size_t n)
{
    if (next_ != begin_) {
        const auto used = static_cast<std::size_t>(next_ - begin_);
        full_.push_back(Block{std::move(block_), used});
        flushed_ += used;
    }
    const std::size_t size = std::max(n, kBlockSize);
    block_.reset(new char[size]);
    begin_ = next_ = block_.get();
    end_ = begin_ + size;
}

void ValueWriter::reserve(std::size_t n)
{
    if (counting_ || n <= size())
        return;
    room(n - size());
}

std::string ValueWriter::joined() const
{
    std::string all;
    all.reserve(size());
    for (const Block& block : full_)
        all.append(block.bytes.get(), block.size);
    all.append(begin_, static_cast<std::size_t>(next_ - begin_));
    return all;
}

const std::string& ValueWriter::bytes() const
{
    bytes_ = joined();
    return bytes_;
}

std::string ValueWriter::take()
{
    std::string all = joined();
    full_.clear();
    flushed_ = 0;
    block_.reset();
    begin_ = next_ = end_ = nullptr;
    return all;
}
