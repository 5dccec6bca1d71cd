#pragma once

// Describe the Environment, the grids below the change fields: the four impact lists (strengths,
// weaknesses, opportunities, threats) and the risks of the current change, the case-wide risk
// types, and the filtered risk list beside the risk diagram.
//
// The grids are grids of named entries: row 0 is the title row, row r (1 <= r <= entries) shows
// entry r - 1 and one empty row follows, into which a new entry is typed.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/del_list.h"
#include "model/typed_name.h"
#include "workshops/environment/environment_ops.h"

struct TRankedItem;
struct TRisk;

namespace environment {

// Rows of a grid of named entries holding `entries` entries: title, entries, the empty row.
constexpr int gridRowCount(int entries)
{
    return entries + 2;
}

// What a commit of a pending cell edit did.
enum class CellCommit {
    Nothing,  // no current change, the title row, or a text that changes nothing
    Changed,  // an entry's field changed
    Appended, // a new entry was made from the empty row
};

// ---- Impacts ---------------------------------------------------------------------------------

enum class ImpactKind { Strengths, Weaknesses, Opportunities, Threats };

TDelList<TRankedItem>& impactList(TChange& change, ImpactKind kind);
const TDelList<TRankedItem>& impactList(const TChange& change, ImpactKind kind);
// Title of column 0: "Strengths", "Weaknesses", "Opportunities", "Threats"; column 1 is "Imp.".
const char* impactHeading(ImpactKind kind);
inline constexpr const char* kImportanceHeading = "Imp.";

// Rows of the grid for the current change (2 without one).
int impactRowCount(const TChange* change, ImpactKind kind);
// A cell's text: the titles in row 0, the entry's name and importance, nothing in the empty row.
std::string impactCellText(const TChange* change, ImpactKind kind, int col, int row);

// Writes a pending cell edit. In an entry row column 0 is the name and column 1 the importance
// (a whole number, 1 when unreadable, clamped to 1..10); a name typed into the empty row appends
// an entry with importance 1. Other text in the empty row is dropped.
CellCommit commitImpactEdit(CaseEdit& edit, const EnvSelection& selection, ImpactKind kind, int col, int row,
                            std::string_view text);
// Alt+Delete on an entry row: asks "Delete impact '%s'?"; true when the entry went.
bool deleteImpact(CaseEdit& edit, Questions& ask, const EnvSelection& selection, ImpactKind kind, int row);
// A press on the title row: column 0 sorts by name (ascending, ignoring letter case), column 1 by
// importance (most important first). It is always an undo step and marks the case modified, even
// when there is nothing to reorder.
void sortImpacts(CaseEdit& edit, const EnvSelection& selection, ImpactKind kind, int col);

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

int riskRowCount(const TChange* change);
// The risk a row shows, or null (title row, empty row, no change).
const TRisk* riskAt(const TChange* change, int row);
// Column 2 of the empty last row holds no type to choose: it cannot be selected.
bool canSelectRiskCell(const TChange* change, int col, int row);

// A cell's text as the editor starts with it: the financial impact in plain digits without
// separators (the window draws it with the locale's thousands separators), the type's name (empty
// for no type, or a type that is not in the list).
std::string riskCellText(const TCaseData& data, const TChange* change, int col, int row);
std::string finImpactEditText(double value);
// The typed financial impact: a decimal number (blanks around it ignored), 0 when it is not one.
double readFinImpact(std::string_view text);

// Writes a pending cell edit of the risk grid; column 2 is chosen through the type box instead.
// A name typed into the empty row appends a risk with the defaults.
CellCommit commitRiskEdit(CaseEdit& edit, const EnvSelection& selection, int col, int row, std::string_view text);
// Alt+Delete in column 0 of a risk row: asks "Delete risk '%s'?"; true when the risk went (the
// window then reloads).
bool deleteRisk(CaseEdit& edit, Questions& ask, const EnvSelection& selection, int col, int row);
// A press on the title row with at least two risks: sorts by the column's key (names and ways of
// handling ascending ignoring letter case, amounts and scores descending, types by position with
// no type first). False, with no undo step, when there is nothing to sort.
bool sortRisks(CaseEdit& edit, const EnvSelection& selection, int col);

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
