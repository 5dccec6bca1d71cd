#pragma once

// Pieces every corvantix-cli command shares: exit codes, the one-line messages on standard error,
// argument splitting and whole-file reading.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kCliName = "corvantix-cli";

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A command's arguments with the options taken out. Commands accept no options of their own
// beyond --help; "--" ends the options so that a file name may start with '-'.
struct CommandArguments {
    std::vector<std::string> positional;
    bool help = false;
    std::optional<std::string> unknownOption;
};
CommandArguments splitCommandArguments(const std::vector<std::string>& args);

// Writes "corvantix-cli: MESSAGE" as one line and returns kExitFailure.
int reportFailure(std::ostream& err, const std::string& message);
// Writes "corvantix-cli: MESSAGE (usage: corvantix-cli SYNOPSIS)" as one line and returns kExitUsage.
int reportUsageError(std::ostream& err, const std::string& message, const std::string& synopsis);
void reportWarning(std::ostream& err, const std::string& message);

// Prints "Usage: corvantix-cli SYNOPSIS" and the summary; returns kExitOk.
int printCommandHelp(std::ostream& out, const char* synopsis, const char* summary);

// Checks the number of positional arguments; on a mismatch reports a usage error and returns its
// exit code, else returns nothing.
std::optional<int> checkArgumentCount(const CommandArguments& args, std::size_t min, std::size_t max,
                                      const std::string& synopsis, std::ostream& err);

// Reads a whole file; returns the reason on failure.
std::optional<std::string> readWholeFile(const std::string& path, std::string& bytes);
