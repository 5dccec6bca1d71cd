// Exports every case the reader accepts as an RTF report. The report must be one balanced group,
// and every line of the case's texts must appear in it escaped, so no text the user typed can end
// a group early, open one, or start a control word.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "report/report_text.h"

namespace {

// Depth of the outermost group over the document: it opens at the first byte, never closes early
// and is closed by the last brace. Escaped braces and backslashes are text.
bool balanced(std::string_view rtf)
{
    if (rtf.substr(0, 6) != "{\\rtf1")
        return false;
    long depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            ++i; // the next byte is escaped text or the first letter of a control word
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0)
                return false;
            if (depth == 0)
                return rtf.find_first_not_of("\r\n", i + 1) == std::string_view::npos;
        }
    }
    return false;
}

// Every line (CR LF ends one) of `text` shows up escaped.
bool appearsEscaped(std::string_view rtf, std::string_view text)
{
    for (;;) {
        const auto end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!line.empty() && rtf.find(escapeRtf(line)) == std::string_view::npos)
            return false;
        if (end == std::string_view::npos)
            return true;
        text.remove_prefix(end + 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCaseData input;
    if (decodeCase(std::string_view(reinterpret_cast<const char*>(data), size), input))
        return 0;
    ReportOptions options;
    options.warn = [](const std::string&) {};
    const std::string rtf = buildCaseReport(input, options);
    if (!balanced(rtf))
        std::abort();

    for (std::string_view text : {std::string_view(input.Title), std::string_view(input.Description),
                                  std::string_view(input.OrgDescription), std::string_view(input.VisionMission),
                                  std::string_view(input.SuccessFactors)})
        if (!appearsEscaped(rtf, text))
            std::abort();
    for (int i = 0; i < input.Competitors.Count(); ++i) {
        const TCompetitor& c = input.Competitors[i];
        for (std::string_view text : {std::string_view(c.KeyServices), std::string_view(c.KeyClients),
                                      std::string_view(c.KeyAdvantages), std::string_view(c.KeyDisadvantages)})
            if (!appearsEscaped(rtf, text))
                std::abort();
    }
    for (int i = 0; i < input.Capabilities.Count(); ++i)
        if (!appearsEscaped(rtf, input.Capabilities[i].Decisions))
            std::abort();
    for (int i = 0; i < input.MarketGroups.Count(); ++i)
        if (!appearsEscaped(rtf, input.MarketGroups[i].Name))
            std::abort();
    return 0;
}
