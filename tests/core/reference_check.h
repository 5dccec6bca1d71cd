#pragma once

// Support for tests that check references across edits: a generated case whose every referenced
// and referencing entry has a unique name, and the case's references resolved to those names.
// An operation that keeps every reference naming the same entry leaves the resolved set as it
// was, less the references to what it removed.

#include <random>
#include <set>
#include <string>

#include "model/case_data.h"

namespace testing_support {

// One reference as names: who holds it and what it names ("none" for an untyped link).
struct ResolvedRef {
    std::string holder; // "objective O3", "group C4 member", "market group M1 customer R7" ...
    std::string target; // "T1", "C3", "none" ...
    auto operator<=>(const ResolvedRef&) const = default;
};
using ResolvedRefs = std::multiset<ResolvedRef>;

// Every reference of the case through the model's reference walk. A reference that names no
// entry resolves to "out of range", so a test notices one that went astray.
ResolvedRefs resolveReferences(const TCaseData& data);

// The references once the named entries are gone: references held by them or naming them
// disappear, except type links, which then name "none".
ResolvedRefs withoutEntries(const ResolvedRefs& refs, const std::set<std::string>& gone);

// A case with objective types T*, objectives O*, risk types K*, risks R*, customers C* (some of
// them groups of other customers), products P* (some groups) with capabilities S*, general
// capabilities G* and market groups whose references carry the remarks M*. All references are in
// range; type links are sometimes -1.
void fillReferenceCase(TCaseData& data, std::mt19937& random);

} // namespace testing_support
