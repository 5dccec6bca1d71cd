#include "workshops/environment/impact_risk_ops.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/questions.h"
#include "model/quick_sort.h"

namespace environment {

const std::array<const char*, kRiskColumnCount> kRiskHeadings = {
    "Risk", "Pot. Fin. Impact", "Type", "Potential Impact", "Likelih. of occurrence", "How to deal with the risk",
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

bool isEmptyRow(int row, int count)
{
    return row == count + 1;
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
    case ImpactKind::Strengths: return "Strengths";
    case ImpactKind::Weaknesses: return "Weaknesses";
    case ImpactKind::Opportunities: return "Opportunities";
    case ImpactKind::Threats: break;
    }
    return "Threats";
}

int impactRowCount(const TChange* change, ImpactKind kind)
{
    return gridRowCount(change ? impactList(*change, kind).Count() : 0);
}

std::string impactCellText(const TChange* change, ImpactKind kind, int col, int row)
{
    if (row == 0)
        return col == 0 ? impactHeading(kind) : (col == 1 ? kImportanceHeading : "");
    if (!change)
        return {};
    const auto& list = impactList(*change, kind);
    if (!isEntryRow(row, list.Count()))
        return {};
    const TRankedItem& item = list[row - 1];
    if (col == 0)
        return item.Name;
    return col == 1 ? std::to_string(item.Rank) : std::string();
}

CellCommit commitImpactEdit(CaseEdit& edit, const EnvSelection& selection, ImpactKind kind, int col, int row,
                            std::string_view text)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change)
        return CellCommit::Nothing;
    auto& list = impactList(*change, kind);
    if (isEntryRow(row, list.Count())) {
        TRankedItem& item = list[row - 1];
        bool changed = false;
        if (col == 0)
            changed = edit.set(item.Name, text);
        else if (col == 1)
            changed = edit.set(item.Rank, readScore(text));
        return changed ? CellCommit::Changed : CellCommit::Nothing;
    }
    // An editor opened on the empty row and left empty makes no nameless entry.
    if (isEmptyRow(row, list.Count()) && col == 0 && !text.empty()) {
        edit.begin();
        list.Add().Name.assign(text);
        return CellCommit::Appended;
    }
    return CellCommit::Nothing;
}

bool deleteImpact(CaseEdit& edit, Questions& ask, const EnvSelection& selection, ImpactKind kind, int row)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change)
        return false;
    auto& list = impactList(*change, kind);
    if (!isEntryRow(row, list.Count()) || !confirmDelete(ask, "Delete impact '%s'?", list[row - 1].Name))
        return false;
    edit.begin();
    list.Delete(row - 1);
    return true;
}

void sortImpacts(CaseEdit& edit, const EnvSelection& selection, ImpactKind kind, int col)
{
    edit.begin();
    TChange* change = currentChange(edit.data(), selection);
    if (!change)
        return;
    auto& list = impactList(*change, kind);
    if (col == 0)
        quickSort(list, [](const TRankedItem& item) -> const std::string& { return item.Name; }, SortOrder::Ascending);
    else
        quickSort(list, [](const TRankedItem& item) { return item.Rank; }, SortOrder::Descending);
}

// ---- Risks -----------------------------------------------------------------------------------

int riskRowCount(const TChange* change)
{
    return gridRowCount(change ? change->Risks.Count() : 0);
}

const TRisk* riskAt(const TChange* change, int row)
{
    return change && isEntryRow(row, change->Risks.Count()) ? &change->Risks[row - 1] : nullptr;
}

bool canSelectRiskCell(const TChange* change, int col, int row)
{
    return !(col == kRiskType && isEmptyRow(row, change ? change->Risks.Count() : 0));
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

std::string riskCellText(const TCaseData& data, const TChange* change, int col, int row)
{
    if (row == 0)
        return col >= 0 && col < kRiskColumnCount ? kRiskHeadings[static_cast<std::size_t>(col)] : "";
    const TRisk* risk = riskAt(change, row);
    if (!risk)
        return {};
    switch (col) {
    case kRiskName: return risk->Name;
    case kRiskFinImpact: return finImpactEditText(risk->FinImpact);
    case kRiskType: {
        const std::string* name = riskTypeName(data, risk->RiskType);
        return name ? *name : std::string();
    }
    case kRiskImpact: return std::to_string(risk->Impact);
    case kRiskLikelihood: return std::to_string(risk->Likelihood);
    case kRiskHandling: return risk->Handling;
    default: return {};
    }
}

CellCommit commitRiskEdit(CaseEdit& edit, const EnvSelection& selection, int col, int row, std::string_view text)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change)
        return CellCommit::Nothing;
    auto& risks = change->Risks;
    if (isEntryRow(row, risks.Count())) {
        TRisk& risk = risks[row - 1];
        bool changed = false;
        switch (col) {
        case kRiskName: changed = edit.set(risk.Name, text); break;
        case kRiskFinImpact: changed = edit.set(risk.FinImpact, readFinImpact(text)); break;
        case kRiskImpact: changed = edit.set(risk.Impact, readScore(text)); break;
        case kRiskLikelihood: changed = edit.set(risk.Likelihood, readScore(text)); break;
        case kRiskHandling: changed = edit.set(risk.Handling, text); break;
        default: break; // the type is chosen through the type box
        }
        return changed ? CellCommit::Changed : CellCommit::Nothing;
    }
    if (isEmptyRow(row, risks.Count()) && col == kRiskName && !text.empty()) {
        edit.begin();
        risks.Add().Name.assign(text);
        return CellCommit::Appended;
    }
    return CellCommit::Nothing;
}

bool deleteRisk(CaseEdit& edit, Questions& ask, const EnvSelection& selection, int col, int row)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change || col != kRiskName || !isEntryRow(row, change->Risks.Count()))
        return false;
    if (!confirmDelete(ask, "Delete risk '%s'?", change->Risks[row - 1].Name))
        return false;
    edit.begin();
    change->Risks.Delete(row - 1);
    return true;
}

bool sortRisks(CaseEdit& edit, const EnvSelection& selection, int col)
{
    TChange* change = currentChange(edit.data(), selection);
    if (!change || change->Risks.Count() < 2 || col < 0 || col >= kRiskColumnCount)
        return false;
    edit.begin();
    auto& risks = change->Risks;
    using Text = const std::string&;
    switch (col) {
    case kRiskName: quickSort(risks, [](const TRisk& r) -> Text { return r.Name; }, SortOrder::Ascending); break;
    case kRiskFinImpact: quickSort(risks, [](const TRisk& r) { return r.FinImpact; }, SortOrder::Descending); break;
    case kRiskType: quickSort(risks, [](const TRisk& r) { return r.RiskType; }, SortOrder::Ascending); break;
    case kRiskImpact: quickSort(risks, [](const TRisk& r) { return r.Impact; }, SortOrder::Descending); break;
    case kRiskLikelihood: quickSort(risks, [](const TRisk& r) { return r.Likelihood; }, SortOrder::Descending); break;
    case kRiskHandling:
        quickSort(risks, [](const TRisk& r) -> Text { return r.Handling; }, SortOrder::Ascending);
        break;
    default: break;
    }
    return true;
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
    if (!confirmDelete(ask, "Delete risk type '%s'?", data.RiskTypes[static_cast<std::size_t>(type)]))
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
