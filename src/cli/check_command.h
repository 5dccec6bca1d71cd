#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr const char* kCheckSynopsis = "check CASE.cvx";
inline constexpr const char* kCheckSummary =
    "read a case file; print \"ok\" and a summary of its contents, and warn about\n"
    "    entries that refer to positions outside their lists";

// Reads a case file; prints "ok" and a summary of its contents, warning on `err` about indices that
// point outside their lists. Exit code 1 when the file cannot be read, with the offset and reason.
int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
