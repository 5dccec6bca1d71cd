#include "model/case_references.h"

#include "model/case_data.h"

#include <algorithm>

namespace {

std::string indexed(const char* name, int i)
{
    return std::string(name) + "[" + std::to_string(i) + "]";
}

// One walk for both the reading and the rewriting visitor.
template <class Data, class Visit>
void walkReferences(Data& data, Visit&& visit)
{
    for (int i = 0; i < data.KeyObjectives.Count(); ++i)
        visit(RefSite{RefField::ObjectiveLink, i, -1, -1, {RefList::ObjectiveTypes}, true}, data.KeyObjectives[i].Link);

    for (int a = 0; a < data.ChangeAreas.Count(); ++a) {
        auto& changes = data.ChangeAreas[a].Changes;
        for (int c = 0; c < changes.Count(); ++c) {
            auto& risks = changes[c].Risks;
            for (int r = 0; r < risks.Count(); ++r)
                visit(RefSite{RefField::RiskType, a, c, r, {RefList::RiskTypes}, true}, risks[r].RiskType);
        }
    }

    const auto members = [&](auto& list, RefField field, RefList target) {
        for (int g = 0; g < list.Count(); ++g) {
            auto& entry = list[g];
            if (!entry.Members)
                continue;
            for (int m = 0; m < entry.Members->Count(); ++m)
                visit(RefSite{field, g, m, -1, {target}, false}, (*entry.Members)[m].Value);
        }
    };
    members(data.Customers, RefField::CustomerMember, RefList::Customers);
    members(data.Products, RefField::ProductMember, RefList::Products);

    for (int g = 0; g < data.MarketGroups.Count(); ++g) {
        auto& group = data.MarketGroups[g];
        for (int i = 0; i < group.CustomerRefs.Count(); ++i)
            visit(RefSite{RefField::CustomerRef, g, i, -1, {RefList::Customers}, false}, group.CustomerRefs[i].Rank);
        for (int i = 0; i < group.ServiceRefs.Count(); ++i)
            visit(RefSite{RefField::ServiceRef, g, i, -1, {RefList::Products}, false}, group.ServiceRefs[i].Rank);
        for (int i = 0; i < group.CapabilityRefs.Count(); ++i) {
            auto& ref = group.CapabilityRefs[i];
            // The owner is read before the visitor may rewrite it, so the link is reported against
            // the list it pointed into when the walk reached it.
            const RefTarget owner = ref.Rank < 0 ? RefTarget{RefList::GeneralCapabilities}
                                                 : RefTarget{RefList::ProductCapabilities, ref.Rank};
            if (ref.Rank >= 0)
                visit(RefSite{RefField::CapabilityOwner, g, i, -1, {RefList::Products}, false}, ref.Rank);
            visit(RefSite{RefField::CapabilityLink, g, i, -1, owner, false}, ref.Link);
        }
    }
}

// Removes from `list` every entry for which `drop` holds, keeping the order of the rest.
template <class T, class Drop>
void removeIf(TDelList<T>& list, Drop drop)
{
    for (int i = list.Count() - 1; i >= 0; --i)
        if (drop(list[i]))
            list.Delete(i);
}

// A position after entry `removed` left its list.
int32_t shifted(int32_t value, int removed)
{
    return value > removed ? value - 1 : value;
}

} // namespace

std::string RefSite::path() const
{
    switch (field) {
    case RefField::ObjectiveLink: return indexed("KeyObjectives", a) + ".Link";
    case RefField::RiskType:
        return indexed("ChangeAreas", a) + "." + indexed("Changes", b) + "." + indexed("Risks", c) + ".RiskType";
    case RefField::CustomerMember: return indexed("Customers", a) + "." + indexed("Members", b);
    case RefField::ProductMember: return indexed("Products", a) + "." + indexed("Members", b);
    case RefField::CustomerRef: return indexed("MarketGroups", a) + "." + indexed("CustomerRefs", b) + ".Rank";
    case RefField::ServiceRef: return indexed("MarketGroups", a) + "." + indexed("ServiceRefs", b) + ".Rank";
    case RefField::CapabilityOwner:
        return indexed("MarketGroups", a) + "." + indexed("CapabilityRefs", b) + ".Rank";
    case RefField::CapabilityLink:
        return indexed("MarketGroups", a) + "." + indexed("CapabilityRefs", b) + ".Link";
    }
    return {};
}

