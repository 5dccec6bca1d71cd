#include "cli/case_loading.h"

#include <ostream>

#include "cli/cli_support.h"
#include "model/case_file.h"

std::optional<std::string> loadCaseForCli(const std::string& path, TCaseData& data)
{
    auto error = loadCaseFile(path, data);
    if (!error)
        return std::nullopt;
    // Offset messages do not name the file; open failures already do.
    if (error->offset)
        return path + ": " + error->message;
    return error->message;
}

int finishOutput(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (!out)
        return reportFailure(err, "cannot write to standard output");
    return kExitOk;
}
