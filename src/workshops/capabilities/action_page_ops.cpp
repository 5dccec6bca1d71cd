#include "workshops/capabilities/action_page_ops.h"

#include <cmath>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/core_text.h"
#include "model/date_time.h"
#include "model/list_grid.h"
#include "model/quick_sort.h"
#include "model/typed_number.h"

namespace actions {

namespace {

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool sameDay(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::trunc(a) == std::trunc(b);
}

// A due date on the day already stored is no change.
bool storeDue(CaseEdit& edit, TAction& action, double due)
{
    return !sameDay(action.Due, due) && edit.set(action.Due, due);
}

std::string dueText(const TCaseData&, const TAction& action)
{
    return formatDate(action.Due);
}

bool storeTypedDue(CaseEdit& edit, TAction& action, std::string_view text)
{
    const auto due = readDue(text);
    return due && storeDue(edit, action, *due);
}

std::string doneText(const TCaseData&, const TAction& action)
{
    return action.Done ? kDoneItems[0] : kDoneItems[1];
}

bool storeTypedDone(CaseEdit& edit, TAction& action, std::string_view text)
{
    return edit.set(action.Done, readDone(text));
}

// Open actions first.
int doneKey(const TAction& action)
{
    return action.Done ? 1 : 0;
}

using namespace list_columns;

const ListColumn<TAction> kColumns[kColumnCount] = {
    textColumn<&TAction::What>(CORE_TEXT("Grid titles", "What")),
    notOnNewRow(textColumn<&TAction::Who>(CORE_TEXT("Grid titles", "Who"))),
    notOnNewRow(numberColumn<&TAction::Importance, readImportance>(CORE_TEXT("Grid titles", "Importance"))),
    {CORE_TEXT("Grid titles", "Due"), dueText, storeTypedDue, sortBy<TAction, &TAction::Due, SortOrder::Descending>, false},
    {CORE_TEXT("Grid titles", "Done"), doneText, storeTypedDone, sortBy<TAction, doneKey, SortOrder::Ascending>, false},
};
const ListTable<TAction> kTable{kColumns, &TAction::What, CORE_TEXT("Questions", "Delete item '%s'?")};

} // namespace

int32_t readImportance(std::string_view text)
{
    return readTypedScore(text);
}

bool readDone(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(foldCaseCp1252(static_cast<unsigned char>(c)));
    for (const char* yes : {"yes", "y", "ye", "yess", "yyes", "ok"})
        if (lower == yes)
            return true;
    return false;
}

std::optional<double> readDue(std::string_view text, int referenceYear)
{
    if (text == kEmptyDueText)
        return std::nullopt;
    // A date typed into the mask may leave blanks in the positions of a number; the numbers
    // themselves are read as the program reads every short date.
    std::string numbers;
    for (int part = 0; part < 3; ++part) {
        const std::size_t slash = text.find('/');
        if ((part < 2) != (slash != std::string_view::npos))
            return std::nullopt;
        const std::string_view number = trimBlanks(text.substr(0, slash));
        if (number.find(' ') != std::string_view::npos)
            return std::nullopt;
        if (part > 0)
            numbers += '/';
        numbers += number;
        text = part < 2 ? text.substr(slash + 1) : std::string_view();
    }
    return parseShortDate(numbers, ShortDateFormat{}, referenceYear);
}

std::optional<double> readDue(std::string_view text)
{
    return readDue(text, currentYear());
}

bool setDone(CaseEdit& edit, int action, bool done)
{
    TCaseData& data = edit.data();
    return data.Actions.InRange(action) && edit.set(data.Actions[action].Done, done);
}

bool setDue(CaseEdit& edit, int action, double due)
{
    TCaseData& data = edit.data();
    return data.Actions.InRange(action) && storeDue(edit, data.Actions[action], due);
}

std::unique_ptr<ListGrid> actionGrid()
{
    return std::make_unique<ItemListGrid<TAction>>(kTable, [](TCaseData& data) { return &data.Actions; });
}

} // namespace actions
