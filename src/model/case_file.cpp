#include "model/case_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "model/atomic_file.h"
#include "model/case_data.h"
#include "model/value_stream.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Regular files up to this size are read with one call and decoded in place. Larger ones (no case
// comes near it; more likely the wrong file was picked) and pipes or devices are read as a stream,
// so that a file that is not a case fails at its first bytes without being read whole. The reader
// reports the same errors either way.
constexpr uint64_t kWholeFileLimit = uint64_t{256} << 20;

std::optional<CaseFileError> readGuarded(ByteSource& source, TCaseData& data)
{
    ValueReader reader(source);
    try {
        data.ReadFrom(reader);
    } catch (const ReadError& e) {
        return CaseFileError{e.offset(), e.what()};
    } catch (const std::bad_alloc&) {
        return CaseFileError{reader.offset(), "offset " + std::to_string(reader.offset()) + ": out of memory"};
    } catch (const std::exception& e) {
        return CaseFileError{reader.offset(), "offset " + std::to_string(reader.offset()) + ": " + e.what()};
    }
    return std::nullopt;
}

} // namespace

std::string encodeCase(const TCaseData& data)
{
    ValueWriter writer;
    data.WriteTo(writer);
    return writer.take();
}

std::optional<CaseFileError> decodeCase(std::string_view bytes, TCaseData& data)
{
    MemorySource source(bytes);
    return readGuarded(source, data);
}

std::optional<CaseFileError> loadCaseFile(const std::string& path, TCaseData& data)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return CaseFileError{std::nullopt, "cannot open '" + path + "': " + std::strerror(errno)};
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<uint64_t>(info.st_size) <= kWholeFileLimit) {
        std::unique_ptr<char[]> bytes;
        try {
            bytes.reset(new char[static_cast<std::size_t>(info.st_size)]);
        } catch (const std::bad_alloc&) {
            return CaseFileError{0, "offset 0: out of memory"};
        }
        const std::size_t length = std::fread(bytes.get(), 1, static_cast<std::size_t>(info.st_size), file.get());
        if (std::ferror(file.get()))
            return CaseFileError{length, "offset " + std::to_string(length) + ": read error: " + std::strerror(errno)};
        return decodeCase(std::string_view(bytes.get(), length), data);
    }
    FileSource source(file.get());
    return readGuarded(source, data);
}

std::optional<CaseFileError> saveCaseFile(const TCaseData& data, const std::string& path)
{
    std::string bytes;
    try {
        bytes = encodeCase(data);
    } catch (const std::bad_alloc&) {
        return CaseFileError{std::nullopt, "cannot save '" + path + "': out of memory"};
    }
    bool readOnly = false;
    if (auto error = writeFileAtomically(path, bytes, &readOnly))
        return CaseFileError{std::nullopt, *error, readOnly};
    return std::nullopt;
}
