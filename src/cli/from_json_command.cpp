#include "cli/from_json_command.h"

#include "cli/case_from_json.h"
#include "cli/cli_support.h"
#include "cli/json_text.h"
#include "model/case_data.h"
#include "model/case_file.h"

int runFromJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CommandArguments arguments;
    if (auto done = takeCommandArguments(args, kFromJsonCommand, arguments, out, err))
        return *done;
    const std::string& jsonPath = arguments.positional[0];
    const std::string& casePath = arguments.positional[1];

    std::string text;
    if (auto error = readWholeFile(jsonPath, text))
        return reportFailure(err, *error);

    ParsedJson parsed;
    if (auto error = parseJsonStrict(text, parsed))
        return reportFailure(err, jsonPath + ": " + *error);

    TCaseData data;
    if (auto error = caseFromJson(parsed, data))
        return reportFailure(err, jsonPath + ": " + *error);

    if (auto error = saveCaseFile(data, casePath))
        return reportFailure(err, error->message);
    return kExitOk;
}
