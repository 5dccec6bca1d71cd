#pragma once

// Plausibility checks the case reader deliberately leaves out: stored positions that point outside
// the list they index. Such a case still loads; the workshops tolerate it, but it is worth knowing.

#include <string>
#include <vector>

struct TCaseData;

// One line per index outside its list, naming it by its JSON path, for example
// "KeyObjectives[2].Link is 5, but ObjectiveTypes has 3 entries". -1 is accepted where it means
// "no type" (the Link of a key objective, the RiskType of a risk).
std::vector<std::string> findIndexProblems(const TCaseData& data);

// "3 objectives, 3 areas, 7 changes, ..." for the counts a reader wants to see at a glance.
// Capabilities counts the general ones and every product's own.
std::string caseSummary(const TCaseData& data);
