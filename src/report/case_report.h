#pragma once

// The report of a whole case: as an RTF document, or through any report writer.

#include <functional>
#include <optional>
#include <string>

struct TCaseData;
class ReportWriter;

struct ReportOptions {
    // Thousands separator for amounts, as windows-1252 bytes (the GUI passes the user's locale).
    std::string thousandsSeparator = ",";
    // Called before each of the 11 sections (1 = title page, 2..11 = chapters 1..10).
    std::function<void(int section)> progress;
    // Writer warnings such as "Invalid font name."; never dropped silently.
    std::function<void(const std::string& message)> warn;
};

// The whole report, title page and ten chapters, through `writer`. The case is only read.
void writeCaseReport(const TCaseData& data, const ReportOptions& options, ReportWriter& writer);

// The complete RTF document of the case. The case is only read.
std::string buildCaseReport(const TCaseData& data, const ReportOptions& options);

// Writes the report atomically to `path` as it is built, holding only about a megabyte of it at a
// time, whatever its size. Returns the reason on failure; no partly written report is left behind.
std::optional<std::string> exportCaseReport(const TCaseData& data, const std::string& path,
                                            const ReportOptions& options);
