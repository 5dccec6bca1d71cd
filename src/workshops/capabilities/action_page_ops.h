#pragma once

// The Action Page: the to-do list that comes out of the plan. Each action says what is to be done
// and by whom, with an importance, a due date and whether it is done.
//
// The actions are a list grid. Due and Done are picked through in-place controls; their cells may
// also be committed as text (the control's own value when it loses the focus).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CaseEdit;
class ListGrid;
struct TCaseData;

namespace actions {

enum Column { ColWhat = 0, ColWho = 1, ColImportance = 2, ColDue = 3, ColDone = 4 };
inline constexpr int kColumnCount = 5;

// The Due cell's text when its mask was cleared: two blanks, "/", two blanks, "/", four blanks.
inline constexpr std::string_view kEmptyDueText = "  /  /    ";

// The items of the Done drop-down, in order; the first means done.
inline constexpr const char* kDoneItems[2] = {"Yes", "No"};

// The action grid: What, Who, Importance, Due (dd/mm/yyyy) and Done ("Yes" or "No"). A typed
// value changes as one undo step and only when it differs; a Due text naming the day already
// stored keeps the stored time of day. Any What typed into the new entry's row, even an empty one,
// adds an action (importance 1, due now, not done); only that cell of the row may become current.
// Title presses sort What and Who ascending ignoring letter case, Importance descending, Due
// latest first, Done with open actions first. Alt+Delete asks "Delete item '%s'?" with the What.
std::unique_ptr<ListGrid> actionGrid();

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

// The Done drop-down and the Due picker: one undo step when the value changes. A due date on the
// day already stored is no change.
bool setDone(CaseEdit& edit, int action, bool done);
bool setDue(CaseEdit& edit, int action, double due);

} // namespace actions
