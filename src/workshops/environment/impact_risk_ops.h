#pragma once

// Describe the Environment, the grids below the change fields: the four impact lists (strengths,
// weaknesses, opportunities, threats) and the risks of the current change, the case-wide risk
// types, and the filtered risk list beside the risk diagram.
//
// The impact and risk grids are list grids of the change the selection names; without one they
// show no entries.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/core_text.h"
#include "model/del_list.h"
#include "model/typed_name.h"
#include "workshops/environment/environment_ops.h"

class ListGrid;
struct TRankedItem;
struct TRisk;

namespace environment {

// ---- Impacts ---------------------------------------------------------------------------------

enum class ImpactKind { Strengths, Weaknesses, Opportunities, Threats };

TDelList<TRankedItem>& impactList(TChange& change, ImpactKind kind);
const TDelList<TRankedItem>& impactList(const TChange& change, ImpactKind kind);
// Title of column 0: "Strengths", "Weaknesses", "Opportunities", "Threats"; column 1 is "Imp.".
const char* impactHeading(ImpactKind kind);
inline constexpr const char* kImportanceHeading = CORE_TEXT("Grid titles", "Imp.");

// The grid of one impact list of the current change: name and importance ("Imp.": a whole number,
// 1 when unreadable, clamped to 1..10). A name typed into the new entry's row adds an entry with
// importance 1; an empty one adds nothing. A title press sorts by name (ascending, ignoring letter
// case) or by importance (most important first); it is always an undo step and marks the case
// modified, even when there is nothing to reorder. Alt+Delete asks "Delete impact '%s'?".
std::unique_ptr<ListGrid> impactGrid(const EnvSelection& selection, ImpactKind kind);

// ---- Risks -----------------------------------------------------------------------------------

enum RiskColumn : int {
    kRiskName,
    kRiskFinImpact,
    kRiskType,
    kRiskImpact,
    kRiskLikelihood,
    kRiskHandling,
    kRiskColumnCount
};
extern const std::array<const char*, kRiskColumnCount> kRiskHeadings;

// The risk a row of the risk grid shows, or null (title row, new entry's row, no change).
const TRisk* riskAt(const TChange* change, int row);

// The risk grid of the current change. The financial impact shows in plain digits without
// separators (the window draws it with the locale's thousands separators), the type by its name
// (empty for no type, or a type that is not in the list); the type is chosen through the type box,
// not typed into the grid, and the new entry's type cell may not become current. A name typed into
// the new entry's row adds a risk with the defaults; an empty one adds nothing. With at least two
// risks a title press sorts by the column's key: names and ways of handling ascending ignoring
// letter case, amounts and scores descending, types by position with no type first. Alt+Delete in
// the name column asks "Delete risk '%s'?".
std::unique_ptr<ListGrid> riskGrid(const EnvSelection& selection);

std::string finImpactEditText(double value);
// The typed financial impact: a decimal number (blanks around it ignored), 0 when it is not one.
double readFinImpact(std::string_view text);

// ---- Risk types ------------------------------------------------------------------------------

// The stored type of the risk in a row, or nullopt when the row shows no risk.
std::optional<int> riskTypeOfRow(const TCaseData& data, const EnvSelection& selection, int row);
// Gives the risk in `row` the type at position `type` (-1: no type). An undo step only when the
// type changes; false otherwise, or when the row or the type names nothing.
bool assignRiskType(CaseEdit& edit, const EnvSelection& selection, int row, int type);

// Enter in the type box of the risk in `row`: an existing type (ignoring letter case) or an empty
// box is chosen without a question; a new name is added as a type, or renames the type at
// `currentType`, as the user answers. The chosen type is then given to the risk.
struct RiskTypeCommit {
    TypedNameResult::Outcome outcome = TypedNameResult::Outcome::Selected;
    int type = -1; // the type the box selects afterwards
};
RiskTypeCommit commitRiskTypeText(CaseEdit& edit, Questions& ask, const EnvSelection& selection, int row,
                                  int currentType, std::string_view typed);
// Alt+Delete in the type box: asks "Delete risk type '%s'?" and removes the type; every risk of
// every change of that type loses its type, and later types keep their names as their positions
// drop. True when the type went (the window then reloads).
bool deleteRiskType(CaseEdit& edit, Questions& ask, int type);

// ---- The risk diagram's list -----------------------------------------------------------------

// Every risk of every change passing the filter, in model order: its name, plotted as impact
// (vertical) against likelihood (horizontal).
std::vector<portfolio::PlotRow> buildRiskList(const TCaseData& data, const portfolio::PlotFilter& filter);

} // namespace environment
