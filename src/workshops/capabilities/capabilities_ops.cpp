#include "workshops/capabilities/capabilities_ops.h"

#include <algorithm>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
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
    textColumn<&TCapability::Name>("Name"),
    numberColumn<&TCapability::ImpToday, readImportance>("Status As Of "),
    numberColumn<&TCapability::ImpTomorrow, readImportance>("Status As Of "),
};
const ListTable<TCapability> kTable{
    .columns = kColumns, .name = &TCapability::Name, .deleteQuestion = kDeleteGeneralQuestion, .emptyNameAdds = false};

class CapabilityGrid : public ItemListGrid<TCapability> {
public:
    explicit CapabilityGrid(std::function<int()> owner)
        : ItemListGrid(kTable, [owner](TCaseData& data) { return capabilityList(data, owner()); }), owner_(owner)
    {
    }

    std::string title(const TCaseData& data, int col) const override
    {
        if (col == ColToday || col == ColTomorrow)
            return columnAt(col)->title + formatDate(col == ColToday ? data.DateFrom : data.DateTo);
        return ItemListGrid::title(data, col);
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

bool ImportanceFilter::passes(const TCapability& capability) const
{
    return todayFrom <= capability.ImpToday && capability.ImpToday <= todayTo && tomorrowFrom <= capability.ImpTomorrow &&
           capability.ImpTomorrow <= tomorrowTo;
}

int readFilterBound(std::string_view text, int fallback)
{
    return readTypedScore(text, fallback);
}

ImportanceFilter readImportanceFilter(std::string_view todayFrom, std::string_view todayTo,
                                      std::string_view tomorrowFrom, std::string_view tomorrowTo)
{
    return {readFilterBound(todayFrom, 1), readFilterBound(todayTo, 10), readFilterBound(tomorrowFrom, 1),
            readFilterBound(tomorrowTo, 10)};
}

std::string clampedFilterText(std::string_view text)
{
    const auto value = readTypedWholeNumber(text);
    if (!value || *value < 1)
        return "1";
    if (*value > 10)
        return "10";
    return std::string(text);
}

std::vector<GraphRow> buildGraphList(const TCaseData& data, const ImportanceFilter& filter)
{
    std::vector<GraphRow> rows;
    const auto addCapability = [&rows](const TCapability& capability, const char* indent) {
        GraphRow row;
        row.caption = indent + capability.Name;
        row.today = std::to_string(capability.ImpToday);
        row.tomorrow = std::to_string(capability.ImpTomorrow);
        row.heading = false;
        row.vertical = capability.ImpToday;
        row.horizontal = capability.ImpTomorrow;
        rows.push_back(std::move(row));
    };
    const auto addHeading = [&rows](std::string caption) {
        GraphRow row;
        row.caption = std::move(caption);
        rows.push_back(std::move(row));
    };

    addHeading("General Capabilities");
    for (const TCapability& capability : data.Capabilities)
        if (filter.passes(capability))
            addCapability(capability, "   ");

    addHeading("Service Specific Capabilities");
    for (const TCustProd& product : data.Products) {
        bool headed = false;
        for (const TCapability& capability : product.Capabilities) {
            if (!filter.passes(capability))
                continue;
            if (!headed) {
                addHeading("   " + product.Name);
                headed = true;
            }
            addCapability(capability, "      ");
        }
    }
    return rows;
}

} // namespace capabilities
