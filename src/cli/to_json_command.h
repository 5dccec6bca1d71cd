#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_support.h"

inline constexpr CommandInfo kToJsonCommand{
    "to-json CASE.cvx [OUT.json]", "write a case file as JSON (to standard output without OUT.json)", 1, 2};

// Writes a case file as JSON, to OUT.json (replaced atomically) or to `out`.
int runToJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
