#pragma once

// Exports that write a file from the whole case run on a worker thread, so that the windows keep
// repainting while a report of hundreds of megabytes is written.

#include <functional>
#include <optional>
#include <string>

struct TCaseData;

// Writes a file from `copy`; calls `progress(section)` before each section (1..11) and returns the
// reason on failure. Runs on the worker thread.
using CaseExportJob =
    std::function<std::optional<std::string>(const TCaseData& copy, const std::function<void(int section)>& progress)>;

// Runs `job` on a worker thread over a copy of `data`, taken before it starts: the user's case is
// never read by two threads. Meanwhile the busy cursor and the progress window are shown; the
// progress window is modal, so other windows repaint but take no input until the job ends.
// Returns the job's result once it has ended.
std::optional<std::string> exportCaseCopy(const TCaseData& data, const CaseExportJob& job);
