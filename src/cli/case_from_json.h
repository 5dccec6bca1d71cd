#pragma once

// Fills a case from the JSON form written by caseToJson. The check is strict, because the result
// becomes a case file: every key must be known and every value must have the field's type and fit
// it. A key that is left out keeps the value a new object has.

#include <optional>
#include <string>

#include "cli/json_text.h"

struct TCaseData;

// `data` must be freshly constructed. Returns "PATH: reason" on the first problem, for example
// "Customers[3].KeyChars[0].Match: expected an integer, found a string"; `data` is then partly
// filled and must be discarded.
std::optional<std::string> caseFromJson(const ParsedJson& parsed, TCaseData& data);
