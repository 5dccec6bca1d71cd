#pragma once

// Pieces every corvantix-cli command shares: exit codes, the one-line messages on standard error,
// argument splitting and whole-file reading.

#include <cstddef>
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

// What a command tells about itself: its synopsis and summary (its help and its line in the
// overall help) and how many positional arguments it takes.
struct CommandInfo {
    const char* synopsis;
    const char* summary;
    std::size_t minArguments;
    std::size_t maxArguments;
};

// Splits `args` into `arguments`. When they ask for the command's help, or do not fit `info`, prints
// the help or the usage error and returns the exit code; otherwise returns nothing and the command
// goes on.
std::optional<int> takeCommandArguments(const std::vector<std::string>& args, const CommandInfo& info,
                                        CommandArguments& arguments, std::ostream& out, std::ostream& err);

// Writes "corvantix-cli: MESSAGE" as one line and returns kExitFailure.
int reportFailure(std::ostream& err, const std::string& message);
// Writes "corvantix-cli: MESSAGE (usage: corvantix-cli SYNOPSIS)" as one line and returns kExitUsage.
int reportUsageError(std::ostream& err, const std::string& message, const std::string& synopsis);
void reportWarning(std::ostream& err, const std::string& message);

// Reads a whole file; returns the reason on failure.
std::optional<std::string> readWholeFile(const std::string& path, std::string& bytes);
