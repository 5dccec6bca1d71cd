#pragma once

// corvantix-cli export-rtf CASE.cvx OUT.rtf [--thousands-separator C]
// Writes the RTF report of a case file. Amounts are grouped with the separator of the user's
// numeric locale (LC_ALL, LC_NUMERIC, LANG), "," when the locale has none, unless the option names
// one; an empty option value groups without a separator.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_support.h"

inline constexpr CommandInfo kExportRtfCommand{
    "export-rtf CASE.cvx OUT.rtf [--thousands-separator C]",
    "write the RTF report of a case; amounts are grouped with the thousands separator\n"
    "    of the numeric locale (\",\" when it has none) unless the option names one\n"
    "    (an empty one groups without a separator)",
    2, 2};

// Exit code 1 when the case cannot be read or the report cannot be written, with the reason on
// `err`; no partly written report is left behind.
int runExportRtf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The thousands separator of the numeric locale the environment selects, as windows-1252 bytes.
std::string localeThousandsSeparator();

// A locale's separator bytes (UTF-8, or one byte of a single-byte code page) as windows-1252 bytes.
// A space the code page lacks (narrow or thin no-break space) becomes the no-break space; anything
// else it cannot hold, or no separator at all, gives ",".
std::string separatorFromLocaleBytes(std::string_view bytes);

// The separator given on the command line (UTF-8): empty or one windows-1252 character. Nothing
// when the text is neither.
std::optional<std::string> separatorFromOption(std::string_view utf8);
