#include "cli/export_rtf_command.h"

#include <langinfo.h>
#include <locale.h>
#include <ostream>

#include "cli/case_loading.h"
#include "cli/cli_support.h"
#include "model/case_data.h"
#include "model/cp1252.h"
#include "report/case_report.h"

namespace {

constexpr std::string_view kSeparatorOption = "--thousands-separator";
constexpr char kNoBreakSpace = '\xA0';

bool isSpaceSeparator(char32_t codePoint)
{
    return (codePoint >= 0x2000 && codePoint <= 0x200A) || codePoint == 0x202F || codePoint == 0x205F ||
           codePoint == 0x3000;
}

struct ParsedArguments {
    std::vector<std::string> rest;
    std::optional<std::string> separator;
    bool separatorMissing = false;
};

// Takes --thousands-separator (with its value as the next argument or after "=") out of the
// arguments; everything from "--" on is left alone.
ParsedArguments takeSeparatorOption(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            parsed.rest.insert(parsed.rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        if (arg == kSeparatorOption) {
            if (i + 1 >= args.size()) {
                parsed.separatorMissing = true;
                break;
            }
            parsed.separator = args[++i];
        } else if (arg.size() > kSeparatorOption.size() && arg.starts_with(kSeparatorOption) &&
                   arg[kSeparatorOption.size()] == '=') {
            parsed.separator = arg.substr(kSeparatorOption.size() + 1);
        } else {
            parsed.rest.push_back(arg);
        }
    }
    return parsed;
}

} // namespace

std::string separatorFromLocaleBytes(std::string_view bytes)
{
    if (bytes.empty())
        return ",";
    const Utf8ToCp1252Result converted = utf8ToCp1252(bytes);
    if (converted.invalidUtf8)
        // Not UTF-8: one byte of a single-byte code page, which agrees with windows-1252 for the
        // characters locales use as separators.
        return bytes.size() == 1 ? std::string(bytes) : std::string(",");
    if (converted.badIndex)
        return isSpaceSeparator(converted.badCodePoint) ? std::string(1, kNoBreakSpace) : std::string(",");
    return converted.bytes;
}

std::string localeThousandsSeparator()
{
    // A private locale object, so the process-wide locale stays as it is.
    locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0))
        return ",";
    const char* separator = ::nl_langinfo_l(THOUSEP, numeric);
    std::string result = separatorFromLocaleBytes(separator ? std::string_view(separator) : std::string_view());
    ::freelocale(numeric);
    return result;
}

std::optional<std::string> separatorFromOption(std::string_view utf8)
{
    const Utf8ToCp1252Result converted = utf8ToCp1252(utf8);
    if (converted.invalidUtf8 || converted.badIndex || converted.bytes.size() > 1)
        return std::nullopt;
    return converted.bytes;
}

int runExportRtf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const ParsedArguments parsed = takeSeparatorOption(args);
    if (parsed.separatorMissing)
        return reportUsageError(err, "option '--thousands-separator' needs a value", kExportRtfCommand.synopsis);
    CommandArguments command;
    if (auto done = takeCommandArguments(parsed.rest, kExportRtfCommand, command, out, err))
        return *done;

    ReportOptions options;
    if (parsed.separator) {
        auto separator = separatorFromOption(*parsed.separator);
        if (!separator)
            return reportUsageError(err,
                                    "the thousands separator must be one windows-1252 character, or empty",
                                    kExportRtfCommand.synopsis);
        options.thousandsSeparator = *separator;
    } else {
        options.thousandsSeparator = localeThousandsSeparator();
    }
    options.warn = [&err](const std::string& message) { reportWarning(err, message); };

    const std::string& casePath = command.positional[0];
    const std::string& reportPath = command.positional[1];
    TCaseData data;
    if (auto error = loadCaseForCli(casePath, data))
        return reportFailure(err, *error);
    if (auto error = exportCaseReport(data, reportPath, options))
        return reportFailure(err, *error);
    return kExitOk;
}
