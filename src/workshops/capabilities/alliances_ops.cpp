#include "workshops/capabilities/alliances_ops.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/quick_sort.h"

namespace alliances {

namespace {

bool isPlacementColumn(int column)
{
    return column >= ColCentralized && column <= ColSituationSpecific;
}

bool isAcquisitionColumn(int column)
{
    return column >= ColDevelop && column <= ColPartner;
}

bool holdsChoice(int32_t value)
{
    const int choice = choiceOf(value);
    return choice >= 0 && choice <= 2;
}

// The value with its choice replaced. The position bits stay; a negative value has none that
// could be kept (its remainder would keep the sign and name nothing), so it gets the row's
// position afresh.
int32_t withChoice(int32_t value, int choice, int32_t position)
{
    const int32_t base = value >= 0 ? value / 4 * 4 : position * 4;
    return base + choice;
}

// Position bits as the row list writes them, for a value that holds a choice.
void writePosition(int32_t& value, int32_t position)
{
    if (holdsChoice(value))
        value = position * 4 + choiceOf(value);
}

const TDelList<TCapability>* ownerList(const TCaseData& data, int owner)
{
    if (owner < 0)
        return &data.Capabilities;
    return data.Products.InRange(owner) ? &data.Products[owner].Capabilities : nullptr;
}

} // namespace

AllianceRows buildAllianceRows(TCaseData& data)
{
    AllianceRows rows;
    rows.reserve(static_cast<std::size_t>(countCapabilities(data)));
    for (int i = 0; i < data.Capabilities.Count(); ++i) {
        TCapability& capability = data.Capabilities[i];
        writePosition(capability.Placement, 0);
        writePosition(capability.Acquisition, i);
        rows.push_back({-1, i});
    }
    for (int p = 0; p < data.Products.Count(); ++p) {
        auto& list = data.Products[p].Capabilities;
        for (int i = 0; i < list.Count(); ++i) {
            writePosition(list[i].Placement, p + 1);
            writePosition(list[i].Acquisition, i);
            rows.push_back({p, i});
        }
    }
    return rows;
}

int countCapabilities(const TCaseData& data)
{
    int count = data.Capabilities.Count();
    for (const TCustProd& product : data.Products)
        count += product.Capabilities.Count();
    return count;
}

const TCapability* rowCapability(const TCaseData& data, const AllianceRows& rows, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size())
        return nullptr;
    const AllianceRow& at = rows[static_cast<std::size_t>(row)];
    const TDelList<TCapability>* list = ownerList(data, at.owner);
    return list && list->InRange(at.index) ? &(*list)[at.index] : nullptr;
}

TCapability* rowCapability(TCaseData& data, const AllianceRows& rows, int row)
{
    return const_cast<TCapability*>(rowCapability(static_cast<const TCaseData&>(data), rows, row));
}

int choiceOf(int32_t value)
{
    return value % 4;
}

bool isChosen(const TCapability& capability, int column)
{
    if (isPlacementColumn(column))
        return choiceOf(capability.Placement) == column - ColCentralized;
    if (isAcquisitionColumn(column))
        return choiceOf(capability.Acquisition) == column - ColDevelop;
    return false;
}

bool isChosen(const TCaseData& data, const AllianceRows& rows, int row, int column)
{
    const TCapability* capability = rowCapability(data, rows, row);
    return capability && isChosen(*capability, column);
}

bool setChoice(CaseEdit& edit, const AllianceRows& rows, int row, int column)
{
    TCapability* capability = rowCapability(edit.data(), rows, row);
    if (!capability || !(isPlacementColumn(column) || isAcquisitionColumn(column)) || isChosen(*capability, column))
        return false;
    const AllianceRow& at = rows[static_cast<std::size_t>(row)];
    edit.begin();
    if (isPlacementColumn(column))
        capability->Placement = withChoice(capability->Placement, column - ColCentralized, at.owner + 1);
    else
        capability->Acquisition = withChoice(capability->Acquisition, column - ColDevelop, at.index);
    return true;
}

bool storeDecisions(CaseEdit& edit, const AllianceRows& rows, int row, std::string_view text)
{
    TCapability* capability = rowCapability(edit.data(), rows, row);
    return capability && edit.set(capability->Decisions, text);
}

void sortRowsByName(const TCaseData& data, AllianceRows& rows)
{
    quickSort(
        rows,
        [&data](const AllianceRow& row) -> std::string {
            const TDelList<TCapability>* list = ownerList(data, row.owner);
            return list && list->InRange(row.index) ? (*list)[row.index].Name : std::string();
        },
        SortOrder::Ascending);
}

void bringChoiceToTop(const TCaseData& data, AllianceRows& rows, int column)
{
    const int n = static_cast<int>(rows.size());
    const auto has = [&](int row) { return isChosen(data, rows, row, column); };
    int i = 0;
    int j = n - 1;
    do {
        while (i < n && has(i))
            ++i;
        while (j >= 0 && !has(j))
            --j;
        if (i <= j) {
            std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
}

const char* choiceWord(int column)
{
    static const char* const kWords[] = {
        CORE_TEXT("Workshop texts", "Centralized"), CORE_TEXT("Workshop texts", "Decentralized"), CORE_TEXT("Workshop texts", "Situation Specific"),
        CORE_TEXT("Workshop texts", "Develop"),     CORE_TEXT("Workshop texts", "Buy"),           CORE_TEXT("Workshop texts", "Partner")};
    return column >= ColCentralized && column <= ColPartner ? kWords[column - ColCentralized] : "";
}

const char* columnTitle(int column)
{
    switch (column) {
    case ColName: return CORE_TEXT("Grid titles", "Name");
    case ColCentralized: return CORE_TEXT("Grid titles", "\rCentr.");
    case ColDecentralized: return CORE_TEXT("Grid titles", "Place\r   Decentr.");
    case ColSituationSpecific: return CORE_TEXT("Grid titles", "\rSit. Spec.");
    case ColDevelop: return CORE_TEXT("Grid titles", "\rDevelop");
    case ColBuy: return CORE_TEXT("Grid titles", "How to Get\rBuy");
    case ColPartner: return CORE_TEXT("Grid titles", "\rPartner");
    default: return "";
    }
}

std::string allianceCopyText(const TCaseData& data, const AllianceRows& rows)
{
    std::string text = "Name\r\n";
    const int shown = rows.empty() ? 1 : static_cast<int>(rows.size());
    for (int row = 0; row < shown; ++row) {
        if (const TCapability* capability = rowCapability(data, rows, row)) {
            text += capability->Name;
            for (int column = ColCentralized; column <= ColPartner; ++column)
                if (isChosen(*capability, column))
                    text.append("\t").append(choiceWord(column));
        }
        text += "\r\n";
    }
    return text;
}

} // namespace alliances
