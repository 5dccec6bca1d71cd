#include "cli/check_command.h"

#include <ostream>

#include "cli/case_index_check.h"
#include "cli/case_loading.h"
#include "cli/cli_support.h"
#include "model/case_data.h"

int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CommandArguments arguments;
    if (auto done = takeCommandArguments(args, kCheckCommand, arguments, out, err))
        return *done;
    const std::string& path = arguments.positional[0];

    TCaseData data;
    if (auto error = loadCaseForCli(path, data))
        return reportFailure(err, *error);

    for (const auto& problem : findIndexProblems(data))
        reportWarning(err, path + ": " + problem);
    out << "ok\n" << caseSummary(data) << '\n';
    return finishOutput(out, err);
}
