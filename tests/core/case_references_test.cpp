#include "model/case_references.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli/case_index_check.h"
#include "model/case_data.h"
#include "reference_check.h"

using namespace testing_support;

namespace {

TMarketGroup& groupWithCapabilities(TCaseData& data, std::initializer_list<std::pair<int, int>> ownerAndLink)
{
    auto& group = data.MarketGroups.Add();
    for (auto [owner, link] : ownerAndLink) {
        auto& ref = group.CapabilityRefs.Add();
        ref.Rank = owner;
        ref.Link = link;
    }
    return group;
}

std::vector<std::pair<int, int>> capabilityRefs(const TMarketGroup& group)
{
    std::vector<std::pair<int, int>> refs;
    for (const auto& ref : group.CapabilityRefs)
        refs.emplace_back(ref.Rank, ref.Link);
    return refs;
}

} // namespace

TEST(CaseReferences, RemovingATypeUntypesItsObjectivesAndShiftsLaterOnes)
{
    TCaseData data; // Culture, Capabilities/Skills, Image
    for (int link : {0, 1, 2, -1}) {
        auto& objective = data.KeyObjectives.Add();
        objective.Link = link;
    }
    data.ObjectiveTypes.erase(data.ObjectiveTypes.begin() + 1);
    removeReferencedItem(data, {RefList::ObjectiveTypes}, 1);
    std::vector<int> links;
    for (const auto& objective : data.KeyObjectives)
        links.push_back(objective.Link);
    EXPECT_EQ(links, (std::vector<int>{0, -1, 1, -1}));
    EXPECT_EQ(*objectiveTypeName(data, data.KeyObjectives[2].Link), "Image");
}

TEST(CaseReferences, RemovingAMemberDropsItAndMovesLaterMembersDown)
{
    TCaseData data;
    for (int i = 0; i < 6; ++i)
        data.Customers.Add();
    auto& group = data.Customers[5];
    group.Members = std::make_unique<TDelList<TInteger>>();
    for (int member : {1, 2, 4})
        group.Members->Add().Value = member;
    data.Customers.Delete(2);
    removeReferencedItem(data, {RefList::Customers}, 2);
    ASSERT_EQ(data.Customers[4].Members->Count(), 2);
    EXPECT_EQ((*data.Customers[4].Members)[0].Value, 1);
    EXPECT_EQ((*data.Customers[4].Members)[1].Value, 3);
}

TEST(CaseReferences, RemovingAProductDropsItsServiceAndCapabilityEntries)
{
    TCaseData data;
    for (int i = 0; i < 3; ++i)
        data.Products.Add().Capabilities.Add();
    data.Capabilities.Add();
    auto& group = groupWithCapabilities(data, {{1, 0}, {2, 0}, {-1, 0}});
    for (int rank : {1, 2, 0}) {
        auto& service = group.ServiceRefs.Add();
        service.Rank = rank;
    }
    data.Products.Delete(1);
    removeReferencedItem(data, {RefList::Products}, 1);
    EXPECT_EQ(capabilityRefs(group), (std::vector<std::pair<int, int>>{{1, 0}, {-1, 0}}));
    ASSERT_EQ(group.ServiceRefs.Count(), 2);
    EXPECT_EQ(group.ServiceRefs[0].Rank, 1);
    EXPECT_EQ(group.ServiceRefs[1].Rank, 0);
}

TEST(CaseReferences, RemovingAGeneralCapabilityLeavesServiceSpecificOnesAlone)
{
    TCaseData data;
    for (int i = 0; i < 3; ++i)
        data.Capabilities.Add();
    data.Products.Add();
    for (int i = 0; i < 3; ++i)
        data.Products[0].Capabilities.Add();
    auto& group = groupWithCapabilities(data, {{-1, 0}, {-1, 1}, {-1, 2}, {0, 1}, {0, 2}});
    data.Capabilities.Delete(1);
    removeReferencedItem(data, {RefList::GeneralCapabilities}, 1);
    EXPECT_EQ(capabilityRefs(group), (std::vector<std::pair<int, int>>{{-1, 0}, {-1, 1}, {0, 1}, {0, 2}}));

    data.Products[0].Capabilities.Delete(1);
    removeReferencedItem(data, {RefList::ProductCapabilities, 0}, 1);
    EXPECT_EQ(capabilityRefs(group), (std::vector<std::pair<int, int>>{{-1, 0}, {-1, 1}, {0, 1}}));
}

TEST(CaseReferences, SortingRewritesReferencesButLeavesOutOfRangeOnesAlone)
{
    TCaseData data;
    for (const char* name : {"b", "A", "c", "Z"})
        data.Customers.Add().Name = name;
    data.Customers[3].Members = std::make_unique<TDelList<TInteger>>();
    for (int member : {0, 2, 9})
        data.Customers[3].Members->Add().Value = member;
    sortReferencedList(data, {RefList::Customers}, data.Customers, [](const TCustProd& c) { return c.Name; },
                       SortOrder::Ascending);
    std::vector<std::string> names;
    for (const auto& customer : data.Customers)
        names.push_back(customer.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "c", "Z"}));
    const auto& members = *data.Customers[3].Members;
    EXPECT_EQ(members[0].Value, 1);
    EXPECT_EQ(members[1].Value, 2);
    EXPECT_EQ(members[2].Value, 9);
}

