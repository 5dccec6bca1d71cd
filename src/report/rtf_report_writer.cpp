#include "report/rtf_report_writer.h"

#include "report/report_text.h"

#include <cstring>

std::string_view RtfReportWriter::escaped(std::string_view text)
{
    // Three passes of the library's vectorised search beat one pass that tests every byte.
    const auto has = [text](char c) { return !text.empty() && std::memchr(text.data(), c, text.size()); };
    if (!has('\\') && !has('{') && !has('}'))
        return text;
    scratch_ = escapeRtf(text);
    return scratch_;
}

void RtfReportWriter::WriteKeptText(std::string_view text)
{
    // The keep word follows the text in the same piece, so it applies to the title's last paragraph.
    std::string kept(escaped(text));
    kept.append("\\keepn");
    rtf_.WriteText(kept);
}