void forEachReference(TCaseData& data, const std::function<void(const RefSite&, int32_t&)>& visit)
{
    walkReferences(data, [&](const RefSite& site, int32_t& value) { visit(site, value); });
}

void forEachReference(const TCaseData& data, const std::function<void(const RefSite&, int32_t)>& visit)
{
    walkReferences(data, [&](const RefSite& site, int32_t value) { visit(site, value); });
}

long long targetCount(const TCaseData& data, const RefTarget& target)
{
    switch (target.list) {
    case RefList::ObjectiveTypes: return static_cast<long long>(data.ObjectiveTypes.size());
    case RefList::RiskTypes: return static_cast<long long>(data.RiskTypes.size());
    case RefList::Customers: return data.Customers.Count();
    case RefList::Products: return data.Products.Count();
    case RefList::GeneralCapabilities: return data.Capabilities.Count();
    case RefList::ProductCapabilities:
        return data.Products.InRange(target.owner) ? data.Products[target.owner].Capabilities.Count() : -1;
    }
    return -1;
}

void removeReferencedItem(TCaseData& data, const RefTarget& target, int removed)
{
    const auto typeLink = [removed](int32_t& link) {
        if (link == removed)
            link = -1;
        else
            link = shifted(link, removed);
    };
    const auto rankedBy = [removed](TDelList<TRankedItem>& refs) {
        removeIf(refs, [removed](const TRankedItem& ref) { return ref.Rank == removed; });
        for (TRankedItem& ref : refs)
            ref.Rank = shifted(ref.Rank, removed);
    };
    const auto members = [removed](TDelList<TCustProd>& list) {
        for (TCustProd& entry : list) {
            if (!entry.Members)
                continue;
            removeIf(*entry.Members, [removed](const TInteger& member) { return member.Value == removed; });
            for (TInteger& member : *entry.Members)
                member.Value = shifted(member.Value, removed);
        }
    };

    switch (target.list) {
    case RefList::ObjectiveTypes:
        for (TRankedItem& objective : data.KeyObjectives)
            typeLink(objective.Link);
        break;
    case RefList::RiskTypes:
        for (TChangeArea& area : data.ChangeAreas)
            for (TChange& change : area.Changes)
                for (TRisk& risk : change.Risks)
                    typeLink(risk.RiskType);
        break;
    case RefList::Customers:
        members(data.Customers);
        for (TMarketGroup& group : data.MarketGroups)
            rankedBy(group.CustomerRefs);
        break;
    case RefList::Products:
        members(data.Products);
        for (TMarketGroup& group : data.MarketGroups) {
            // Capabilities of the removed product went with it; general ones (negative owner) stay.
            removeIf(group.CapabilityRefs, [removed](const TRankedItem& ref) { return ref.Rank == removed; });
            for (TRankedItem& ref : group.CapabilityRefs)
                ref.Rank = shifted(ref.Rank, removed);
            rankedBy(group.ServiceRefs);
        }
        break;
    case RefList::GeneralCapabilities:
    case RefList::ProductCapabilities: {
        const bool general = target.list == RefList::GeneralCapabilities;
        const auto owned = [&](const TRankedItem& ref) { return general ? ref.Rank < 0 : ref.Rank == target.owner; };
        for (TMarketGroup& group : data.MarketGroups) {
            removeIf(group.CapabilityRefs, [&](const TRankedItem& ref) { return owned(ref) && ref.Link == removed; });
            for (TRankedItem& ref : group.CapabilityRefs)
                if (owned(ref))
                    ref.Link = shifted(ref.Link, removed);
        }
        break;
    }
    }
}

