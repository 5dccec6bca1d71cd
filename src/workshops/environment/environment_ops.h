#pragma once

// Describe the Environment, first page: areas of change, their megatrends and changes, a change's
// description and importances, and the filtered change list beside the importance diagram.
//
// The window keeps three positions (area, megatrend, change); every operation takes them with
// what the user typed and returns the positions the window selects next. Positions are never
// trusted: one that names no entry (after an undo, or in a damaged file) counts as none.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/core_text.h"
#include "model/typed_name.h"
#include "workshops/portfolio/portfolio_ops.h"

class CaseEdit;
class Questions;
struct TCaseData;
struct TChange;
struct TChangeArea;

namespace environment {

// The three naming boxes of the first page.
enum class Level { Area, Megatrend, Change };

struct EnvSelection {
    int area = -1;
    int megatrend = -1;
    int change = -1;

    bool operator==(const EnvSelection&) const = default;
};

// The area and the change the selection names, or null.
TChangeArea* currentArea(TCaseData& data, const EnvSelection& selection);
const TChangeArea* currentArea(const TCaseData& data, const EnvSelection& selection);
TChange* currentChange(TCaseData& data, const EnvSelection& selection);
const TChange* currentChange(const TCaseData& data, const EnvSelection& selection);

// What a level's box lists: the area names, or the megatrends or change names of the current area
// (empty without one).
std::vector<std::string> levelNames(const TCaseData& data, Level level, const EnvSelection& selection);

// Reload: keeps the area the box showed (`shownArea`, -1 when none) if it still exists, else takes
// the first area, then selects as selectArea does.
EnvSelection reload(const TCaseData& data, int shownArea);
// Reload keeping what the window showed: the area, megatrend and change of `shown` where they still
// exist, the first ones where they do not.
EnvSelection reloadKeeping(const TCaseData& data, const EnvSelection& shown);
// Selecting an area selects its first megatrend and its first change.
EnvSelection selectArea(const TCaseData& data, int area);
// Selecting a change keeps area and megatrend.
EnvSelection selectChange(const TCaseData& data, EnvSelection selection, int change);

// What the change fields show for the selection; all disabled and empty without a current change.
struct ChangeFields {
    bool enabled = false;
    std::string description;
    std::string impToday;
    std::string impTomorrow;
};
ChangeFields changeFields(const TCaseData& data, const EnvSelection& selection);

// Labels of the two importance boxes: "a&s of 08/12/2026:" and "as of 08/12/2027:"; keys of the
// context "Workshop texts" quoting the date.
CoreMessage importanceTodayLabel(const TCaseData& data);
CoreMessage importanceTomorrowLabel(const TCaseData& data);

// Enter in a naming box, or the focus leaving it: the add-or-rename protocol for that level.
// Nothing happens (nullopt) for megatrends and changes without a current area. Another area comes
// with its first megatrend and change; the area shown, named again or renamed, keeps them.
struct TypedCommit {
    TypedNameResult::Outcome outcome = TypedNameResult::Outcome::Selected;
    EnvSelection selection;
};
std::optional<TypedCommit> commitTypedText(CaseEdit& edit, Questions& ask, Level level, EnvSelection current,
                                           std::string_view typed);

// Alt+Delete in a naming box: asks "Delete area '%s'?" (megatrend, change) about the selected
// entry and removes it with everything it owns. Returns the selection after the reload that
// follows, or nullopt when nothing was deleted.
std::optional<EnvSelection> deleteSelected(CaseEdit& edit, Questions& ask, Level level, EnvSelection current);

// The description box changed; false when there is no current change or the text is the same.
bool setDescription(CaseEdit& edit, const EnvSelection& selection, std::string_view text);

// An importance box changed: the text is read as a whole number (1 when empty or not a number),
// clamped to 1..10 and stored. Returns the stored value, which the box shows at once, or nullopt
// without a current change.
enum class When { Today, Tomorrow };
std::optional<int> setImportance(CaseEdit& edit, const EnvSelection& selection, When when, std::string_view text);

// A score box's text: a whole number, 1 when unreadable, clamped to 1..10.
int readScore(std::string_view text);

// ---- The change list beside the importance diagram -------------------------------------------

// The changes passing the filter (today's importance vertical, tomorrow's horizontal) under a
// heading row per area, in model order; an area with no passing change has no heading.
std::vector<portfolio::PlotRow> buildChangeList(const TCaseData& data, const portfolio::PlotFilter& filter);

} // namespace environment
