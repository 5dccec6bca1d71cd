// RTF report export of synthetic cases of about 1 MB and 10 MB. The cost per case byte should stay
// flat from one size to the other: the report is built by appending, never by re-copying.

#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "report/case_report.h"
#include "synthetic_case.h"

namespace {

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
    state.counters["report_bytes"] = static_cast<double>(reportBytes);
}

// Building plus the atomic write (temporary file, flush to disk, rename).
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
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * caseBytes));
}

} // namespace

BENCHMARK(BM_BuildReport)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportReportToFile)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
