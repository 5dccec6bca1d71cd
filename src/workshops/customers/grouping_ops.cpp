#include "workshops/customers/grouping_ops.h"

#include <algorithm>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/quick_sort.h"

namespace cust_prod {

namespace {

// Keeps a list in the order a sorted list box shows: by name ignoring letter case; items of equal
// names in list order.
void insertSorted(std::vector<GroupingEntry>& list, GroupingEntry entry)
{
    const auto at = std::upper_bound(list.begin(), list.end(), entry, [](const GroupingEntry& a, const GroupingEntry& b) {
        const int order = compareText(a.name, b.name);
        return order != 0 ? order < 0 : a.item < b.item;
    });
    list.insert(at, std::move(entry));
}

bool isMember(const TCustProd& group, int position)
{
    for (const TInteger& member : *group.Members)
        if (member.Value == position)
            return true;
    return false;
}

// Moves the chosen entries of `from` into one of two lists picked per entry, last to first.
template <class Target>
void moveEntries(std::vector<GroupingEntry>& from, bool all, Target targetFor)
{
    for (int i = static_cast<int>(from.size()) - 1; i >= 0; --i) {
        auto& entry = from[static_cast<std::size_t>(i)];
        if (!all && !entry.selected)
            continue;
        GroupingEntry moved = std::move(entry);
        from.erase(from.begin() + i);
        moved.selected = false;
        std::vector<GroupingEntry>& target = targetFor(moved);
        insertSorted(target, std::move(moved));
    }
}

// The members the contents stand for, in the contents' order; entries that do not name an
// ordinary item (any more) are left out.
void fillMembers(TDelList<TInteger>& members, const TDelList<TCustProd>& list,
                 const std::vector<GroupingEntry>& contents)
{
    members.Clear();
    for (const GroupingEntry& entry : contents)
        if (list.InRange(entry.item) && !isGroup(list[entry.item]))
            members.Add().Value = entry.item;
}

} // namespace

GroupingLists setUpGrouping(const TCaseData& data, Mode mode, int group, const ItemFilter& satisfies)
{
    GroupingLists lists;
    const auto& list = items(data, mode);
    const TCustProd* modified = list.InRange(group) && isGroup(list[group]) ? &list[group] : nullptr;
    for (int i = 0; i < list.Count(); ++i) {
        const TCustProd& item = list[i];
        if (isGroup(item))
            continue;
        const bool passes = satisfies(item);
        if (modified && isMember(*modified, i))
            // A member the filter would not propose any more is preselected, ready to go.
            insertSorted(lists.contents, {i, item.Name, !passes});
        else
            insertSorted(passes ? lists.satisfying : lists.others, {i, item.Name, passes});
    }
    return lists;
}

void moveToContents(GroupingLists& lists, bool all)
{
    const auto toContents = [&lists](const GroupingEntry&) -> std::vector<GroupingEntry>& { return lists.contents; };
    moveEntries(lists.satisfying, all, toContents);
    moveEntries(lists.others, all, toContents);
}

void moveFromContents(GroupingLists& lists, bool all, const TCaseData& data, Mode mode, const ItemFilter& satisfies)
{
    const auto& list = items(data, mode);
    moveEntries(lists.contents, all, [&](const GroupingEntry& entry) -> std::vector<GroupingEntry>& {
        const bool passes = list.InRange(entry.item) && satisfies(list[entry.item]);
        return passes ? lists.satisfying : lists.others;
    });
}

bool canCreateGroup(std::string_view name, const std::vector<GroupingEntry>& contents)
{
    return !name.empty() && !contents.empty();
}

bool canModifyGroup(const std::vector<GroupingEntry>& contents)
{
    return !contents.empty();
}

int createGroup(CaseEdit& edit, Mode mode, std::string_view name, const std::vector<GroupingEntry>& contents)
{
    if (!canCreateGroup(name, contents))
        return -1;
    auto& list = items(edit.data(), mode);
    auto group = std::make_unique<TCustProd>();
    group->Name.assign(name);
    group->Members = std::make_unique<TDelList<TInteger>>();
    fillMembers(*group->Members, list, contents);
    if (group->Members->Empty())
        return -1;
    edit.begin();
    if (!list.Empty()) {
        if (mode == Mode::Customers)
            copyPlanRows(list[0], *group);
        copyKeyChars(list[0], *group);
    }
    list.Add(std::move(group));
    return list.Count() - 1;
}

bool modifyGroup(CaseEdit& edit, Mode mode, int group, std::string_view name,
                 const std::vector<GroupingEntry>& contents)
{
    auto& list = items(edit.data(), mode);
    if (!list.InRange(group) || !isGroup(list[group]) || !canModifyGroup(contents))
        return false;
    TDelList<TInteger> members;
    fillMembers(members, list, contents);
    if (members.Empty())
        return false;
    edit.begin();
    TCustProd& target = list[group];
    target.Name.assign(name);
    target.Members->Clear();
    for (const TInteger& member : members)
        target.Members->Add().Value = member.Value;
    return true;
}

} // namespace cust_prod
