#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_support.h"

inline constexpr CommandInfo kFromJsonCommand{
    "from-json IN.json OUT.cvx", "write a case file from JSON; nothing is written when the JSON has an error", 2, 2};

// Writes a case file from JSON. Nothing is written unless the whole JSON is valid; the case file is
// replaced atomically.
int runFromJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
