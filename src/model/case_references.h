#pragma once

// Entries of a case refer to entries of other lists by 0-based position. This is the one place
// that knows which fields hold such positions and into which list they point:
//
//   KeyObjectives[i].Link                      ObjectiveTypes        (-1 = no type)
//   ChangeAreas[a].Changes[c].Risks[r].RiskType RiskTypes             (-1 = no type)
//   Customers[g].Members[m].Value              Customers
//   Products[g].Members[m].Value               Products
//   MarketGroups[g].CustomerRefs[i].Rank       Customers
//   MarketGroups[g].ServiceRefs[i].Rank        Products
//   MarketGroups[g].CapabilityRefs[i].Rank     Products              (negative = the general list)
//   MarketGroups[g].CapabilityRefs[i].Link     Capabilities          when Rank is negative
//                                              Products[Rank].Capabilities otherwise
//
// Whoever removes or reorders entries of a list calls removeReferencedItem or
// applyPermutation *after* changing the list, so every reference keeps naming the same entry.
// Stored positions are never trusted to be in range: out-of-range ones are left alone by a
// permutation and shifted like any other by a removal.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/quick_sort.h"

struct TCaseData;
struct TCapability;
struct TCustProd;
struct TRankedItem;

// A list that positions point into.
enum class RefList {
    ObjectiveTypes,
    RiskTypes,
    Customers,
    Products,
    GeneralCapabilities, // TCaseData::Capabilities
    ProductCapabilities, // Products[owner].Capabilities
};

struct RefTarget {
    RefList list;
    int owner = -1; // the product, for ProductCapabilities

    bool operator==(const RefTarget&) const = default;
};

// Where a reference is stored, for messages: the field kind and the positions leading to it.
enum class RefField {
    ObjectiveLink,       // KeyObjectives[a].Link
    RiskType,            // ChangeAreas[a].Changes[b].Risks[c].RiskType
    CustomerMember,      // Customers[a].Members[b].Value
    ProductMember,       // Products[a].Members[b].Value
    CustomerRef,         // MarketGroups[a].CustomerRefs[b].Rank
    ServiceRef,          // MarketGroups[a].ServiceRefs[b].Rank
    CapabilityOwner,     // MarketGroups[a].CapabilityRefs[b].Rank (only when 0 or more)
    CapabilityLink,      // MarketGroups[a].CapabilityRefs[b].Link
};

struct RefSite {
    RefField field;
    int a = -1;
    int b = -1;
    int c = -1;
    RefTarget target;
    // Whether -1 means "none" at this site (types), rather than being a position out of range.
    bool noneAllowed = false;

    // "MarketGroups[2].CapabilityRefs[0].Link"
    std::string path() const;
};

// Calls visit for every stored reference of the case, in file order. The value may be changed.
void forEachReference(TCaseData& data, const std::function<void(const RefSite& site, int32_t& value)>& visit);
void forEachReference(const TCaseData& data, const std::function<void(const RefSite& site, int32_t value)>& visit);

// Length of the list a target names; -1 when the target itself names no list (a product out of range).
long long targetCount(const TCaseData& data, const RefTarget& target);

// Entry `removed` of the target list has just been removed. References to it disappear: a type
// link becomes -1, a group member or market-group entry is removed; references to later entries
// move down by one. Removing a product also removes the market groups' references to its
// capabilities.
void removeReferencedItem(TCaseData& data, const RefTarget& target, int removed);

// Whether a stored reference names no entry: it lies outside its list, and is not the -1 that
// means "none" where that is allowed. A capability link whose product does not exist is judged
// with that product (the CapabilityOwner site), not on its own.
bool isDangling(const TCaseData& data, const RefSite& site, int32_t value);

// Removes every dangling reference the way removeReferencedItem removes the references to a removed
// entry: a type link becomes -1, a group member or market-group entry is removed. A position past
// the end of its list would otherwise come to name whatever entry is added next. Returns how many
// references were removed.
int removeDanglingReferences(TCaseData& data);

// The target list has just been reordered: the entry that was at position p is now at
// newPosition[p]. Every reference in range is rewritten through the map.
void applyPermutation(TCaseData& data, const RefTarget& target, const std::vector<int>& newPosition);

// Records the exchanges a sort makes, for applyPermutation afterwards: pass swap(i, j) as the sort's
// swap observer. Starts as the identity of `count` positions.
class PermutationRecorder {
public:
    explicit PermutationRecorder(int count);
    void swap(int i, int j);
    // newPosition[old position] after all recorded exchanges.
    std::vector<int> newPositions() const;

private:
    std::vector<int> oldAt_; // oldAt_[current position] = original position
};

// What a reference names, or null when it names nothing (out of range, or -1).
const std::string* objectiveTypeName(const TCaseData& data, int32_t link);
const std::string* riskTypeName(const TCaseData& data, int32_t riskType);
const TCustProd* listEntry(const TCaseData& data, RefList list, int32_t index); // Customers or Products
// The capability a market group's CapabilityRefs entry names.
const TCapability* referencedCapability(const TCaseData& data, const TRankedItem& ref);

// Sorts a list that references point into and rewrites those references, so each keeps naming the
// entry it named. The sort is the program's one quicksort (model/quick_sort.h).
template <class T, class KeyOf>
void sortReferencedList(TCaseData& data, const RefTarget& target, TDelList<T>& list, KeyOf keyOf, SortOrder order)
{
    PermutationRecorder moves(list.Count());
    quickSort(list, keyOf, order, [&moves](int i, int j) { moves.swap(i, j); });
    applyPermutation(data, target, moves.newPositions());
}
