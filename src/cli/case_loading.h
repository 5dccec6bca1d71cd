#pragma once

// Loading and writing as the commands need it, with failures phrased as one line for the user.

#include <iosfwd>
#include <optional>
#include <string>

struct TCaseData;

// Reads a case file into a freshly constructed case. Returns the message on failure:
// "PATH: offset 1234: expected ..." or "cannot open 'PATH': No such file or directory".
std::optional<std::string> loadCaseForCli(const std::string& path, TCaseData& data);

// Flushes standard output and turns a failed write (a closed pipe, a full disk) into exit code 1.
int finishOutput(std::ostream& out, std::ostream& err);
