#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "model/case_data.h"

// A large, realistic-looking case: many customers with business-plan rows and key
// characteristics, many changes with impacts and risks, long texts. Its encoded size is close to
// targetBytes (within a few percent).
std::unique_ptr<TCaseData> makeSyntheticCase(std::size_t targetBytes);

// A small case with a huge report: one market group lists one customer with a `nameBytes` long
// name `references` times, and every reference repeats the name in the report.
std::unique_ptr<TCaseData> makeRepeatedNameCase(std::size_t nameBytes, int references);

// The same case, encoded once and kept for the benchmarks of one size.
const std::string& syntheticCaseBytes(std::size_t targetBytes);

inline constexpr std::size_t kOneMegabyte = 1u << 20;
inline constexpr std::size_t kTenMegabytes = 10u << 20;
