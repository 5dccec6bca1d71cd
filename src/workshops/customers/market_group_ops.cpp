#include "workshops/customers/market_group_ops.h"

#include <algorithm>
#include <limits>

#include "model/case_edit.h"
#include "model/case_references.h"

namespace market_groups {

namespace {

std::string nameOrEmpty(const TCustProd* entry)
{
    return entry ? entry->Name : std::string();
}

// Ascending, without duplicates and without indices outside [0, count).
std::vector<int> normalized(std::vector<int> indices, int count)
{
    std::erase_if(indices, [count](int i) { return i < 0 || i >= count; });
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

int capabilityChoiceCount(const TCaseData& data)
{
    int count = data.Capabilities.Count();
    for (const TCustProd& product : data.Products)
        count += product.Capabilities.Count();
    return count;
}

void normalize(const TCaseData& data, Selection& selection)
{
    selection.customers = normalized(std::move(selection.customers), data.Customers.Count());
    selection.services = normalized(std::move(selection.services), data.Products.Count());
    selection.capabilities = normalized(std::move(selection.capabilities), capabilityChoiceCount(data));
}

// The choice-list index an entry of the given list stands for, -1 when it names nothing.
int choiceOf(const TCaseData& data, Category category, const TRankedItem& ref)
{
    switch (category) {
    case Category::Customers: return data.Customers.InRange(ref.Rank) ? ref.Rank : -1;
    case Category::Services: return data.Products.InRange(ref.Rank) ? ref.Rank : -1;
    case Category::Capabilities: return capabilityChoiceOf(data, ref);
    }
    return -1;
}

void appendEntry(const TCaseData& data, TMarketGroup& group, Category category, int choice)
{
    switch (category) {
    case Category::Customers: group.CustomerRefs.Add().Rank = choice; break;
    case Category::Services: {
        auto& ref = group.ServiceRefs.Add();
        ref.Rank = choice;
        ref.Link = kIndependent;
        break;
    }
    case Category::Capabilities: {
        const auto at = capabilityAt(data, choice);
        auto& ref = group.CapabilityRefs.Add();
        ref.Rank = at->rank;
        ref.Link = at->link;
        break;
    }
    }
}

TDelList<TRankedItem>& refsOf(TMarketGroup& group, Category category)
{
    switch (category) {
    case Category::Customers: return group.CustomerRefs;
    case Category::Services: return group.ServiceRefs;
    case Category::Capabilities: break;
    }
    return group.CapabilityRefs;
}

const TDelList<TRankedItem>& refsOf(const TMarketGroup& group, Category category)
{
    return refsOf(const_cast<TMarketGroup&>(group), category);
}

const std::vector<int>& chosen(const Selection& selection, Category category)
{
    switch (category) {
    case Category::Customers: return selection.customers;
    case Category::Services: return selection.services;
    case Category::Capabilities: break;
    }
    return selection.capabilities;
}

constexpr Category kCategories[] = {Category::Customers, Category::Services, Category::Capabilities};

} // namespace

ChoiceLists choiceLists(const TCaseData& data)
{
    ChoiceLists lists;
    for (const TCustProd& customer : data.Customers)
        lists.customers.push_back(customer.Name);
    for (const TCustProd& product : data.Products)
        lists.services.push_back(product.Name);
    for (const TCapability& capability : data.Capabilities)
        lists.capabilities.push_back(capability.Name);
    for (const TCustProd& product : data.Products)
        for (const TCapability& capability : product.Capabilities)
            lists.capabilities.push_back(capability.Name);
    return lists;
}

std::optional<CapabilityPosition> capabilityAt(const TCaseData& data, int choice)
{
    if (choice < 0)
        return std::nullopt;
    if (choice < data.Capabilities.Count())
        return CapabilityPosition{-1, choice};
    int rest = choice - data.Capabilities.Count();
    for (int p = 0; p < data.Products.Count(); ++p) {
        const int count = data.Products[p].Capabilities.Count();
        if (rest < count)
            return CapabilityPosition{p, rest};
        rest -= count;
    }
    return std::nullopt;
}

int capabilityChoiceOf(const TCaseData& data, const TRankedItem& ref)
{
    if (!referencedCapability(data, ref))
        return -1;
    if (ref.Rank < 0)
        return ref.Link;
    int choice = data.Capabilities.Count();
    for (int p = 0; p < ref.Rank; ++p)
        choice += data.Products[p].Capabilities.Count();
    return choice + ref.Link;
}

void askForSpecialCapabilities(const TCaseData& data, Selection& selection, Questions& ask)
{
    if (!ask.confirm({kSpecialCapabilitiesQuestion}))
        return;
    int first = data.Capabilities.Count();
    std::vector<int> services = normalized(selection.services, data.Products.Count());
    for (int p = 0; p < data.Products.Count(); ++p) {
        const int count = data.Products[p].Capabilities.Count();
        if (std::binary_search(services.begin(), services.end(), p))
            for (int c = 0; c < count; ++c)
                selection.capabilities.push_back(first + c);
        first += count;
    }
    selection.capabilities = normalized(std::move(selection.capabilities), capabilityChoiceCount(data));
}

CreateOutcome createGroup(CaseEdit& edit, std::string_view name, Selection& selection, Questions& ask)
{
    if (name.empty())
        return CreateOutcome::NoName;
    TCaseData& data = edit.data();
    askForSpecialCapabilities(data, selection, ask);
    normalize(data, selection);
    for (const TMarketGroup& group : data.MarketGroups)
        if (group.Name == name)
            return CreateOutcome::NameExists;

    edit.begin();
    auto group = std::make_unique<TMarketGroup>();
    group->Name.assign(name);
    for (Category category : kCategories)
        for (int choice : chosen(selection, category))
            appendEntry(data, *group, category, choice);
    data.MarketGroups.Add(std::move(group));
    return CreateOutcome::Created;
}

bool modifyGroup(CaseEdit& edit, int groupIndex, std::string_view name, Selection& selection, Questions& ask)
{
    TCaseData& data = edit.data();
    if (!data.MarketGroups.InRange(groupIndex))
        return false;
    edit.begin();
    askForSpecialCapabilities(data, selection, ask);
    normalize(data, selection);

    TMarketGroup& group = data.MarketGroups[groupIndex];
    group.Name.assign(name);
    for (Category category : kCategories) {
        const std::vector<int>& wanted = chosen(selection, category);
        TDelList<TRankedItem>& refs = refsOf(group, category);
        for (int k = refs.Count() - 1; k >= 0; --k) {
            const int choice = choiceOf(data, category, refs[k]);
            if (choice < 0 || !std::binary_search(wanted.begin(), wanted.end(), choice))
                refs.Delete(k);
        }
        std::vector<int> present;
        for (const TRankedItem& ref : refs)
            present.push_back(choiceOf(data, category, ref));
        for (int choice : wanted)
            if (std::find(present.begin(), present.end(), choice) == present.end())
                appendEntry(data, group, category, choice);
    }
    return true;
}

bool deleteGroup(CaseEdit& edit, int group, Questions& ask)
{
    TCaseData& data = edit.data();
    if (!data.MarketGroups.InRange(group))
        return false;
    if (!confirmDelete(ask, kDeleteQuestion, data.MarketGroups[group].Name))
        return false;
    edit.begin();
    data.MarketGroups.Delete(group);
    return true;
}

std::vector<TreeNode> groupTree(const TCaseData& data)
{
    std::vector<TreeNode> nodes;
    for (int g = 0; g < data.MarketGroups.Count(); ++g) {
        const TMarketGroup& group = data.MarketGroups[g];
        nodes.push_back({TreeNode::Kind::Group, 0, group.Name, g, Category::Customers, -1});
        const auto heading = [&](Category category, const char* text) {
            nodes.push_back({TreeNode::Kind::Heading, 1, text, g, category, -1});
        };
        const auto entry = [&](Category category, int k, std::string text) {
            nodes.push_back({TreeNode::Kind::Entry, 2, std::move(text), g, category, k});
        };

        heading(Category::Customers, CORE_TEXT("Workshop texts", "CUSTOMERS"));
        for (int k = 0; k < group.CustomerRefs.Count(); ++k)
            entry(Category::Customers, k, nameOrEmpty(listEntry(data, RefList::Customers, group.CustomerRefs[k].Rank)));
        heading(Category::Services, CORE_TEXT("Workshop texts", "SERVICES"));
        for (int k = 0; k < group.ServiceRefs.Count(); ++k)
            entry(Category::Services, k, nameOrEmpty(listEntry(data, RefList::Products, group.ServiceRefs[k].Rank)));
        heading(Category::Capabilities, CORE_TEXT("Workshop texts", "CAPABILITIES"));
        for (bool general : {true, false})
            for (int k = 0; k < group.CapabilityRefs.Count(); ++k) {
                const TRankedItem& ref = group.CapabilityRefs[k];
                if ((ref.Rank < 0) != general)
                    continue;
                const TCapability* capability = referencedCapability(data, ref);
                entry(Category::Capabilities, k, capability ? capability->Name : std::string());
            }
    }
    return nodes;
}

TRankedItem* entryOf(TCaseData& data, const TreeNode& node)
{
    if (node.kind != TreeNode::Kind::Entry || !data.MarketGroups.InRange(node.group))
        return nullptr;
    TDelList<TRankedItem>& refs = refsOf(data.MarketGroups[node.group], node.category);
    return refs.InRange(node.entry) ? &refs[node.entry] : nullptr;
}

const TRankedItem* entryOf(const TCaseData& data, const TreeNode& node)
{
    return entryOf(const_cast<TCaseData&>(data), node);
}

NodeView viewOf(const TCaseData& data, const TreeNode& node)
{
    NodeView view;
    if (!data.MarketGroups.InRange(node.group))
        return view;
    const TMarketGroup& group = data.MarketGroups[node.group];
    view.groupName = group.Name;
    if (const TRankedItem* entry = entryOf(data, node)) {
        view.remarksEnabled = true;
        view.remark = entry->Name;
        if (node.category == Category::Services) {
            view.typeEnabled = true;
            view.serviceType = entry->Link != 0 ? kPartner : kIndependent;
        }
    }
    for (Category category : kCategories) {
        std::vector<int> choices;
        for (const TRankedItem& ref : refsOf(group, category))
            choices.push_back(choiceOf(data, category, ref));
        std::vector<int>& target = category == Category::Customers  ? view.selection.customers
                                   : category == Category::Services ? view.selection.services
                                                                    : view.selection.capabilities;
        target = normalized(std::move(choices), std::numeric_limits<int>::max());
    }
    return view;
}

bool setRemark(CaseEdit& edit, const TreeNode& node, std::string_view remark)
{
    TRankedItem* entry = entryOf(edit.data(), node);
    return entry && edit.set(entry->Name, remark);
}

bool setServiceType(CaseEdit& edit, const TreeNode& node, int type)
{
    TRankedItem* entry = node.category == Category::Services ? entryOf(edit.data(), node) : nullptr;
    if (!entry)
        return false;
    const int shown = entry->Link != 0 ? kPartner : kIndependent;
    const int wanted = type != kIndependent ? kPartner : kIndependent;
    if (shown == wanted)
        return false;
    edit.begin();
    entry->Link = wanted;
    return true;
}

} // namespace market_groups
