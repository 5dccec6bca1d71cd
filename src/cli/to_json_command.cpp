#include "cli/to_json_command.h"

#include <ostream>

#include "cli/case_loading.h"
#include "cli/case_to_json.h"
#include "cli/cli_support.h"
#include "model/atomic_file.h"
#include "model/case_data.h"

int runToJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CommandArguments arguments;
    if (auto done = takeCommandArguments(args, kToJsonCommand, arguments, out, err))
        return *done;
    const std::string& casePath = arguments.positional[0];

    TCaseData data;
    if (auto error = loadCaseForCli(casePath, data))
        return reportFailure(err, *error);

    std::string text;
    try {
        text = formatJson(caseToJson(data));
    } catch (const JsonExportError& e) {
        return reportFailure(err, casePath + ": " + e.what());
    }

    if (arguments.positional.size() == 2) {
        if (auto error = writeFileAtomically(arguments.positional[1], text))
            return reportFailure(err, *error);
        return kExitOk;
    }
    out << text;
    return finishOutput(out, err);
}
