// Case-file and undo-snapshot throughput on synthetic cases of about 1 MB and 10 MB.

#include <cstdio>
#include <filesystem>
#include <memory>

#include <benchmark/benchmark.h>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_file.h"
#include "model/undo_stack.h"
#include "workshops/customers/cust_prod_ops.h"
#include "workshops/customers/key_char_ops.h"
#include "synthetic_case.h"

namespace {

void BM_SaveToMemory(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string encoded = encodeCase(*data);
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["case_bytes"] = static_cast<double>(bytes);
}

void BM_LoadFromMemory(benchmark::State& state)
{
    const std::string& encoded = syntheticCaseBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TCaseData data;
        if (decodeCase(encoded, data))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(data.Customers.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}

// Loading as above, in its two parts: reading into a new case, and freeing the case again. Most of
// both is the allocator: every element and every text longer than a few bytes is one block.
void BM_DecodeOnly(benchmark::State& state)
{
    const std::string& encoded = syntheticCaseBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto data = std::make_unique<TCaseData>();
        if (decodeCase(encoded, *data))
            state.SkipWithError("decode failed");
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}

void BM_FreeCase(benchmark::State& state)
{
    const std::string& encoded = syntheticCaseBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto data = std::make_unique<TCaseData>();
        if (decodeCase(encoded, *data))
            state.SkipWithError("decode failed");
        state.ResumeTiming();
        data.reset();
    }
}

// File > Open of a file the system has cached.
void BM_LoadFromFile(benchmark::State& state)
{
    const std::string& encoded = syntheticCaseBytes(static_cast<std::size_t>(state.range(0)));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("corvantix_load_bench_" + std::to_string(state.range(0)) + ".cvx"))
            .string();
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(encoded.data(), 1, encoded.size(), file);
        std::fclose(file);
    }
    for (auto _ : state) {
        TCaseData data;
        if (auto error = loadCaseFile(path, data)) {
            state.SkipWithError(error->message.c_str());
            break;
        }
        benchmark::DoNotOptimize(data.Customers.Count());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}

// The yardstick for the figures above: copying the same number of bytes in memory.
void BM_CopyBytes(benchmark::State& state)
{
    const std::string& encoded = syntheticCaseBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string copy(encoded);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}

// One whole-case undo step on a full stack (the oldest step goes): every edit that adds, deletes or
// reorders entries takes one.
void BM_UndoPush(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    UndoStack undo;
    for (int i = 0; i < UndoStack::kMaxSnapshots; ++i)
        undo.push(*data);
    for (auto _ : state) {
        undo.push(*data);
        benchmark::DoNotOptimize(undo.count());
    }
}

// Edit > Undo: the newest snapshot back into the case (the window refresh comes on top).
void BM_UndoRestore(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    UndoStack undo;
    for (auto _ : state) {
        state.PauseTiming();
        undo.push(*data);
        state.ResumeTiming();
        undo.restore(*data);
        benchmark::DoNotOptimize(data->Customers.Count());
    }
}

// A keystroke in a customer's description as the workshop stores it, on a full undo stack: a field
// step, whatever the size of the case.
void BM_KeystrokeStep(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    UndoStack undo;
    CaseEdit edit(*data, undo);
    const int last = data->Customers.Count() - 1;
    const std::string typed[2] = {data->Customers[last].Description + 'x', data->Customers[last].Description + 'y'};
    int which = 0;
    for (auto _ : state) {
        which = 1 - which;
        cust_prod::storeTexts(edit, cust_prod::Mode::Customers, last, typed[which], data->Customers[last].KeyNeeds);
        benchmark::DoNotOptimize(undo.count());
    }
}

// Committing an importance in the customer grid sets it in every customer: one step of as many fields.
void BM_ImportanceCommitStep(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    UndoStack undo;
    CaseEdit edit(*data, undo);
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 11;
        cust_prod::setImportance(edit, cust_prod::Mode::Customers, 0, std::to_string(value));
        benchmark::DoNotOptimize(undo.count());
    }
    state.counters["customers"] = data->Customers.Count();
}

// Edit > Undo of a keystroke and Edit > Redo of it again.
void BM_UndoRedoKeystroke(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    UndoStack undo;
    CaseEdit edit(*data, undo);
    edit.set(data->Title, "typed");
    for (auto _ : state) {
        edit.undo();
        edit.redo();
        benchmark::DoNotOptimize(data->Title.size());
    }
}

// A deep copy of the object tree, for comparison with the encoded snapshot.
void BM_AssignSnapshot(benchmark::State& state)
{
    const auto data = makeSyntheticCase(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TCaseData snapshot;
        snapshot.Assign(*data);
        benchmark::DoNotOptimize(snapshot.Customers.Count());
    }
}

} // namespace

BENCHMARK(BM_SaveToMemory)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromMemory)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOnly)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeCase)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyBytes)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoPush)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRestore)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeStep)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportanceCommitStep)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoKeystroke)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AssignSnapshot)->Arg(kOneMegabyte)->Arg(kTenMegabytes)->Unit(benchmark::kMillisecond);
