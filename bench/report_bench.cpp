// RTF report export of synthetic cases of about 1 MB and 10 MB. The cost per case byte should stay
// flat from one size to the other: the report is built by appending, never by re-copying. The
// export's memory should stay flat whatever the report's size: it is written as it is built.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "model/case_file.h"
#include "report/case_report.h"
#include "synthetic_case.h"

namespace {

// The report's size, and its bytes per second (bytes_per_second counts the case's bytes).
void setReportCounters(benchmark::State& state, std::size_t reportBytes)
{
    state.counters["report_bytes"] = static_cast<double>(reportBytes);
    state.counters["report_bytes_per_second"] = benchmark::Counter(
        static_cast<double>(reportBytes) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate,
        benchmark::Counter::kIs1024);
}

void BM_BuildReport(benchmark::State& state)
{
    const auto caseBytes = static_cast<std::size_t>(state.range(0));
    const auto data = makeSyntheticCase(caseBytes);
    const ReportOptions options;
    std::size_t reportBytes = 0;
    for (auto _ : state) {
        const std::string document = buildCaseReport(*data, options);
        reportBytes = document.size();
        benchmark::DoNotOptimize(document.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * caseBytes));
    setReportCounters(state, reportBytes);
}

// Building plus the atomic write: the pieces go to a temporary file next to the target as they are
// built, which is then flushed to disk (fsync) and renamed over the previous report.
void BM_ExportReportToFile(benchmark::State& state)
{
    const auto caseBytes = static_cast<std::size_t>(state.range(0));
    const auto data = makeSyntheticCase(caseBytes);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("corvantix_report_bench_" + std::to_string(caseBytes) + ".rtf"))
            .string();
    for (auto _ : state) {
        if (auto error = exportCaseReport(*data, path, ReportOptions{})) {
            state.SkipWithError(error->c_str());
            break;
        }
    }
    std::error_code noSize;
    const auto reportBytes = std::filesystem::file_size(path, noSize);
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * caseBytes));
    setReportCounters(state, noSize ? 0 : static_cast<std::size_t>(reportBytes));
}

// A field of /proc/self/status in kilobytes, e.g. "VmHWM:" (the peak resident size).
double statusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(field.size()));
    return 0;
}

// How much the resident memory grows while a report is exported: the peak is reset first (Linux
// 4.0 and later), then compared with the size before the export. Argument 0 is a case of 69 KB
// whose report runs to 214 MB; argument 1 the 10 MB case above. Memory that benchmarks before it
// freed is reused without growing, so run it alone (--benchmark_filter=PeakMemory) for the figure.
void BM_ExportReportPeakMemory(benchmark::State& state)
{
    const auto data = state.range(0) == 0 ? makeRepeatedNameCase(40000, 5000) : makeSyntheticCase(kTenMegabytes);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("corvantix_report_memory_" + std::to_string(state.range(0)) + ".rtf"))
            .string();
    double growth = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";
        const double before = statusKilobytes("VmRSS:");
        if (auto error = exportCaseReport(*data, path, ReportOptions{})) {
            state.SkipWithError(error->c_str());
            break;
        }
        growth = std::max(growth, statusKilobytes("VmHWM:") - before);
    }
    state.counters["case_KB"] = static_cast<double>(encodeCase(*data).size()) / 1024;
    state.counters["report_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    state.counters["peak_growth_MB"] = growth / 1024;
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_BuildReport)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
// Its rates count the time on the clock: most of the wait for the disk is no CPU time of this process.
BENCHMARK(BM_ExportReportToFile)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportReportPeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
