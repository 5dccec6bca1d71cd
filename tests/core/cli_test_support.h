#pragma once

// Running corvantix-cli commands in-process and capturing what they print.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "model/case_data.h"
#include "model/case_file.h"
#include "test_support.h"

namespace cli_testing {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;

    int errLines() const { return static_cast<int>(std::count(err.begin(), err.end(), '\n')); }
};

template <class Command>
CliResult runCommand(Command command, const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.code = command(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// Writes the canonical encoding of `data` to a file in `dir` and returns its path.
inline std::string saveCase(const testing_support::TempDir& dir, const TCaseData& data, const char* name = "case.cvx")
{
    const std::string path = dir.file(name);
    testing_support::writeFile(path, encodeCase(data));
    return path;
}

} // namespace cli_testing
