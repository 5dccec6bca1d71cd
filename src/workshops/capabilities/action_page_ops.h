#pragma once

// The Action Page: the to-do list that comes out of the plan. Each action says what is to be done
// and by whom, with an importance, a due date and whether it is done.
//
// The grid has a title row, one row per action (row r shows Actions[r - 1]) and an empty last row
// into which a new action is typed. Due and Done are picked through in-place controls; their
// cells may also be committed as text (the control's own value when it loses the focus).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/questions.h"

class CaseEdit;
struct TCaseData;

namespace actions {

enum Column { ColWhat = 0, ColWho = 1, ColImportance = 2, ColDue = 3, ColDone = 4 };
inline constexpr int kColumnCount = 5;

// The Due cell's text when its mask was cleared: two blanks, "/", two blanks, "/", four blanks.
inline constexpr std::string_view kEmptyDueText = "  /  /    ";

// The items of the Done drop-down, in order; the first means done.
inline constexpr const char* kDoneItems[2] = {"Yes", "No"};

// The text of a grid cell, title row included. Due shows as dd/mm/yyyy, Done as "Yes" or "No".
std::string actionCellText(const TCaseData& data, int col, int row);

// Index of the action shown in grid row `row`, or -1 for the title row and the empty row.
int actionAtRow(const TCaseData& data, int row);

// Every cell of an action's row may become current; of the empty last row only column 0.
bool canSelectActionCell(const TCaseData& data, int col, int row);

// An importance as typed: a whole number clamped to 1..10; empty or unreadable text gives 1.
int32_t readImportance(std::string_view text);

// Done as typed: true exactly for "yes", "y", "ye", "yess", "yyes" or "ok" in any letter case,
// compared whole without trimming; anything else means not done.
bool readDone(std::string_view text);

// A due date as typed: day, month and year separated by "/", blanks around each number allowed.
// A two-digit year (what the short date format writes) is taken within fifty years of
// `referenceYear`, as every short date of the program is. The empty mask and anything that is not
// a calendar date give nothing.
std::optional<double> readDue(std::string_view text, int referenceYear);
std::optional<double> readDue(std::string_view text);

enum class CellCommit { Unchanged, Changed, Added };

// Writes a committed cell edit to the action of its row, as one undo step and only when the value
// changes; a Due text naming the day already stored keeps the stored time of day. Column 0 of the
// empty row adds an action named by the text (importance 1, due now, not done); other columns of
// the empty row are dropped.
CellCommit commitActionCell(CaseEdit& edit, int col, int row, std::string_view text);

// The Done drop-down and the Due picker: one undo step when the value changes. A due date on the
// day already stored is no change.
bool setDone(CaseEdit& edit, int action, bool done);
bool setDue(CaseEdit& edit, int action, double due);

// Sorts by a title press: What and Who ascending ignoring letter case, Importance descending, Due
// latest first, Done with open actions first. With fewer than two actions, or another column,
// nothing happens and false is returned; otherwise the sort is one undo step.
bool sortActions(CaseEdit& edit, int col);

// Alt+Delete on an action's row: asks "Delete item '%s'?" with its What and deletes on Yes.
bool deleteAction(CaseEdit& edit, Questions& ask, int row);

} // namespace actions