bool isDangling(const TCaseData& data, const RefSite& site, int32_t value)
{
    const long long count = targetCount(data, site.target);
    return count >= 0 && !(value >= 0 && value < count) && !(site.noneAllowed && value == -1);
}

int removeDanglingReferences(TCaseData& data)
{
    // Entries are removed after the walk, last first, so the positions the walk reported stay valid.
    std::vector<RefSite> entries;
    int removed = 0;
    forEachReference(data, [&](const RefSite& site, int32_t& value) {
        if (!isDangling(data, site, value))
            return;
        ++removed;
        if (site.noneAllowed)
            value = -1;
        else
            entries.push_back(site);
    });
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const RefSite& site = *it;
        switch (site.field) {
        case RefField::ObjectiveLink:
        case RefField::RiskType: break;
        case RefField::CustomerMember: data.Customers[site.a].Members->Delete(site.b); break;
        case RefField::ProductMember: data.Products[site.a].Members->Delete(site.b); break;
        case RefField::CustomerRef: data.MarketGroups[site.a].CustomerRefs.Delete(site.b); break;
        case RefField::ServiceRef: data.MarketGroups[site.a].ServiceRefs.Delete(site.b); break;
        // An entry's owner and link are never both dangling: a link is not judged without its product.
        case RefField::CapabilityOwner:
        case RefField::CapabilityLink: data.MarketGroups[site.a].CapabilityRefs.Delete(site.b); break;
        }
    }
    return removed;
}

void applyPermutation(TCaseData& data, const RefTarget& target, const std::vector<int>& newPosition)
{
    const auto count = static_cast<long long>(newPosition.size());
    forEachReference(data, [&](const RefSite& site, int32_t& value) {
        if (site.target == target && value >= 0 && value < count)
            value = newPosition[static_cast<std::size_t>(value)];
    });
}

PermutationRecorder::PermutationRecorder(int count) : oldAt_(static_cast<std::size_t>(std::max(count, 0)))
{
    for (std::size_t p = 0; p < oldAt_.size(); ++p)
        oldAt_[p] = static_cast<int>(p);
}

void PermutationRecorder::swap(int i, int j)
{
    std::swap(oldAt_[static_cast<std::size_t>(i)], oldAt_[static_cast<std::size_t>(j)]);
}

std::vector<int> PermutationRecorder::newPositions() const
{
    std::vector<int> result(oldAt_.size());
    for (std::size_t p = 0; p < oldAt_.size(); ++p)
        result[static_cast<std::size_t>(oldAt_[p])] = static_cast<int>(p);
    return result;
}

const std::string* objectiveTypeName(const TCaseData& data, int32_t link)
{
    return link >= 0 && static_cast<std::size_t>(link) < data.ObjectiveTypes.size()
        ? &data.ObjectiveTypes[static_cast<std::size_t>(link)]
        : nullptr;
}

const std::string* riskTypeName(const TCaseData& data, int32_t riskType)
{
    return riskType >= 0 && static_cast<std::size_t>(riskType) < data.RiskTypes.size()
        ? &data.RiskTypes[static_cast<std::size_t>(riskType)]
        : nullptr;
}

const TCustProd* listEntry(const TCaseData& data, RefList list, int32_t index)
{
    const TDelList<TCustProd>* entries = nullptr;
    if (list == RefList::Customers)
        entries = &data.Customers;
    else if (list == RefList::Products)
        entries = &data.Products;
    return entries && entries->InRange(index) ? &(*entries)[index] : nullptr;
}

const TCapability* referencedCapability(const TCaseData& data, const TRankedItem& ref)
{
    const TDelList<TCapability>* owner = &data.Capabilities;
    if (ref.Rank >= 0) {
        if (!data.Products.InRange(ref.Rank))
            return nullptr;
        owner = &data.Products[ref.Rank].Capabilities;
    }
    return owner->InRange(ref.Link) ? &(*owner)[ref.Link] : nullptr;
}
