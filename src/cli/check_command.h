#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_support.h"

inline constexpr CommandInfo kCheckCommand{
    "check CASE.cvx",
    "read a case file; print \"ok\" and a summary of its contents, and warn about\n"
    "    entries that refer to positions outside their lists",
    1, 1};

// Reads a case file; prints "ok" and a summary of its contents, warning on `err` about indices that
// point outside their lists. Exit code 1 when the file cannot be read, with the offset and reason.
int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
