#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs corvantix-cli with its arguments (without the program name). Returns the exit code:
// 0 success, 1 failure (one line on `err`), 2 wrong usage.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
