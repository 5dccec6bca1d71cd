#include "workshops/environment/impact_risk_ops.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/core_text.h"
#include "model/questions.h"
#include "model/list_grid.h"

namespace environment {

const std::array<const char*, kRiskColumnCount> kRiskHeadings = {
    CORE_TEXT("Grid titles", "Risk"),
    CORE_TEXT("Grid titles", "Pot. Fin. Impact"),
    CORE_TEXT("Grid titles", "Type"),
    CORE_TEXT("Grid titles", "Potential Impact"),
    CORE_TEXT("Grid titles", "Likelih. of occurrence"),
    CORE_TEXT("Grid titles", "How to deal with the risk"),
};

namespace {

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Entry row r of a list of `count` entries names entry r - 1.
bool isEntryRow(int row, int count)
{
    return row >= 1 && row <= count;
}

std::array<ListColumn<TRankedItem>, 2> impactColumns(ImpactKind kind)
{
    using namespace list_columns;
    return {textColumn<&TRankedItem::Name>(impactHeading(kind)),
            numberColumn<&TRankedItem::Rank, readScore>(kImportanceHeading)};
}

std::string finImpactText(const TCaseData&, const TRisk& risk)
{
    return finImpactEditText(risk.FinImpact);
}

std::string riskTypeText(const TCaseData& data, const TRisk& risk)
{
    const std::string* name = riskTypeName(data, risk.RiskType);
    return name ? *name : std::string();
}

} // namespace

// ---- Impacts ---------------------------------------------------------------------------------

TDelList<TRankedItem>& impactList(TChange& change, ImpactKind kind)
{
    switch (kind) {
    case ImpactKind::Strengths: return change.Strengths;
    case ImpactKind::Weaknesses: return change.Weaknesses;
    case ImpactKind::Opportunities: return change.Opportunities;
    case ImpactKind::Threats: break;
    }
    return change.Threats;
}

const TDelList<TRankedItem>& impactList(const TChange& change, ImpactKind kind)
{
    return impactList(const_cast<TChange&>(change), kind);
}

const char* impactHeading(ImpactKind kind)
{
    switch (kind) {
    case ImpactKind::Strengths: return CORE_TEXT("Grid titles", "Strengths");
    case ImpactKind::Weaknesses: return CORE_TEXT("Grid titles", "Weaknesses");
    case ImpactKind::Opportunities: return CORE_TEXT("Grid titles", "Opportunities");
    case ImpactKind::Threats: break;
    }
    return CORE_TEXT("Grid titles", "Threats");
}

std::unique_ptr<ListGrid> impactGrid(const EnvSelection& selection, ImpactKind kind)
{
    static const std::array<ListColumn<TRankedItem>, 2> columns[] = {
        impactColumns(ImpactKind::Strengths), impactColumns(ImpactKind::Weaknesses),
        impactColumns(ImpactKind::Opportunities), impactColumns(ImpactKind::Threats)};
    const ListTable<TRankedItem> table{.columns = columns[static_cast<int>(kind)],
                                       .name = &TRankedItem::Name,
                                       .deleteQuestion = CORE_TEXT("Questions", "Delete impact '%s'?"),
                                       .emptyNameAdds = false,
                                       .sortFrom = 0};
    return std::make_unique<ItemListGrid<TRankedItem>>(table, [&selection, kind](TCaseData& data) {
        TChange* change = currentChange(data, selection);
        return change ? &impactList(*change, kind) : nullptr;
    });
}

// ---- Risks -----------------------------------------------------------------------------------

const TRisk* riskAt(const TChange* change, int row)
{
    return change && isEntryRow(row, change->Risks.Count()) ? &change->Risks[row - 1] : nullptr;
}

std::string finImpactEditText(double value)
{
    if (!std::isfinite(value))
        return {};
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

double readFinImpact(std::string_view text)
{
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return 0;
    return value;
}

std::unique_ptr<ListGrid> riskGrid(const EnvSelection& selection)
{
    using namespace list_columns;
    static const ListColumn<TRisk> columns[kRiskColumnCount] = {
        textColumn<&TRisk::Name>(kRiskHeadings[kRiskName]),
        {kRiskHeadings[kRiskFinImpact], finImpactText, storeRead<&TRisk::FinImpact, readFinImpact>,
         sortBy<TRisk, &TRisk::FinImpact, SortOrder::Descending>},
        {kRiskHeadings[kRiskType], riskTypeText, nullptr, sortBy<TRisk, &TRisk::RiskType, SortOrder::Ascending>, false},
        numberColumn<&TRisk::Impact, readScore>(kRiskHeadings[kRiskImpact]),
        numberColumn<&TRisk::Likelihood, readScore>(kRiskHeadings[kRiskLikelihood]),
        textColumn<&TRisk::Handling>(kRiskHeadings[kRiskHandling]),
    };
    static const ListTable<TRisk> table{.columns = columns,
                                        .name = &TRisk::Name,
                                        .deleteQuestion = CORE_TEXT("Questions", "Delete risk '%s'?"),
                                        .emptyNameAdds = false,
                                        .deleteFromName = true};
    return std::make_unique<ItemListGrid<TRisk>>(table, [&selection](TCaseData& data) {
        TChange* change = currentChange(data, selection);
        return change ? &change->Risks : nullptr;
    });
}

// ---- Risk types ------------------------------------------------------------------------------

std::optional<int> riskTypeOfRow(const TCaseData& data, const EnvSelection& selection, int row)
{
    const TRisk* risk = riskAt(currentChange(data, selection), row);
    return risk ? std::optional<int>(risk->RiskType) : std::nullopt;
}

namespace {

TRisk* mutableRiskAt(TCaseData& data, const EnvSelection& selection, int row)
{
    TChange* change = currentChange(data, selection);
    return change && isEntryRow(row, change->Risks.Count()) ? &change->Risks[row - 1] : nullptr;
}

bool isTypeOrNone(const TCaseData& data, int type)
{
    return type == -1 || (type >= 0 && static_cast<std::size_t>(type) < data.RiskTypes.size());
}

} // namespace

bool assignRiskType(CaseEdit& edit, const EnvSelection& selection, int row, int type)
{
    TRisk* risk = mutableRiskAt(edit.data(), selection, row);
    return risk && isTypeOrNone(edit.data(), type) && edit.set(risk->RiskType, type);
}

RiskTypeCommit commitRiskTypeText(CaseEdit& edit, Questions& ask, const EnvSelection& selection, int row,
                                  int currentType, std::string_view typed)
{
    TCaseData& data = edit.data();
    const TypedNameResult result = commitTypedName(edit, data.RiskTypes, typed, currentType, ask);
    TRisk* risk = mutableRiskAt(data, selection, row);
    // Cancel changes nothing, not even a type the box could not show.
    if (risk && result.outcome != TypedNameResult::Outcome::Cancelled && isTypeOrNone(data, result.index)) {
        // An add or a rename is already an undo step; choosing an existing type is one only when
        // the risk's type changes.
        if (result.changed())
            risk->RiskType = result.index;
        else
            edit.set(risk->RiskType, result.index);
    }
    return {result.outcome, result.index};
}

bool deleteRiskType(CaseEdit& edit, Questions& ask, int type)
{
    TCaseData& data = edit.data();
    if (type < 0 || static_cast<std::size_t>(type) >= data.RiskTypes.size())
        return false;
    if (!confirmDelete(ask, CORE_TEXT("Questions", "Delete risk type '%s'?"), data.RiskTypes[static_cast<std::size_t>(type)]))
        return false;
    edit.begin();
    data.RiskTypes.erase(data.RiskTypes.begin() + type);
    removeReferencedItem(data, {RefList::RiskTypes}, type);
    return true;
}

// ---- The risk diagram's list -----------------------------------------------------------------

std::vector<portfolio::PlotRow> buildRiskList(const TCaseData& data, const portfolio::PlotFilter& filter)
{
    std::vector<portfolio::PlotRow> rows;
    for (const TChangeArea& area : data.ChangeAreas)
        for (const TChange& change : area.Changes)
            for (const TRisk& risk : change.Risks)
                if (filter.admits(risk.Impact, risk.Likelihood))
                    rows.push_back(portfolio::PlotRow::entryRow(risk.Name, risk.Impact, risk.Likelihood));
    return rows;
}

} // namespace environment
