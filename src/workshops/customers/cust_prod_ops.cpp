#include "workshops/customers/cust_prod_ops.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/questions.h"
#include "model/quick_sort.h"

namespace cust_prod {

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

std::string itemRowText(const TCaseData& data, Mode mode, int row)
{
    if (row == 0)
        return "Name";
    const auto& list = items(data, mode);
    if (!list.InRange(row - 1))
        return {};
    const TCustProd& item = list[row - 1];
    return isGroup(item) ? item.Name + kGroupSuffix : item.Name;
}

std::string itemEditText(const TCaseData& data, Mode mode, int row)
{
    const auto& list = items(data, mode);
    return list.InRange(row - 1) ? list[row - 1].Name : std::string();
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

bool renameItem(CaseEdit& edit, Mode mode, int position, std::string_view name)
{
    auto& list = items(edit.data(), mode);
    if (!list.InRange(position))
        return false;
    return edit.set(list[position].Name, name);
}

int commitItemName(CaseEdit& edit, Mode mode, int row, std::string_view name)
{
    const auto& list = items(edit.data(), mode);
    if (row == list.Count() + 1)
        return addItem(edit, mode, name) + 1;
    if (!list.InRange(row - 1))
        return -1;
    renameItem(edit, mode, row - 1, name);
    return row;
}

bool deleteItem(CaseEdit& edit, Mode mode, int position, Questions& ask)
{
    auto& list = items(edit.data(), mode);
    if (!list.InRange(position))
        return false;
    if (!confirmDelete(ask, "Delete item '%s'?", list[position].Name))
        return false;
    edit.begin();
    TCaseData& data = edit.data();
    list.Delete(position);
    removeReferencedItem(data, itemTarget(mode), position);
    if (list.Empty()) {
        // The bounds belong to the key characteristics of the items; with no item left they
        // would be applied to whatever key characteristics a new first item gets.
        (mode == Mode::Customers ? data.CustFilterLow : data.ProdFilterLow).Clear();
        (mode == Mode::Customers ? data.CustFilterHigh : data.ProdFilterHigh).Clear();
    }
    return true;
}

bool sortItemsByName(CaseEdit& edit, Mode mode)
{
    auto& list = items(edit.data(), mode);
    if (list.Count() < 2)
        return false;
    // The sort marks the case modified but takes no undo step of its own.
    edit.changeWithoutStep();
    sortReferencedList(edit.data(), itemTarget(mode), list, [](const TCustProd& item) { return item.Name; },
                       SortOrder::Ascending);
    return true;
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
