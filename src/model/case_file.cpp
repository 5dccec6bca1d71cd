#include "model/case_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "model/atomic_file.h"
#include "model/case_data.h"
#include "model/value_stream.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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
    ValueWriter counter(ValueWriter::Mode::Count);
    data.WriteTo(counter);
    ValueWriter writer;
    writer.reserve(counter.size());
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
