#pragma once

// Picture Your Future: the organisation, the planning period, the vision and success factors, and
// the ranked, typed key objectives with their user-extensible list of objective types.
//
// The objectives are a list grid. Column 2 holds the objective's type, picked from or typed into a
// drop-down box; Link is the position in ObjectiveTypes, -1 untyped.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/questions.h"

class CaseEdit;
class ListGrid;
struct TCaseData;

namespace future {

enum Column { ColObjective = 0, ColImportance = 1, ColType = 2 };
inline constexpr int kColumnCount = 3;

// The objectives grid: Objective, Imp. and Type. A Link that names no type (-1, or a position a
// damaged file left beyond the type list) shows an empty cell; the type is not typed into the
// grid, and the new entry's type cell may not become current. Any name typed into the new entry's
// row, even an empty one, adds an objective (untyped, importance 1). Title presses sort names
// ascending ignoring letter case, importance descending, type ascending (untyped first, then in
// the order of the type list). Alt+Delete asks "Delete objective '%s'?".
std::unique_ptr<ListGrid> objectiveGrid();

// An importance as typed: a whole number clamped to 1..10; empty or unreadable text gives 1.
int32_t readImportance(std::string_view text);

// --- The type box ---------------------------------------------------------------------------

// What the type box shows for an objective after it is synchronised with the model: the
// position to select (-1 for none). A Link naming no type is set to -1 (untyped) as one undo
// step, so the box and the model agree; a Link that names a type is never touched, so clicking
// through the objectives is no edit.
int synchroniseObjectiveType(CaseEdit& edit, int objective);

// Picking type `type` from the list for an objective: one undo step when the type changes.
void chooseObjectiveType(CaseEdit& edit, int objective, int type);

struct TypedTypeResult {
    int selected = -1;      // the position the box selects afterwards (the objective's type)
    bool listChanged = false; // a type was added or renamed: the box's list is to be renewed
    bool cancelled = false;
};

// Enter in the type box with `typed` in it. A name in the list (ignoring letter case) becomes the
// objective's type; empty text leaves the objective as it is. Any other text asks whether to add
// a new type, which the objective then gets, or to rename the type at `lastChosen` (offered only
// when that is a type). Cancel changes nothing.
TypedTypeResult commitTypedType(CaseEdit& edit, Questions& ask, int objective, std::string_view typed,
                                int lastChosen);

// Alt+Delete in the type box on type `type`: asks "Delete objective type '%s'?" with the type's
// name and on Yes removes it; objectives of that type become untyped, later types move down.
bool deleteObjectiveType(CaseEdit& edit, Questions& ask, int type);

// --- The planning period --------------------------------------------------------------------

// The date pickers show days only, while a case keeps a time of day (a new case's dates are "now").
// A picked day equal to the stored one keeps the stored value, time included.
bool sameDay(double a, double b);

// The user changed or left a date picker: both dates are stored as one undo step, only when a day
// differs.
bool editPlanningPeriod(CaseEdit& edit, double dateFrom, double dateTo);

// Both dates stored within `edit`'s step (or, through an edit without steps, as a commit before a
// save or close), again only where the day differs.
void storePlanningPeriod(CaseEdit& edit, double dateFrom, double dateTo);

} // namespace future
