#pragma once

// The case report on paper and as PDF: laid out for the printer's paper, with the case's title in
// the header and the page number in the footer. Works on any thread (no widgets).

#include <optional>
#include <string>

#include <QPageSize>

struct ReportOptions;
struct TCaseData;
class QPagedPaintDevice;

// Lays the report out for `device` and paints every page of it. Returns the reason when the device
// cannot be painted on.
std::optional<std::string> printCaseReport(const TCaseData& data, const ReportOptions& options,
                                           QPagedPaintDevice& device);

// Writes the report as a PDF on `paper` to `path`, atomically like every saved file. Returns the
// reason on failure; the file at `path` is then untouched.
std::optional<std::string> exportCasePdf(const TCaseData& data, const std::string& path, const ReportOptions& options,
                                         const QPageSize& paper);

// The paper of the default printer, or where there is none A4, or Letter in the locales that use it.
QPageSize defaultPaper();
