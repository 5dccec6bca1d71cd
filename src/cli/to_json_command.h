#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr const char* kToJsonSynopsis = "to-json CASE.cvx [OUT.json]";
inline constexpr const char* kToJsonSummary =
    "write a case file as JSON (to standard output without OUT.json)";

// Writes a case file as JSON, to OUT.json (replaced atomically) or to `out`.
int runToJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
