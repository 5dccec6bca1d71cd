#include "workshops/capabilities/capabilities_ops.h"

#include <algorithm>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/core_text.h"
#include "model/date_time.h"
#include "model/list_grid.h"
#include "model/questions.h"
#include "model/typed_number.h"

namespace capabilities {

namespace {

RefTarget referenceTarget(int owner)
{
    return owner < 0 ? RefTarget{RefList::GeneralCapabilities} : RefTarget{RefList::ProductCapabilities, owner};
}

using namespace list_columns;

const ListColumn<TCapability> kColumns[] = {
    textColumn<&TCapability::Name>(CORE_TEXT("Grid titles", "Name")),
    numberColumn<&TCapability::ImpToday, readImportance>(CORE_TEXT("Grid titles", "Status As Of %s")),
    numberColumn<&TCapability::ImpTomorrow, readImportance>(CORE_TEXT("Grid titles", "Status As Of %s")),
};
const ListTable<TCapability> kTable{
    .columns = kColumns, .name = &TCapability::Name, .deleteQuestion = kDeleteGeneralQuestion, .emptyNameAdds = false};

class CapabilityGrid : public ItemListGrid<TCapability> {
public:
    explicit CapabilityGrid(std::function<int()> owner)
        : ItemListGrid(kTable, [owner](TCaseData& data) { return capabilityList(data, owner()); }), owner_(owner)
    {
    }

    CoreMessage titleMessage(const TCaseData& data, int col) const override
    {
        if (col == ColToday || col == ColTomorrow)
            return {columnAt(col)->title, formatDate(col == ColToday ? data.DateFrom : data.DateTo)};
        return ItemListGrid::titleMessage(data, col);
    }

protected:
    const char* question() const override
    {
        return owner_() < 0 ? kDeleteGeneralQuestion : kDeleteSpecialQuestion;
    }
    std::optional<RefTarget> references() const override { return referenceTarget(owner_()); }

private:
    std::function<int()> owner_;
};

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

int32_t readImportance(std::string_view typed)
{
    return readTypedScore(typed);
}

std::unique_ptr<ListGrid> capabilityGrid(std::function<int()> owner)
{
    return std::make_unique<CapabilityGrid>(std::move(owner));
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

    rows.push_back(PlotRow::titleRow(CORE_TEXT("Workshop texts", "General Capabilities")));
    for (const TCapability& capability : data.Capabilities)
        if (passes(capability))
            rows.push_back(entry("   ", capability));

    rows.push_back(PlotRow::titleRow(CORE_TEXT("Workshop texts", "Service Specific Capabilities")));
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
