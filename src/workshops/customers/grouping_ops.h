#pragma once

// The grouping dialog's model: three name-sorted lists of ordinary items (those satisfying the
// opening window's filter, the others, and the group's contents), the moves between them, and
// storing a new or changed group.
//
// Each list entry remembers the position of the item it shows, so two items of the same name are
// two different members. Groups never appear in the lists: a group cannot be a member of a group.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "workshops/customers/cust_prod_ops.h"

namespace cust_prod {

// Judges an item by the filter in force in the opening window (data page or graph page).
using ItemFilter = std::function<bool(const TCustProd& item)>;

struct GroupingEntry {
    int item = -1; // position in the mode's list
    std::string name;
    bool selected = false;
};

struct GroupingLists {
    std::vector<GroupingEntry> satisfying; // non-members passing the filter
    std::vector<GroupingEntry> others;     // non-members failing it
    std::vector<GroupingEntry> contents;   // the group's members
};

// Fills the lists for building a new group (group = -1: satisfying items preselected) or changing
// group `group` (its members in the contents list, those that fail the filter preselected).
GroupingLists setUpGrouping(const TCaseData& data, Mode mode, int group, const ItemFilter& satisfies);

// ">" and ">>": the selected (all: every) entries of the satisfying and the other list join the
// contents, unselected.
void moveToContents(GroupingLists& lists, bool all);
// "<" and "<<": the selected (all: every) contents go back to the satisfying or the other list,
// as the filter judges their items now, unselected.
void moveFromContents(GroupingLists& lists, bool all, const TCaseData& data, Mode mode, const ItemFilter& satisfies);

// A group needs a name and at least one member: the case file cannot hold an empty member list
// (it would come back as an ordinary item).
bool canCreateGroup(std::string_view name, const std::vector<GroupingEntry>& contents);
// Changing a group keeps whatever name is typed, but not an empty member list.
bool canModifyGroup(const std::vector<GroupingEntry>& contents);

// Appends a new group named `name` with the contents as members, in their (alphabetical) order.
// It gets the first item's key characteristics and, for customers, the first customer's plan rows.
// Returns its position, or -1 when it cannot be created.
int createGroup(CaseEdit& edit, Mode mode, std::string_view name, const std::vector<GroupingEntry>& contents);

// Renames group `group` and replaces its members by the contents. Nothing else of it changes.
bool modifyGroup(CaseEdit& edit, Mode mode, int group, std::string_view name,
                 const std::vector<GroupingEntry>& contents);

} // namespace cust_prod
