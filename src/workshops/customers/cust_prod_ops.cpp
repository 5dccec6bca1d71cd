#include "workshops/customers/cust_prod_ops.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/core_text.h"
#include "model/list_grid.h"

namespace cust_prod {

namespace {

std::string itemText(const TCaseData&, const TCustProd& item)
{
    return isGroup(item) ? item.Name + kGroupSuffix : item.Name;
}

const ListColumn<TCustProd> kItemColumns[] = {
    {CORE_TEXT("Grid titles", "Name"), itemText, list_columns::storeText<&TCustProd::Name>,
     list_columns::sortBy<TCustProd, &TCustProd::Name, SortOrder::Ascending>},
};
const ListTable<TCustProd> kItemTable{
    .columns = kItemColumns, .name = &TCustProd::Name, .deleteQuestion = CORE_TEXT("Questions", "Delete item '%s'?"), .sortIsStep = false};

// Items are referred to by position from group member lists and market groups, and a new item
// takes over the first item's key characteristics (and a customer its plan rows).
class ItemGrid : public ItemListGrid<TCustProd> {
public:
    explicit ItemGrid(Mode mode)
        : ItemListGrid(kItemTable, [mode](TCaseData& data) { return &items(data, mode); }), mode_(mode)
    {
    }

protected:
    std::optional<RefTarget> references() const override { return itemTarget(mode_); }

    void add(CaseEdit& edit, TDelList<TCustProd>&, std::string_view name) const override
    {
        addItem(edit, mode_, name);
    }

    void removeAt(TCaseData& data, TDelList<TCustProd>& list, int position) const override
    {
        ItemListGrid::removeAt(data, list, position);
        if (list.Empty()) {
            // The bounds belong to the key characteristics of the items; with no item left they
            // would be applied to whatever key characteristics a new first item gets.
            (mode_ == Mode::Customers ? data.CustFilterLow : data.ProdFilterLow).Clear();
            (mode_ == Mode::Customers ? data.CustFilterHigh : data.ProdFilterHigh).Clear();
        }
    }

private:
    Mode mode_;
};

} // namespace

TDelList<TCustProd>& items(TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.Customers : data.Products;
}

const TDelList<TCustProd>& items(const TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.Customers : data.Products;
}

RefTarget itemTarget(Mode mode)
{
    return {mode == Mode::Customers ? RefList::Customers : RefList::Products};
}

bool isGroup(const TCustProd& item)
{
    return item.IsGroup();
}

void copyPlanRows(const TCustProd& first, TCustProd& target)
{
    target.Capabilities.Clear();
    for (const TCapability& row : first.Capabilities) {
        auto& copy = target.Capabilities.Add();
        copy.Name = row.Name;
        copy.ImpTomorrow = row.ImpTomorrow;
        copy.ImpToday = 0;
        copy.Acquisition = 0;
        copy.Placement = 0;
    }
}

void copyKeyChars(const TCustProd& first, TCustProd& target)
{
    for (const TKeyCharItem& keyChar : first.KeyChars) {
        auto& copy = target.KeyChars.Add();
        copy.Name = keyChar.Name;
        copy.Importance = keyChar.Importance;
        copy.Match = 1;
        copy.Excluded = false;
    }
}

int addItem(CaseEdit& edit, Mode mode, std::string_view name)
{
    edit.begin();
    auto& list = items(edit.data(), mode);
    auto item = mode == Mode::Customers ? std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{})
                                        : std::make_unique<TCustProd>();
    item->Name.assign(name);
    if (!list.Empty()) {
        // Every customer carries the same plan rows, so the business plan can add them up row by row.
        if (mode == Mode::Customers)
            copyPlanRows(list[0], *item);
        copyKeyChars(list[0], *item);
    }
    list.Add(std::move(item));
    return list.Count() - 1;
}

std::unique_ptr<ListGrid> itemGrid(Mode mode)
{
    return std::make_unique<ItemGrid>(mode);
}

bool storeTexts(CaseEdit& edit, Mode mode, int position, std::string_view description, std::string_view keyNeeds)
{
    auto& list = items(edit.data(), mode);
    if (!list.InRange(position))
        return false;
    TCustProd& item = list[position];
    if (!edit.beginFieldsIf(item.Description != description || item.KeyNeeds != keyNeeds))
        return false;
    edit.assign(item.Description, description);
    edit.assign(item.KeyNeeds, keyNeeds);
    return true;
}

} // namespace cust_prod
