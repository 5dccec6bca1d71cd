#pragma once

// Reading and writing whole case files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TCaseData;

struct CaseFileError {
    // Byte offset where reading failed; empty when the file could not be opened or written at all.
    std::optional<uint64_t> offset;
    // Human-readable reason, e.g. "offset 1234: expected a string (tag 6 or 12), found tag 9" or
    // "cannot open '/x/y.cvx': No such file or directory".
    std::string message;
    // Saving was refused because the file is read-only; message says so.
    bool readOnly = false;
};

// The canonical encoding of a case.
std::string encodeCase(const TCaseData& data);

// Reads a case into `data`, which must be freshly constructed. On failure `data` is partly filled
// and must be discarded; nothing else is touched. FileName and Modified are left to the caller.
std::optional<CaseFileError> decodeCase(std::string_view bytes, TCaseData& data);
std::optional<CaseFileError> loadCaseFile(const std::string& path, TCaseData& data);

// Writes the case atomically: on failure the file already at `path` is untouched. FileName and
// Modified are left to the caller, which changes them only on success.
std::optional<CaseFileError> saveCaseFile(const TCaseData& data, const std::string& path);
