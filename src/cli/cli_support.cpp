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

int printCommandHelp(std::ostream& out, const char* synopsis, const char* summary)
{
    out << "Usage: " << kCliName << ' ' << synopsis << "\n    " << summary << '\n';
    return kExitOk;
}

std::optional<int> checkArgumentCount(const CommandArguments& args, std::size_t min, std::size_t max,
                                      const std::string& synopsis, std::ostream& err)
{
    if (args.unknownOption)
        return reportUsageError(err, "unknown option '" + *args.unknownOption + "'", synopsis);
    const std::size_t n = args.positional.size();
    if (n < min)
        return reportUsageError(err, "missing argument", synopsis);
    if (n > max)
        return reportUsageError(err, "too many arguments", synopsis);
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
