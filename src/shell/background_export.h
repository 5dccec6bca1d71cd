#pragma once

// Exports that write a file from the whole case run on a worker thread, so that the windows keep
// repainting while a report of hundreds of megabytes is written.

#include <QString>

#include <functional>
#include <optional>
#include <string>

struct ReportOptions;
struct TCaseData;

// The report as this user reads numbers: the locale's thousands separator in the model's code page.
ReportOptions localReportOptions();

// Writes a file from `copy` with `options`, whose progress shows each section (1..11) in the
// progress window. Returns the reason on failure. Runs on the worker thread.
using ReportJob = std::function<std::optional<std::string>(const TCaseData& copy, const ReportOptions& options)>;

// Runs `job` on a worker thread over a copy of `data`, taken before it starts: the user's case is
// never read by two threads. Meanwhile the busy cursor and the progress window are shown; the
// progress window is modal, so other windows repaint but take no input until the job ends.
// Then shows the report's warnings and, on failure, `failureText` with the reason for %1.
// Returns whether the job succeeded.
bool runReportJob(const TCaseData& data, const QString& failureText, const ReportJob& job);
