#include "workshops/vision/future_ops.h"

#include <cmath>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/core_text.h"
#include "model/list_grid.h"
#include "model/typed_name.h"
#include "model/typed_number.h"

namespace future {

namespace {

int typeCount(const TCaseData& data)
{
    return static_cast<int>(data.ObjectiveTypes.size());
}

std::string typeText(const TCaseData& data, const TRankedItem& objective)
{
    const std::string* type = objectiveTypeName(data, objective.Link);
    return type ? *type : std::string();
}

using namespace list_columns;

const ListColumn<TRankedItem> kColumns[kColumnCount] = {
    textColumn<&TRankedItem::Name>(CORE_TEXT("Grid titles", "Objective")),
    numberColumn<&TRankedItem::Rank, readImportance>(CORE_TEXT("Grid titles", "Imp.")),
    {CORE_TEXT("Grid titles", "Type"), typeText, nullptr, sortBy<TRankedItem, &TRankedItem::Link, SortOrder::Ascending>, false},
};
const ListTable<TRankedItem> kTable{kColumns, &TRankedItem::Name, CORE_TEXT("Questions", "Delete objective '%s'?")};

} // namespace

int32_t readImportance(std::string_view text)
{
    return readTypedScore(text);
}

std::unique_ptr<ListGrid> objectiveGrid()
{
    return std::make_unique<ItemListGrid<TRankedItem>>(kTable, [](TCaseData& data) { return &data.KeyObjectives; });
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
    if (!confirmDelete(ask, CORE_TEXT("Questions", "Delete objective type '%s'?"), data.ObjectiveTypes[static_cast<std::size_t>(type)]))
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
