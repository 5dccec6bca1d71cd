#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr const char* kFromJsonSynopsis = "from-json IN.json OUT.cvx";
inline constexpr const char* kFromJsonSummary =
    "write a case file from JSON; nothing is written when the JSON has an error";

// Writes a case file from JSON. Nothing is written unless the whole JSON is valid; the case file is
// replaced atomically.
int runFromJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
