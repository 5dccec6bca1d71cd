#include "cli/cli_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

CommandArguments splitCommandArguments(const std::vector<std::string>& args)
{
    CommandArguments result;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            result.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (!result.unknownOption) {
            result.unknownOption = arg;
        }
    }
    return result;
}

int reportFailure(std::ostream& err, const std::string& message)
{
    err << kCliName << ": " << message << '\n';
    return kExitFailure;
}

int reportUsageError(std::ostream& err, const std::string& message, const std::string& synopsis)
{
    err << kCliName << ": " << message << " (usage: " << kCliName << ' ' << synopsis << ")\n";
    return kExitUsage;
}

void reportWarning(std::ostream& err, const std::string& message)
{
    err << kCliName << ": warning: " << message << '\n';
}

std::optional<int> takeCommandArguments(const std::vector<std::string>& args, const CommandInfo& info,
                                        CommandArguments& arguments, std::ostream& out, std::ostream& err)
{
    arguments = splitCommandArguments(args);
    if (arguments.help) {
        out << "Usage: " << kCliName << ' ' << info.synopsis << "\n    " << info.summary << '\n';
        return kExitOk;
    }
    if (arguments.unknownOption)
        return reportUsageError(err, "unknown option '" + *arguments.unknownOption + "'", info.synopsis);
    const std::size_t n = arguments.positional.size();
    if (n < info.minArguments)
        return reportUsageError(err, "missing argument", info.synopsis);
    if (n > info.maxArguments)
        return reportUsageError(err, "too many arguments", info.synopsis);
    return std::nullopt;
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
} // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string& bytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return "cannot open '" + path + "': " + std::strerror(errno);
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, n);
        if (n < sizeof buffer) {
            // A directory opens fine on POSIX and only fails here, with EISDIR.
            if (std::ferror(file.get()))
                return "cannot read '" + path + "': " + std::strerror(errno);
            return std::nullopt;
        }
    }
}
