#include "workshops/vision/future_ops.h"

#include <cmath>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/quick_sort.h"
#include "model/typed_name.h"
#include "model/typed_number.h"

namespace future {

namespace {

const char* const kTitles[kColumnCount] = {"Objective", "Imp.", "Type"};

int objectiveCount(const TCaseData& data)
{
    return data.KeyObjectives.Count();
}

int typeCount(const TCaseData& data)
{
    return static_cast<int>(data.ObjectiveTypes.size());
}

} // namespace

std::string objectiveCellText(const TCaseData& data, int col, int row)
{
    if (row == 0)
        return col >= 0 && col < kColumnCount ? kTitles[col] : "";
    const int index = objectiveAtRow(data, row);
    if (index < 0)
        return {};
    const TRankedItem& objective = data.KeyObjectives[index];
    switch (col) {
    case ColObjective: return objective.Name;
    case ColImportance: return std::to_string(objective.Rank);
    case ColType: {
        const std::string* type = objectiveTypeName(data, objective.Link);
        return type ? *type : std::string();
    }
    default: return {};
    }
}

int objectiveAtRow(const TCaseData& data, int row)
{
    return row >= 1 && row <= objectiveCount(data) ? row - 1 : -1;
}

bool canSelectObjectiveCell(const TCaseData& data, int col, int row)
{
    if (col < 0 || col >= kColumnCount || row < 1 || row > objectiveCount(data) + 1)
        return false;
    return !(col == ColType && row == objectiveCount(data) + 1);
}

int32_t readImportance(std::string_view text)
{
    return readTypedScore(text);
}

CellCommit commitObjectiveCell(CaseEdit& edit, int col, int row, std::string_view text)
{
    TCaseData& data = edit.data();
    const int index = objectiveAtRow(data, row);
    if (index >= 0) {
        TRankedItem& objective = data.KeyObjectives[index];
        bool changed = false;
        if (col == ColObjective)
            changed = edit.set(objective.Name, text);
        else if (col == ColImportance)
            changed = edit.set(objective.Rank, readImportance(text));
        return changed ? CellCommit::Changed : CellCommit::Unchanged;
    }
    if (row == objectiveCount(data) + 1 && col == ColObjective) {
        edit.begin();
        TRankedItem& objective = data.KeyObjectives.Add();
        objective.Name.assign(text);
        objective.Link = -1;
        objective.Rank = 1;
        return CellCommit::Added;
    }
    return CellCommit::Unchanged;
}

bool sortObjectives(CaseEdit& edit, int col)
{
    TCaseData& data = edit.data();
    if (objectiveCount(data) < 2 || col < 0 || col >= kColumnCount)
        return false;
    edit.begin();
    switch (col) {
    case ColObjective:
        quickSort(data.KeyObjectives, [](const TRankedItem& o) -> const std::string& { return o.Name; },
                  SortOrder::Ascending);
        break;
    case ColImportance:
        quickSort(data.KeyObjectives, [](const TRankedItem& o) { return o.Rank; }, SortOrder::Descending);
        break;
    case ColType:
        quickSort(data.KeyObjectives, [](const TRankedItem& o) { return o.Link; }, SortOrder::Ascending);
        break;
    }
    return true;
}

bool deleteObjective(CaseEdit& edit, Questions& ask, int row)
{
    TCaseData& data = edit.data();
    const int index = objectiveAtRow(data, row);
    if (index < 0 || !confirmDelete(ask, "Delete objective '%s'?", data.KeyObjectives[index].Name))
        return false;
    edit.begin();
    data.KeyObjectives.Delete(index);
    return true;
}

int synchroniseObjectiveType(CaseEdit& edit, int objective)
{
    TCaseData& data = edit.data();
    if (!data.KeyObjectives.InRange(objective))
        return -1;
    int32_t& link = data.KeyObjectives[objective].Link;
    if (link >= 0 && link < typeCount(data))
        return link;
    edit.set(link, -1);
    return -1;
}

void chooseObjectiveType(CaseEdit& edit, int objective, int type)
{
    TCaseData& data = edit.data();
    if (!data.KeyObjectives.InRange(objective) || type < 0 || type >= typeCount(data))
        return;
    edit.set(data.KeyObjectives[objective].Link, type);
}

TypedTypeResult commitTypedType(CaseEdit& edit, Questions& ask, int objective, std::string_view typed,
                                int lastChosen)
{
    TCaseData& data = edit.data();
    TypedTypeResult result;
    if (!data.KeyObjectives.InRange(objective))
        return result;
    TRankedItem& current = data.KeyObjectives[objective];

    const auto outcome = commitTypedName(edit, data.ObjectiveTypes, typed, lastChosen, ask,
                                         {[&](std::string_view name) {
                                              data.ObjectiveTypes.emplace_back(name);
                                              current.Link = typeCount(data) - 1;
                                          },
                                          [&](int index, std::string_view name) {
                                              data.ObjectiveTypes[static_cast<std::size_t>(index)].assign(name);
                                          }});
    using Outcome = TypedNameResult::Outcome;
    if (outcome.outcome == Outcome::Selected && outcome.index >= 0)
        chooseObjectiveType(edit, objective, outcome.index);
    result.listChanged = outcome.changed();
    result.cancelled = outcome.outcome == Outcome::Cancelled;
    result.selected = synchroniseObjectiveType(edit, objective);
    return result;
}

bool deleteObjectiveType(CaseEdit& edit, Questions& ask, int type)
{
    TCaseData& data = edit.data();
    if (type < 0 || type >= typeCount(data))
        return false;
    if (!confirmDelete(ask, "Delete objective type '%s'?", data.ObjectiveTypes[static_cast<std::size_t>(type)]))
        return false;
    edit.begin();
    data.ObjectiveTypes.erase(data.ObjectiveTypes.begin() + type);
    removeReferencedItem(data, {RefList::ObjectiveTypes}, type);
    return true;
}

bool sameDay(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::trunc(a) == std::trunc(b);
}

bool editPlanningPeriod(CaseEdit& edit, double dateFrom, double dateTo)
{
    TCaseData& data = edit.data();
    const bool fromDiffers = !sameDay(data.DateFrom, dateFrom);
    const bool toDiffers = !sameDay(data.DateTo, dateTo);
    if (!edit.beginFieldsIf(fromDiffers || toDiffers))
        return false;
    storePlanningPeriod(edit, dateFrom, dateTo);
    return true;
}

void storePlanningPeriod(CaseEdit& edit, double dateFrom, double dateTo)
{
    TCaseData& data = edit.data();
    if (!sameDay(data.DateFrom, dateFrom))
        edit.assign(data.DateFrom, dateFrom);
    if (!sameDay(data.DateTo, dateTo))
        edit.assign(data.DateTo, dateTo);
}

} // namespace future