TEST(CaseReferences, IndexCheckReportsOnlyReferencesOutsideTheirLists)
{
    TCaseData data;
    data.KeyObjectives.Add().Link = -1;
    data.KeyObjectives.Add().Link = 3;
    data.Products.Add();
    groupWithCapabilities(data, {{0, 0}, {5, 0}, {-1, 0}});
    EXPECT_EQ(findIndexProblems(data), (std::vector<std::string>{
                                           "KeyObjectives[1].Link is 3, but ObjectiveTypes has 3 entries",
                                           "MarketGroups[0].CapabilityRefs[0].Link is 0, but Products[0].Capabilities is empty",
                                           "MarketGroups[0].CapabilityRefs[1].Rank is 5, but Products has 1 entry",
                                           "MarketGroups[0].CapabilityRefs[2].Link is 0, but Capabilities is empty",
                                       }));
}

// Long random sequences of removals and sorts on generated cases: after every step each
// reference still names the entry it named, and only references to removed entries are gone.
TEST(CaseReferences, RandomRemovalsAndSortsKeepEveryReferenceOnItsEntry)
{
    std::mt19937 random(20261209);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int round = 0; round < 60; ++round) {
        TCaseData data;
        fillReferenceCase(data, random);
        for (int step = 0; step < 40; ++step) {
            const ResolvedRefs before = resolveReferences(data);
            ASSERT_TRUE(std::none_of(before.begin(), before.end(),
                                     [](const ResolvedRef& ref) { return ref.target == "out of range"; }));
            std::set<std::string> gone;
            const int kind = pick(10);
            switch (kind) {
            case 0:
                if (!data.ObjectiveTypes.empty()) {
                    const int k = pick(static_cast<int>(data.ObjectiveTypes.size()));
                    gone.insert(data.ObjectiveTypes[static_cast<std::size_t>(k)]);
                    data.ObjectiveTypes.erase(data.ObjectiveTypes.begin() + k);
                    removeReferencedItem(data, {RefList::ObjectiveTypes}, k);
                }
                break;
            case 1:
                if (!data.RiskTypes.empty()) {
                    const int k = pick(static_cast<int>(data.RiskTypes.size()));
                    gone.insert(data.RiskTypes[static_cast<std::size_t>(k)]);
                    data.RiskTypes.erase(data.RiskTypes.begin() + k);
                    removeReferencedItem(data, {RefList::RiskTypes}, k);
                }
                break;
            case 2:
            case 3: {
                const bool customers = kind == 2;
                auto& list = customers ? data.Customers : data.Products;
                if (list.Empty())
                    break;
                const int k = pick(list.Count());
                gone.insert(list[k].Name);
                for (const auto& capability : list[k].Capabilities)
                    gone.insert(capability.Name);
                list.Delete(k);
                removeReferencedItem(data, {customers ? RefList::Customers : RefList::Products}, k);
                break;
            }
            case 4:
                if (!data.Capabilities.Empty()) {
                    const int k = pick(data.Capabilities.Count());
                    gone.insert(data.Capabilities[k].Name);
                    data.Capabilities.Delete(k);
                    removeReferencedItem(data, {RefList::GeneralCapabilities}, k);
                }
                break;
            case 5:
                if (!data.Products.Empty()) {
                    const int p = pick(data.Products.Count());
                    auto& capabilities = data.Products[p].Capabilities;
                    if (capabilities.Empty())
                        break;
                    const int k = pick(capabilities.Count());
                    gone.insert(capabilities[k].Name);
                    capabilities.Delete(k);
                    removeReferencedItem(data, {RefList::ProductCapabilities, p}, k);
                }
                break;
            case 6:
                sortReferencedList(data, {RefList::Customers}, data.Customers,
                                   [](const TCustProd& c) { return c.Name; }, SortOrder::Descending);
                break;
            case 7: {
                // Random keys with many ties exercise the exchanges of equal elements too.
                std::vector<int> keys(static_cast<std::size_t>(data.Products.Count()));
                for (int& key : keys)
                    key = pick(3);
                int at = 0;
                for (auto& product : data.Products)
                    product.Description = std::to_string(keys[static_cast<std::size_t>(at++)]);
                sortReferencedList(data, {RefList::Products}, data.Products,
                                   [](const TCustProd& p) { return std::stoi(p.Description); }, SortOrder::Ascending);
                break;
            }
            case 8:
                sortReferencedList(data, {RefList::GeneralCapabilities}, data.Capabilities,
                                   [](const TCapability& c) { return c.Name; }, SortOrder::Descending);
                break;
            case 9:
                if (!data.Products.Empty()) {
                    const int p = pick(data.Products.Count());
                    sortReferencedList(data, {RefList::ProductCapabilities, p}, data.Products[p].Capabilities,
                                       [](const TCapability& c) { return c.Name; }, SortOrder::Descending);
                }
                break;
            }
            ASSERT_EQ(resolveReferences(data), withoutEntries(before, gone)) << "round " << round << ", step " << step
                                                                             << ", operation " << kind;
            ASSERT_TRUE(findIndexProblems(data).empty());
        }
    }
}
