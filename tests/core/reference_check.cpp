#include "reference_check.h"

#include "model/case_references.h"

namespace testing_support {

namespace {

std::string holderOf(const TCaseData& data, const RefSite& site)
{
    switch (site.field) {
    case RefField::ObjectiveLink: return "objective " + data.KeyObjectives[site.a].Name;
    case RefField::RiskType: return "risk " + data.ChangeAreas[site.a].Changes[site.b].Risks[site.c].Name;
    case RefField::CustomerMember: return "group " + data.Customers[site.a].Name + " member";
    case RefField::ProductMember: return "group " + data.Products[site.a].Name + " member";
    case RefField::CustomerRef:
        return "market group " + data.MarketGroups[site.a].Name + " customer " +
               data.MarketGroups[site.a].CustomerRefs[site.b].Name;
    case RefField::ServiceRef:
        return "market group " + data.MarketGroups[site.a].Name + " service " +
               data.MarketGroups[site.a].ServiceRefs[site.b].Name;
    case RefField::CapabilityOwner:
        return "market group " + data.MarketGroups[site.a].Name + " capability owner " +
               data.MarketGroups[site.a].CapabilityRefs[site.b].Name;
    case RefField::CapabilityLink:
        return "market group " + data.MarketGroups[site.a].Name + " capability " +
               data.MarketGroups[site.a].CapabilityRefs[site.b].Name;
    }
    return {};
}

std::string targetOf(const TCaseData& data, const RefSite& site, int32_t value)
{
    if (site.noneAllowed && value == -1)
        return "none";
    const long long count = targetCount(data, site.target);
    if (value < 0 || value >= count)
        return "out of range";
    switch (site.target.list) {
    case RefList::ObjectiveTypes: return data.ObjectiveTypes[static_cast<std::size_t>(value)];
    case RefList::RiskTypes: return data.RiskTypes[static_cast<std::size_t>(value)];
    case RefList::Customers: return data.Customers[value].Name;
    case RefList::Products: return data.Products[value].Name;
    case RefList::GeneralCapabilities: return data.Capabilities[value].Name;
    case RefList::ProductCapabilities: return data.Products[site.target.owner].Capabilities[value].Name;
    }
    return {};
}

bool isTypeLink(const ResolvedRef& ref)
{
    return ref.holder.rfind("objective ", 0) == 0 || ref.holder.rfind("risk ", 0) == 0;
}

// The name of the entry holding a reference: the word after the holder's kind.
std::string holdingEntry(const ResolvedRef& ref)
{
    const auto after = [&](const std::string& prefix) -> std::string {
        if (ref.holder.rfind(prefix, 0) != 0)
            return {};
        const std::string rest = ref.holder.substr(prefix.size());
        return rest.substr(0, rest.find(' '));
    };
    return after("group ");
}

} // namespace

ResolvedRefs resolveReferences(const TCaseData& data)
{
    ResolvedRefs refs;
    forEachReference(data, [&](const RefSite& site, int32_t value) {
        // The owner of a capability is checked through the capability it leads to.
        if (site.field == RefField::CapabilityOwner)
            return;
        refs.insert({holderOf(data, site), targetOf(data, site, value)});
    });
    return refs;
}

ResolvedRefs withoutEntries(const ResolvedRefs& refs, const std::set<std::string>& gone)
{
    ResolvedRefs kept;
    for (const ResolvedRef& ref : refs) {
        if (gone.count(holdingEntry(ref)))
            continue;
        if (gone.count(ref.target)) {
            if (isTypeLink(ref))
                kept.insert({ref.holder, "none"});
            continue;
        }
        kept.insert(ref);
    }
    return kept;
}

void fillReferenceCase(TCaseData& data, std::mt19937& random)
{
    int serial = 0;
    const auto name = [&serial](const char* prefix) { return prefix + std::to_string(++serial); };
    const auto upTo = [&random](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };

    data.ObjectiveTypes.clear();
    for (int i = upTo(5); i >= 0; --i)
        data.ObjectiveTypes.push_back(name("T"));
    for (int i = upTo(8); i > 0; --i) {
        auto& objective = data.KeyObjectives.Add();
        objective.Name = name("O");
        objective.Link = pick(static_cast<int>(data.ObjectiveTypes.size()) + 1) - 1;
    }

    data.RiskTypes.clear();
    for (int i = upTo(4); i >= 0; --i)
        data.RiskTypes.push_back(name("K"));
    for (auto& area : data.ChangeAreas) {
        for (int c = upTo(3); c > 0; --c) {
            auto& change = area.Changes.Add();
            change.Name = name("X");
            for (int r = upTo(4); r > 0; --r) {
                auto& risk = change.Risks.Add();
                risk.Name = name("R");
                risk.RiskType = pick(static_cast<int>(data.RiskTypes.size()) + 1) - 1;
            }
        }
    }

    const auto fillList = [&](TDelList<TCustProd>& list, const char* prefix, bool withCapabilities) {
        const int count = 1 + upTo(9);
        for (int i = 0; i < count; ++i) {
            auto& entry = list.Add();
            entry.Name = name(prefix);
            if (withCapabilities)
                for (int k = upTo(3); k > 0; --k)
                    list[i].Capabilities.Add().Name = name("S");
        }
        for (int i = 0; i < count; ++i) {
            if (upTo(3) != 0)
                continue;
            list[i].Members = std::make_unique<TDelList<TInteger>>();
            for (int m = 0; m < count; ++m)
                if (m != i && upTo(2) == 0)
                    list[i].Members->Add().Value = m;
        }
    };
    fillList(data.Customers, "C", false);
    fillList(data.Products, "P", true);
    for (int k = upTo(5); k > 0; --k)
        data.Capabilities.Add().Name = name("G");

    for (int g = upTo(4); g > 0; --g) {
        auto& group = data.MarketGroups.Add();
        group.Name = name("M");
        for (int i = upTo(4); i > 0; --i) {
            auto& ref = group.CustomerRefs.Add();
            ref.Name = name("M");
            ref.Rank = pick(data.Customers.Count());
        }
        for (int i = upTo(4); i > 0; --i) {
            auto& ref = group.ServiceRefs.Add();
            ref.Name = name("M");
            ref.Rank = pick(data.Products.Count());
            ref.Link = upTo(1);
        }
        for (int i = upTo(5); i > 0; --i) {
            const int owner = pick(data.Products.Count() + 1) - 1;
            const int available = owner < 0 ? data.Capabilities.Count() : data.Products[owner].Capabilities.Count();
            if (available == 0)
                continue;
            auto& ref = group.CapabilityRefs.Add();
            ref.Name = name("M");
            ref.Rank = owner;
            ref.Link = pick(available);
        }
    }
}

} // namespace testing_support
