#pragma once

// The item list of the customer and the product workshops: one set of operations for both, on the
// list their mode names. Items are referred to by position from group member lists and from the
// market groups; every removal and reordering here goes through the model's reference helpers, so
// each of those positions keeps naming the item it named.

#include <memory>
#include <string>
#include <string_view>

#include "model/case_references.h"
#include "model/del_list.h"

class CaseEdit;
class ListGrid;
class Questions;
struct TCaseData;
struct TCustProd;
struct TKeyCharItem;

namespace cust_prod {

enum class Mode { Customers, Products };

TDelList<TCustProd>& items(TCaseData& data, Mode mode);
const TDelList<TCustProd>& items(const TCaseData& data, Mode mode);
RefTarget itemTarget(Mode mode);

// A group is an entry with at least one member. A group whose last member was deleted counts as
// an ordinary item, as it would after the case is saved and opened again (an empty member list is
// read back as none).
bool isGroup(const TCustProd& item);

inline constexpr const char* kGroupSuffix = " (Group)";

// The item grid: one column "Name", groups with their suffix. Any name typed into the new entry's
// row, even an empty one, adds an item (addItem). A title press sorts the items by name, ignoring
// letter case, and rewrites every reference to them; it marks the case modified without an undo
// step and needs two items. Alt+Delete asks "Delete item '%s'?" and removes the item, dropping
// every reference to it and moving references to later items down. Deleting the last item also
// drops the filter bounds, so the key characteristics of a new first item start with bounds of
// their own.
std::unique_ptr<ListGrid> itemGrid(Mode mode);

// Business-plan rows of a new customer or customer group: copies of the first customer's rows,
// with their names and row kinds and zero amounts.
void copyPlanRows(const TCustProd& first, TCustProd& target);
// Key characteristics of a new item: the first item's, with their names and importance, match 1
// and applicable, so all items of a list keep the same key characteristics.
void copyKeyChars(const TCustProd& first, TCustProd& target);

// Appends an item named `name` and returns its position. A new customer gets the business-plan
// template, or the first customer's rows when there is one.
int addItem(CaseEdit& edit, Mode mode, std::string_view name);

// Stores the two texts of item `position` as one step when either differs.
bool storeTexts(CaseEdit& edit, Mode mode, int position, std::string_view description, std::string_view keyNeeds);

} // namespace cust_prod
