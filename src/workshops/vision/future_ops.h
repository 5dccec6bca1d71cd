#pragma once

// Picture Your Future: the organisation, the planning period, the vision and success factors, and
// the ranked, typed key objectives with their user-extensible list of objective types.
//
// The objectives grid has a title row, one row per objective (row r shows KeyObjectives[r - 1])
// and an empty last row into which a new objective is typed. Column 2 holds the objective's type,
// picked from or typed into a drop-down box; Link is the position in ObjectiveTypes, -1 untyped.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/questions.h"

class CaseEdit;
struct TCaseData;

namespace future {

enum Column { ColObjective = 0, ColImportance = 1, ColType = 2 };
inline constexpr int kColumnCount = 3;

// The text of a cell of the objectives grid, title row included. A Link that names no type (-1,
// or a position a damaged file left beyond the type list) shows an empty cell.
std::string objectiveCellText(const TCaseData& data, int col, int row);

// Index of the objective shown in grid row `row`, or -1 for the title row and the empty row.
int objectiveAtRow(const TCaseData& data, int row);

// Whether a cell may become the current cell: the type cell of the empty last row may not,
// since there is no objective yet to give a type.
bool canSelectObjectiveCell(const TCaseData& data, int col, int row);

// An importance as typed: a whole number clamped to 1..10; empty or unreadable text gives 1.
int32_t readImportance(std::string_view text);

enum class CellCommit { Unchanged, Changed, Added };

// Writes a committed cell edit. An objective row's name or importance changes as one undo step,
// and only when it differs; column 0 of the empty row appends a new objective (untyped,
// importance 1) named by the text, even an empty one. Anything else is dropped.
CellCommit commitObjectiveCell(CaseEdit& edit, int col, int row, std::string_view text);

// Sorts the objectives by a title press on column `col`: names ascending ignoring letter case,
// importance descending, type ascending (untyped first, then in the order of the type list).
// With fewer than two objectives, or another column, nothing happens and false is returned;
// otherwise the sort is one undo step even when nothing moves.
bool sortObjectives(CaseEdit& edit, int col);

// Alt+Delete on an objective's row: asks "Delete objective '%s'?" and deletes on Yes.
bool deleteObjective(CaseEdit& edit, Questions& ask, int row);

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
