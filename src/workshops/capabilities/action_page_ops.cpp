#include "workshops/capabilities/action_page_ops.h"

#include <cmath>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/date_time.h"
#include "model/quick_sort.h"
#include "model/typed_number.h"

namespace actions {

namespace {

const char* const kTitles[kColumnCount] = {"What", "Who", "Importance", "Due", "Done"};

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

} // namespace

std::string actionCellText(const TCaseData& data, int col, int row)
{
    if (row == 0)
        return col >= 0 && col < kColumnCount ? kTitles[col] : "";
    const int index = actionAtRow(data, row);
    if (index < 0)
        return {};
    const TAction& action = data.Actions[index];
    switch (col) {
    case ColWhat: return action.What;
    case ColWho: return action.Who;
    case ColImportance: return std::to_string(action.Importance);
    case ColDue: return formatDate(action.Due);
    case ColDone: return action.Done ? kDoneItems[0] : kDoneItems[1];
    default: return {};
    }
}

int actionAtRow(const TCaseData& data, int row)
{
    return row >= 1 && row <= data.Actions.Count() ? row - 1 : -1;
}

bool canSelectActionCell(const TCaseData& data, int col, int row)
{
    if (col < 0 || col >= kColumnCount)
        return false;
    if (actionAtRow(data, row) >= 0)
        return true;
    return row == data.Actions.Count() + 1 && col == ColWhat;
}

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
    if (!data.Actions.InRange(action) || sameDay(data.Actions[action].Due, due))
        return false;
    return edit.set(data.Actions[action].Due, due);
}

CellCommit commitActionCell(CaseEdit& edit, int col, int row, std::string_view text)
{
    TCaseData& data = edit.data();
    const int index = actionAtRow(data, row);
    if (index >= 0) {
        TAction& action = data.Actions[index];
        bool changed = false;
        switch (col) {
        case ColWhat: changed = edit.set(action.What, text); break;
        case ColWho: changed = edit.set(action.Who, text); break;
        case ColImportance: changed = edit.set(action.Importance, readImportance(text)); break;
        case ColDue:
            if (const auto due = readDue(text))
                changed = setDue(edit, index, *due);
            break;
        case ColDone: changed = setDone(edit, index, readDone(text)); break;
        default: break;
        }
        return changed ? CellCommit::Changed : CellCommit::Unchanged;
    }
    if (row == data.Actions.Count() + 1 && col == ColWhat) {
        edit.begin();
        data.Actions.Add().What.assign(text);
        return CellCommit::Added;
    }
    return CellCommit::Unchanged;
}

bool sortActions(CaseEdit& edit, int col)
{
    TCaseData& data = edit.data();
    if (data.Actions.Count() < 2 || col < 0 || col >= kColumnCount)
        return false;
    edit.begin();
    auto& list = data.Actions;
    switch (col) {
    case ColWhat:
        quickSort(list, [](const TAction& a) -> const std::string& { return a.What; }, SortOrder::Ascending);
        break;
    case ColWho:
        quickSort(list, [](const TAction& a) -> const std::string& { return a.Who; }, SortOrder::Ascending);
        break;
    case ColImportance:
        quickSort(list, [](const TAction& a) { return a.Importance; }, SortOrder::Descending);
        break;
    case ColDue:
        quickSort(list, [](const TAction& a) { return a.Due; }, SortOrder::Descending);
        break;
    case ColDone:
        quickSort(list, [](const TAction& a) { return a.Done ? 1 : 0; }, SortOrder::Ascending);
        break;
    }
    return true;
}

bool deleteAction(CaseEdit& edit, Questions& ask, int row)
{
    TCaseData& data = edit.data();
    const int index = actionAtRow(data, row);
    if (index < 0 || !confirmDelete(ask, "Delete item '%s'?", data.Actions[index].What))
        return false;
    edit.begin();
    data.Actions.Delete(index);
    return true;
}

} // namespace actions
