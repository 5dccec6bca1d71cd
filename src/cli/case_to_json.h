#pragma once

// A case as one JSON object: the stored fields under their own names, in file order, with text
// converted from windows-1252 to Unicode.

#include <stdexcept>
#include <string>

#include "cli/json_text.h"

struct TCaseData;

// A value JSON cannot carry (a non-finite floating-point number, which only a damaged file holds).
class JsonExportError : public std::runtime_error {
public:
    JsonExportError(std::string path, const std::string& reason)
        : std::runtime_error(describeJsonPath(path) + ": " + reason), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Throws JsonExportError.
OrderedJson caseToJson(const TCaseData& data);
