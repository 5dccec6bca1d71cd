#include "workshops/capabilities/capabilities_ops.h"

#include <algorithm>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/date_time.h"
#include "model/questions.h"
#include "model/typed_number.h"

namespace capabilities {

namespace {

RefTarget referenceTarget(int owner)
{
    return owner < 0 ? RefTarget{RefList::GeneralCapabilities} : RefTarget{RefList::ProductCapabilities, owner};
}

// The capability position of a grid row, or -1 for the title row, the empty row and beyond.
int capabilityIndex(const TDelList<TCapability>& list, int row)
{
    return list.InRange(static_cast<long long>(row) - 1) ? row - 1 : -1;
}

} // namespace

TDelList<TCapability>* capabilityList(TCaseData& data, int owner)
{
    if (owner < 0)
        return &data.Capabilities;
    return data.Products.InRange(owner) ? &data.Products[owner].Capabilities : nullptr;
}

const TDelList<TCapability>* capabilityList(const TCaseData& data, int owner)
{
    return capabilityList(const_cast<TCaseData&>(data), owner);
}

const TCapability* capabilityAtRow(const TCaseData& data, int owner, int row)
{
    const TDelList<TCapability>* list = capabilityList(data, owner);
    if (!list)
        return nullptr;
    const int index = capabilityIndex(*list, row);
    return index < 0 ? nullptr : &(*list)[index];
}

int capabilityGridRows(const TCaseData& data, int owner)
{
    const TDelList<TCapability>* list = capabilityList(data, owner);
    return (list ? list->Count() : 0) + 2;
}

int32_t readImportance(std::string_view typed)
{
    return readTypedScore(typed);
}

std::string capabilityCellText(const TCaseData& data, int owner, int column, int row)
{
    if (row == 0) {
        switch (column) {
        case ColName: return "Name";
        case ColToday: return "Status As Of " + formatDate(data.DateFrom);
        case ColTomorrow: return "Status As Of " + formatDate(data.DateTo);
        default: return {};
        }
    }
    const TCapability* capability = capabilityAtRow(data, owner, row);
    if (!capability)
        return {};
    switch (column) {
    case ColName: return capability->Name;
    case ColToday: return std::to_string(capability->ImpToday);
    case ColTomorrow: return std::to_string(capability->ImpTomorrow);
    default: return {};
    }
}

CellCommit commitCapabilityCell(CaseEdit& edit, int owner, int column, int row, std::string_view text)
{
    TDelList<TCapability>* list = capabilityList(edit.data(), owner);
    if (!list || row < 1)
        return CellCommit::Unchanged;
    const int index = capabilityIndex(*list, row);
    if (index >= 0) {
        TCapability& capability = (*list)[index];
        bool changed = false;
        switch (column) {
        case ColName: changed = edit.set(capability.Name, text); break;
        case ColToday: changed = edit.set(capability.ImpToday, readImportance(text)); break;
        case ColTomorrow: changed = edit.set(capability.ImpTomorrow, readImportance(text)); break;
        default: break;
        }
        return changed ? CellCommit::Changed : CellCommit::Unchanged;
    }
    // The empty row: only a name starts a capability. Leaving the editor there without typing
    // must not leave an unnamed capability behind.
    if (row != list->Count() + 1 || column != ColName || text.empty())
        return CellCommit::Unchanged;
    edit.begin();
    TCapability& added = list->Add();
    added.Name.assign(text);
    added.ImpToday = 1;
    added.ImpTomorrow = 1;
    return CellCommit::Added;
}

bool deleteCapability(CaseEdit& edit, Questions& ask, int owner, int row)
{
    TDelList<TCapability>* list = capabilityList(edit.data(), owner);
    if (!list)
        return false;
    const int index = capabilityIndex(*list, row);
    if (index < 0)
        return false;
    if (!confirmDelete(ask, owner < 0 ? kDeleteGeneralQuestion : kDeleteSpecialQuestion, (*list)[index].Name))
        return false;
    edit.begin();
    list->Delete(index);
    removeReferencedItem(edit.data(), referenceTarget(owner), index);
    return true;
}

bool sortCapabilities(CaseEdit& edit, int owner, int column)
{
    TDelList<TCapability>* list = capabilityList(edit.data(), owner);
    if (!list || list->Count() < 2 || column < ColName || column > ColTomorrow)
        return false;
    edit.begin();
    TCaseData& data = edit.data();
    const RefTarget target = referenceTarget(owner);
    switch (column) {
    case ColName:
        sortReferencedList(data, target, *list, [](const TCapability& c) { return c.Name; }, SortOrder::Ascending);
        break;
    case ColToday:
        sortReferencedList(data, target, *list, [](const TCapability& c) { return c.ImpToday; }, SortOrder::Descending);
        break;
    case ColTomorrow:
        sortReferencedList(data, target, *list, [](const TCapability& c) { return c.ImpTomorrow; },
                           SortOrder::Descending);
        break;
    }
    return true;
}

std::vector<portfolio::PlotRow> buildGraphList(const TCaseData& data, const portfolio::PlotFilter& filter)
{
    using portfolio::PlotRow;
    std::vector<PlotRow> rows;
    const auto passes = [&](const TCapability& capability) {
        return filter.admits(capability.ImpToday, capability.ImpTomorrow);
    };
    const auto entry = [](const char* indent, const TCapability& capability) {
        return PlotRow::entryRow(indent + capability.Name, capability.ImpToday, capability.ImpTomorrow);
    };

    rows.push_back(PlotRow::headingRow("General Capabilities"));
    for (const TCapability& capability : data.Capabilities)
        if (passes(capability))
            rows.push_back(entry("   ", capability));

    rows.push_back(PlotRow::headingRow("Service Specific Capabilities"));
    for (const TCustProd& product : data.Products) {
        bool headed = false;
        for (const TCapability& capability : product.Capabilities) {
            if (!passes(capability))
                continue;
            if (!headed) {
                rows.push_back(PlotRow::headingRow("   " + product.Name));
                headed = true;
            }
            rows.push_back(entry("      ", capability));
        }
    }
    return rows;
}

} // namespace capabilities
