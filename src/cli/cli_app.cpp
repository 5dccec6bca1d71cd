#include "cli/cli_app.h"

#include <new>
#include <ostream>
#include <string_view>

#include "cli/check_command.h"
#include "cli/cli_support.h"
#include "cli/export_rtf_command.h"
#include "cli/from_json_command.h"
#include "cli/to_json_command.h"

namespace {

using CommandFunction = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

// Each command prints its own help for "COMMAND --help"; `summary` is its line in the overall help.
struct Command {
    std::string_view name;
    const CommandInfo& info;
    CommandFunction run;
};

constexpr Command kCommands[] = {
    {"check", kCheckCommand, runCheck},
    {"to-json", kToJsonCommand, runToJson},
    {"from-json", kFromJsonCommand, runFromJson},
    {"export-rtf", kExportRtfCommand, runExportRtf},
};

void printHelp(std::ostream& out)
{
    out << "Usage: " << kCliName << " COMMAND ARGUMENTS...\n"
        << "Reads, checks and converts Corvantix case files (.cvx).\n\nCommands:\n";
    for (const auto& command : kCommands)
        out << "  " << command.info.synopsis << "\n    " << command.info.summary << "\n";
    out << "\nOptions:\n"
           "  -h, --help    show this help; after a command, that command's help\n"
           "  --version     show the version\n"
           "\nIn JSON, text is Unicode; the case file stores it in windows-1252, so a character\n"
           "outside that code page is an error. Dates are day counts since 30 December 1899.\n"
           "\nExit status: 0 success, 1 failure (the reason is printed on standard error),\n"
           "2 wrong usage.\n";
}

int topLevelUsageError(std::ostream& err, const std::string& message)
{
    err << kCliName << ": " << message << " (try '" << kCliName << " --help')\n";
    return kExitUsage;
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return topLevelUsageError(err, "no command given");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp(out);
        return kExitOk;
    }
    if (first == "--version") {
        out << kCliName << ' ' << CORVANTIX_VERSION << '\n';
        return kExitOk;
    }
    for (const auto& command : kCommands) {
        if (command.name != first)
            continue;
        return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    const std::string what = first.starts_with("-") ? "unknown option '" : "unknown command '";
    return topLevelUsageError(err, what + first + "'");
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        return dispatch(args, out, err);
    } catch (const std::bad_alloc&) {
        return reportFailure(err, "out of memory");
    } catch (const std::exception& e) {
        return reportFailure(err, e.what());
    }
}
