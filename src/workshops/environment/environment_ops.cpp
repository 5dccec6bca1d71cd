#include "workshops/environment/environment_ops.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/core_text.h"
#include "model/date_time.h"
#include "model/questions.h"
#include "model/typed_number.h"

namespace environment {

namespace {

template <class Data>
auto* areaOf(Data& data, const EnvSelection& selection)
{
    return data.ChangeAreas.InRange(selection.area) ? &data.ChangeAreas[selection.area] : nullptr;
}

template <class Data>
auto* changeOf(Data& data, const EnvSelection& selection)
{
    auto* area = areaOf(data, selection);
    return area && area->Changes.InRange(selection.change) ? &area->Changes[selection.change] : nullptr;
}

int firstOf(std::size_t count)
{
    return count > 0 ? 0 : -1;
}

} // namespace

TChangeArea* currentArea(TCaseData& data, const EnvSelection& selection)
{
    return areaOf(data, selection);
}

const TChangeArea* currentArea(const TCaseData& data, const EnvSelection& selection)
{
    return areaOf(data, selection);
}

TChange* currentChange(TCaseData& data, const EnvSelection& selection)
{
    return changeOf(data, selection);
}

const TChange* currentChange(const TCaseData& data, const EnvSelection& selection)
{
    return changeOf(data, selection);
}

std::vector<std::string> levelNames(const TCaseData& data, Level level, const EnvSelection& selection)
{
    std::vector<std::string> names;
    if (level == Level::Area) {
        names.reserve(static_cast<std::size_t>(data.ChangeAreas.Count()));
        for (const TChangeArea& area : data.ChangeAreas)
            names.push_back(area.Name);
        return names;
    }
    const TChangeArea* area = currentArea(data, selection);
    if (!area)
        return names;
    if (level == Level::Megatrend)
        return area->Megatrends;
    names.reserve(static_cast<std::size_t>(area->Changes.Count()));
    for (const TChange& change : area->Changes)
        names.push_back(change.Name);
    return names;
}

EnvSelection reload(const TCaseData& data, int shownArea)
{
    const int area = data.ChangeAreas.InRange(shownArea) ? shownArea : firstOf(static_cast<std::size_t>(data.ChangeAreas.Count()));
    return selectArea(data, area);
}

EnvSelection reloadKeeping(const TCaseData& data, const EnvSelection& shown)
{
    EnvSelection selection = reload(data, shown.area);
    if (selection.area != shown.area)
        return selection;
    const TChangeArea& area = data.ChangeAreas[selection.area];
    if (shown.megatrend >= 0 && static_cast<std::size_t>(shown.megatrend) < area.Megatrends.size())
        selection.megatrend = shown.megatrend;
    if (area.Changes.InRange(shown.change))
        selection.change = shown.change;
    return selection;
}

EnvSelection selectArea(const TCaseData& data, int area)
{
    if (!data.ChangeAreas.InRange(area))
        return {};
    const TChangeArea& chosen = data.ChangeAreas[area];
    return {area, firstOf(chosen.Megatrends.size()), firstOf(static_cast<std::size_t>(chosen.Changes.Count()))};
}

EnvSelection selectChange(const TCaseData& data, EnvSelection selection, int change)
{
    const TChangeArea* area = currentArea(data, selection);
    selection.change = area && area->Changes.InRange(change) ? change : -1;
    return selection;
}

ChangeFields changeFields(const TCaseData& data, const EnvSelection& selection)
{
    const TChange* change = currentChange(data, selection);
    if (!change)
        return {};
    return {true, change->Description, std::to_string(change->ImpToday), std::to_string(change->ImpTomorrow)};
}

CoreMessage importanceTodayLabel(const TCaseData& data)
{
    return {CORE_TEXT("Workshop texts", "a&s of %s:"), formatDate(data.DateFrom)};
}

CoreMessage importanceTomorrowLabel(const TCaseData& data)
{
    return {CORE_TEXT("Workshop texts", "as of %s:"), formatDate(data.DateTo)};
}

std::optional<TypedCommit> commitTypedText(CaseEdit& edit, Questions& ask, Level level, EnvSelection current,
                                           std::string_view typed)
{
    TCaseData& data = edit.data();
    const std::vector<std::string> names = levelNames(data, level, current);
    TChangeArea* area = currentArea(data, current);
    if (level != Level::Area && !area)
        return std::nullopt;

    TypedNameResult result;
    switch (level) {
    case Level::Area:
        result = commitTypedName(edit, names, typed, current.area, ask,
                                 {[&](std::string_view name) { data.ChangeAreas.Add().Name.assign(name); },
                                  [&](int i, std::string_view name) { data.ChangeAreas[i].Name.assign(name); }});
        // The area shown, named again or renamed, keeps its megatrend and change.
        if (result.index == current.area && data.ChangeAreas.InRange(current.area))
            return TypedCommit{result.outcome, current};
        return TypedCommit{result.outcome, selectArea(data, result.index)};
    case Level::Megatrend:
        result = commitTypedName(edit, area->Megatrends, typed, current.megatrend, ask);
        current.megatrend = result.index;
        return TypedCommit{result.outcome, current};
    case Level::Change:
        // A new change starts with an empty description and both importances 1, as constructed.
        result = commitTypedName(edit, names, typed, current.change, ask,
                                 {[&](std::string_view name) { area->Changes.Add().Name.assign(name); },
                                  [&](int i, std::string_view name) { area->Changes[i].Name.assign(name); }});
        return TypedCommit{result.outcome, selectChange(data, current, result.index)};
    }
    return std::nullopt;
}

std::optional<EnvSelection> deleteSelected(CaseEdit& edit, Questions& ask, Level level, EnvSelection current)
{
    TCaseData& data = edit.data();
    TChangeArea* area = currentArea(data, current);
    if (!area)
        return std::nullopt;

    // The question names the entry that goes, whatever the box's edit field holds at the moment.
    switch (level) {
    case Level::Area:
        if (!confirmDelete(ask, CORE_TEXT("Questions", "Delete area '%s'?"), area->Name))
            return std::nullopt;
        edit.begin();
        data.ChangeAreas.Delete(current.area);
        // The box loses its selection with the entry, so the reload starts again at the first area.
        return reload(data, -1);
    case Level::Megatrend: {
        if (current.megatrend < 0 || static_cast<std::size_t>(current.megatrend) >= area->Megatrends.size())
            return std::nullopt;
        if (!confirmDelete(ask, CORE_TEXT("Questions", "Delete megatrend '%s'?"), area->Megatrends[static_cast<std::size_t>(current.megatrend)]))
            return std::nullopt;
        edit.begin();
        area->Megatrends.erase(area->Megatrends.begin() + current.megatrend);
        return reload(data, current.area);
    }
    case Level::Change:
        if (!area->Changes.InRange(current.change))
            return std::nullopt;
        if (!confirmDelete(ask, CORE_TEXT("Questions", "Delete change '%s'?"), area->Changes[current.change].Name))
            return std::nullopt;
        edit.begin();
        area->Changes.Delete(current.change);
        return reload(data, current.area);
    }
    return std::nullopt;
}

bool setDescription(CaseEdit& edit, const EnvSelection& selection, std::string_view text)
{
    TChange* change = currentChange(edit.data(), selection);
    return change && edit.set(change->Description, text);
}

std::optional<int> setImportance(CaseEdit& edit, const EnvSelection& selection, When when, std::string_view text)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change)
        return std::nullopt;
    int32_t& field = when == When::Today ? change->ImpToday : change->ImpTomorrow;
    edit.set(field, readScore(text));
    return field;
}

int readScore(std::string_view text)
{
    return readTypedScore(text);
}

std::vector<portfolio::PlotRow> buildChangeList(const TCaseData& data, const portfolio::PlotFilter& filter)
{
    using portfolio::PlotRow;
    std::vector<PlotRow> rows;
    for (const TChangeArea& area : data.ChangeAreas) {
        bool headed = false;
        for (const TChange& change : area.Changes) {
            if (!filter.admits(change.ImpToday, change.ImpTomorrow))
                continue;
            if (!headed) {
                rows.push_back(PlotRow::headingRow(area.Name));
                headed = true;
            }
            rows.push_back(PlotRow::entryRow("   " + change.Name, change.ImpToday, change.ImpTomorrow));
        }
    }
    return rows;
}

} // namespace environment
